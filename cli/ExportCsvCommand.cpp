// palettor-cli export-csv: the table as numbers, one line per cell, for pipelines that take a
// colour map as CSV.
#include <string>

#include <QString>

#include "CliCommand.h"
#include "NativeFileName.h"
#include "TableCommand.h"
#include "TableCsvWriter.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

const std::string kExportCsvHelp =
    std::string(
        "Usage: palettor-cli export-csv --out FILE|- [table options]\n"
        "\n"
        "Writes the colour look-up table as CSV to FILE, or to standard output for -: the header\n"
        "line\n"
        "\n"
        "  temperature_c,brightness,red,green,blue\n"
        "\n"
        "then one line per table cell, 25,600 in all: temperature -60 with brightness 0, 1 ... 255,\n"
        "then -59 with 0 ... 255, and so on up to 39 with 255. So the cell of temperature T and\n"
        "brightness B is on line 2 + (T + 60) * 256 + B. Temperatures are whole degrees Celsius,\n"
        "brightness and the channels 0 to 255, exactly the pixels of the bitmap render writes for\n"
        "the same options. ASCII, lines end in a newline. A file is replaced only once the new one\n"
        "is complete.\n"
        "\n"
        "The palette starts as render's does: the stored settings unless told otherwise.\n"
        "\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written, 1 a file or the settings store could not be read or written,\n"
    "2 invalid arguments or an invalid palette file.\n";

void RunExportCsv(const Arguments& args) {
  const TableCommandRequest request = ParseTableCommand("export-csv", args);
  LutPixels pixels;
  DrawTable(request.table, pixels);
  TableCsvWriter writer;
  if (!writer.Write(pixels, DecodeFileName(request.out)))
    throw CannotWrite(request.out, "the table", writer.ErrorString());
}

}  // namespace

extern const CliCommand kExportCsvCommand{"export-csv", "export-csv --out FILE|- [options]",
                                          "write the look-up table as CSV, one line per cell",
                                          [] { return kExportCsvHelp.c_str(); }, &RunExportCsv};

}  // namespace palettor::cli
