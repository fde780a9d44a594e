// palettor-cli render: the table as a bitmap file, from the window's stored settings (or the
// factory palette) with any anchors and options given on the command line.
#include <cstdio>
#include <optional>
#include <string>

#include <QString>

#include "AnchorPalette.h"
#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "LutTable.h"
#include "TableBitmapWriter.h"
#include "TableOptions.h"

namespace palettor::cli {

namespace {

struct RenderRequest {
  std::string out;
  TableOptions table;
};

RenderRequest ParseRender(const Arguments& args) {
  RenderRequest request;
  bool haveOut = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (arg.IsOption() && request.table.Take(arg)) continue;
    if (!arg.IsOption() || arg.Name() != "--out")
      throw UsageError("render: unknown argument '" + arg.Raw() + "' (see palettor-cli render --help)");
    request.out = arg.TakeValue("--out needs a file name, or - for standard output");
    if (request.out.empty()) throw UsageError("--out needs a file name, or - for standard output");
    haveOut = true;
  }
  if (!haveOut) throw UsageError("render: --out FILE (or --out - for standard output) is required");
  return request;
}

TableInputs InputsFor(const RenderRequest& request) { return TableInputsOf(request.table.Resolve()); }

const std::string kRenderHelp =
    std::string(
        "Usage: palettor-cli render --out FILE|- [--factory] [--white-top on|off] [--smooth on|off]\n"
        "                           [--tail-percent N] [--anchor SUFFIX=HUE,SAT]...\n"
        "\n"
        "Writes the colour look-up table as a 100 x 256, 24-bit bitmap (76854 bytes) to FILE,\n"
        "or to standard output for - (or /dev/stdout). A file is replaced only once the new one\n"
        "is complete; a device or FIFO is written into, never replaced. FILE is the argument after\n"
        "--out whatever it looks like: --out --help writes a file named --help.\n"
        "\n"
        "The anchors and options start as the window would load them from its stored settings\n"
        "(the factory palette and default options when nothing is stored; see palettor-cli\n"
        "settings); the options below override them. The store is only read, never created.\n"
        "\n") +
    kTableOptionsHelp +
    "\n"
    "Exit status: 0 written, 1 the file could not be written or the settings store could not be\n"
    "read, 2 invalid arguments.\n";

void RunRender(const Arguments& args) {
  const RenderRequest request = ParseRender(args);
  LutPixels pixels;
  GenerateTable(InputsFor(request), pixels);
  TableBitmapWriter writer;
  if (!writer.Write(pixels, QString::fromStdString(request.out))) {
    const std::string where = request.out == "-" ? "the bitmap to standard output" : request.out;
    throw Failure("cannot write " + where + ": " + writer.ErrorString().toStdString());
  }
}

}  // namespace

extern const CliCommand kRenderCommand{"render", "render --out FILE|- [options]", "write the look-up table bitmap",
                                       [] { return kRenderHelp.c_str(); }, &RunRender};

}  // namespace palettor::cli
