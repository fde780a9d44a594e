// palettor-cli render: the table as a bitmap file, from the window's stored settings (or the
// factory palette) with any anchors and options given on the command line.
#include <string>

#include <QString>

#include "CliCommand.h"
#include "NativeFileName.h"
#include "TableBitmapWriter.h"
#include "TableCommand.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

const std::string kRenderHelp =
    std::string(
        "Usage: palettor-cli render --out FILE|- [--factory | --palette FILE | --preset NAME]\n"
        "                           [--white-top on|off] [--smooth on|off] [--tail-percent N]\n"
        "                           [--night-floor N] [--anchor SUFFIX=HUE,SAT]...\n"
        "\n"
        "Writes the colour look-up table as a 100 x 256, 24-bit bitmap (76854 bytes) to FILE,\n"
        "or to standard output for - (or /dev/stdout). A file is replaced only once the new one\n"
        "is complete; a device or FIFO is written into, never replaced. FILE is the argument after\n"
        "--out whatever it looks like: --out --help writes a file named --help.\n"
        "\n"
        "The anchors and options start as the window would load them from its stored settings\n"
        "(the factory palette and default options when nothing is stored; see palettor-cli\n"
        "settings), or from the palette --factory, --palette or --preset names; the other options\n"
        "below override them. The store is only read, never created.\n"
        "\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written, 1 a file could not be read or written or the settings store could\n"
    "not be read, 2 invalid arguments or an invalid palette file.\n";

void RunRender(const Arguments& args) {
  const TableCommandRequest request = ParseTableCommand("render", args);
  LutPixels pixels;
  DrawTable(request.table, pixels);
  TableBitmapWriter writer;
  if (!writer.Write(pixels, DecodeFileName(request.out)))
    throw CannotWrite(request.out, "the bitmap", writer.ErrorString());
}

}  // namespace

extern const CliCommand kRenderCommand{"render", "render --out FILE|- [options]", "write the look-up table bitmap",
                                       [] { return kRenderHelp.c_str(); }, &RunRender};

}  // namespace palettor::cli
