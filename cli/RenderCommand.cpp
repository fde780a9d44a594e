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
#include "SettingsCatalogue.h"
#include "SqliteRegistryStore.h"
#include "TableBitmapWriter.h"
#include "TableOptions.h"
#include "WindowExecutable.h"

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
    if (request.table.Take(arg)) continue;
    if (arg.Name() != "--out") throw UsageError("render: unknown argument '" + arg.Raw() + "' (see palettor-cli render --help)");
    request.out = arg.TakeValue("--out needs a file name, or - for standard output");
    if (request.out.empty()) throw UsageError("--out needs a file name, or - for standard output");
    haveOut = true;
  }
  if (!haveOut) throw UsageError("render: --out FILE (or --out - for standard output) is required");
  return request;
}

// The starting point before the flags: the factory palette and default options, or what the
// window would load from the store.
struct RenderSource {
  AnchorValues values = FactoryPalette();
  std::int32_t tailPercent = 12;
  bool whiteTop = true;
  bool smooth = true;
};

RenderSource StoredSource() {
  // A render only reads the store: it never creates it, writes it or moves a damaged one.
  SetRegistryReadOnly(true);
  ActAsWindowExecutable();
  const LoadedSettings loaded = LoadSettingsAsWindow();
  RenderSource source;
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const SettingEntry& entry = catalogue[i];
    const std::int32_t value = loaded[i].value;
    switch (entry.role) {
      case SettingRole::AnchorHue:
        source.values[AnchorSlot(entry.anchor)].hue = value;
        break;
      case SettingRole::AnchorSat:
        source.values[AnchorSlot(entry.anchor)].saturation = value;
        break;
      case SettingRole::TailPercent:
        source.tailPercent = value;
        break;
      case SettingRole::WhiteTop:
        source.whiteTop = value != 0;
        break;
      case SettingRole::Smooth:
        source.smooth = value != 0;
        break;
    }
  }
  return source;
}

TableInputs InputsFor(const RenderRequest& request) {
  const RenderSource source = request.table.factory ? RenderSource{} : StoredSource();
  Palette start;
  start.anchors = source.values;
  start.tailPercent = source.tailPercent;
  start.whiteTop = source.whiteTop;
  start.smoothColours = source.smooth;
  return TableInputsOf(request.table.AppliedTo(start));
}

const std::string kRenderHelp = std::string(
    "Usage: palettor-cli render --out FILE|- [--factory] [--white-top on|off] [--smooth on|off]\n"
    "                           [--tail-percent N] [--anchor SUFFIX=HUE,SAT]...\n"
    "\n"
    "Writes the colour look-up table as a 100 x 256, 24-bit bitmap (76854 bytes) to FILE,\n"
    "or to standard output for -. A file is replaced only once the new one is complete; a\n"
    "device or FIFO is written into, never replaced.\n"
    "\n"
    "The anchors and options start as the window would load them from its stored settings\n"
    "(the factory palette and default options when nothing is stored; see palettor-cli\n"
    "settings); the options below override them. The store is only read, never created.\n"
    "\n") + kTableOptionsHelp +
    "\n"
    "Exit status: 0 written, 1 the file could not be written, 2 invalid arguments.\n";

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
                                kRenderHelp.c_str(), &RunRender};

}  // namespace palettor::cli
