// palettor-cli export-csv: the table as numbers, one line per cell, for pipelines that take a
// colour map as CSV.
#include <string>

#include <QString>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "LutTable.h"
#include "TableCsvWriter.h"
#include "TableOptions.h"

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
    kTableOptionsHelp +
    "\n"
    "Exit status: 0 written, 1 a file or the settings store could not be read or written,\n"
    "2 invalid arguments or an invalid palette file.\n";

struct ExportCsvRequest {
  std::string out;
  TableOptions table;
};

ExportCsvRequest ParseExportCsv(const Arguments& args) {
  ExportCsvRequest request;
  bool haveOut = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (request.table.Take(arg)) continue;
    if (arg.Name() != "--out")
      throw UsageError("export-csv: unknown argument '" + arg.Raw() + "' (see palettor-cli export-csv --help)");
    request.out = arg.TakeValue("--out needs a file name, or - for standard output");
    if (request.out.empty()) throw UsageError("--out needs a file name, or - for standard output");
    haveOut = true;
  }
  if (!haveOut) throw UsageError("export-csv: --out FILE (or --out - for standard output) is required");
  return request;
}

void RunExportCsv(const Arguments& args) {
  const ExportCsvRequest request = ParseExportCsv(args);
  LutPixels pixels;
  GenerateTable(TableInputsOf(request.table.Resolve()), pixels);
  TableCsvWriter writer;
  if (!writer.Write(pixels, QString::fromStdString(request.out))) {
    const std::string where = request.out == "-" ? "the table to standard output" : request.out;
    throw Failure("cannot write " + where + ": " + writer.ErrorString().toStdString());
  }
}

}  // namespace

extern const CliCommand kExportCsvCommand{"export-csv", "export-csv --out FILE|- [options]",
                                          "write the look-up table as CSV, one line per cell",
                                          [] { return kExportCsvHelp.c_str(); }, &RunExportCsv};

}  // namespace palettor::cli
