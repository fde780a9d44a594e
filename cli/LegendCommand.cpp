// palettor-cli legend: the table as a labelled colour bar, to print beside a coloured image.
#include <optional>
#include <string>

#include <QString>

#include "CliCommand.h"
#include "NativeFileName.h"
#include "TableCommand.h"
#include "TableLegendWriter.h"
#include "WholeNumber.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

const std::string kLegendHelp =
    std::string(
        "Usage: palettor-cli legend --out FILE.png|- [--width W] [--height H] [table options]\n"
        "\n"
        "Writes the colour look-up table as a legend, a PNG image to place beside a satellite image\n"
        "coloured with it: the table as a colour bar, temperature across it with the window's scale\n"
        "(-60, -50 ... +40, and \"°C\") and brightness up its side (0, 64, 128, 192, 255), black on\n"
        "white. Every table cell is a block of whole pixels of exactly its colour, never blurred.\n"
        "The text comes from a font built into the program: the same options give the same file on\n"
        "every machine. - writes the PNG to standard output. A file is replaced only once the new one\n"
        "is complete.\n"
        "\n"
        "  --width W    the image's width in pixels (at most 4096); the cells take the largest\n"
        "               whole width that fits and the rest is margin. Default: 3 pixels per\n"
        "               cell, as the window shows the table (372 pixels in all)\n"
        "  --height H   the image's height likewise; default 1 pixel per cell (286 in all)\n"
        "               The labels grow with the cells.\n"
        "\n"
        "The palette starts as render's does: the stored settings unless told otherwise.\n"
        "\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written, 1 a file or the settings store could not be read or written,\n"
    "2 invalid arguments (such as a size too small for the bar and its labels) or an invalid\n"
    "palette file.\n";

int TakeSide(ArgumentCursor& arg) {
  const std::string option = arg.Name();
  const std::string text = arg.TakeValue(option + " needs a number of pixels");
  const auto value = ParseWholeNumberIn(text, 1, kMaxLegendSide);
  if (!value)
    throw UsageError(option + " '" + text + "': expected a whole number of pixels from 1 to " +
                     std::to_string(kMaxLegendSide));
  return *value;
}

void RunLegend(const Arguments& args) {
  std::optional<int> width, height;
  const TableCommandRequest request = ParseTableCommand("legend", args, [&](ArgumentCursor& arg) {
    if (arg.Name() == "--width") {
      width = TakeSide(arg);
    } else if (arg.Name() == "--height") {
      height = TakeSide(arg);
    } else {
      return false;
    }
    return true;
  });
  const QString out = DecodeFileName(request.out);
  TableLegendWriter writer;
  if (!writer.AcceptsTarget(out))
    throw UsageError("--out '" + request.out + "': " + writer.ErrorString().toStdString());
  if (!writer.SetSize(width, height)) throw UsageError("legend: " + writer.ErrorString().toStdString());
  LutPixels pixels;
  DrawTable(request.table, pixels);
  if (!writer.Write(pixels, out)) throw CannotWrite(request.out, "the legend", writer.ErrorString());
}

}  // namespace

extern const CliCommand kLegendCommand{"legend", "legend --out FILE.png|- [options]",
                                       "write the table as a labelled colour bar (PNG)",
                                       [] { return kLegendHelp.c_str(); }, &RunLegend};

}  // namespace palettor::cli
