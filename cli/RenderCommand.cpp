// palettor-cli render: the table as a bitmap file, from the window's stored settings (or the
// factory palette) with any anchors and options given on the command line.
#include "RenderCommand.h"

#include <cstdio>
#include <optional>
#include <string>

#include <QString>

#include "AnchorPalette.h"
#include "ArgumentParsing.h"
#include "LutTable.h"
#include "Palette.h"
#include "SettingsCommand.h"
#include "StoredPalette.h"
#include "TableBitmapFile.h"

namespace palettor::cli {

namespace {

struct RenderRequest {
  std::string out;
  bool factory = false;
  std::optional<bool> whiteTop;
  std::optional<bool> smooth;
  std::optional<std::int32_t> tailPercent;
  // Per anchor slot; the last --anchor for a suffix wins.
  std::array<std::optional<AnchorValue>, kAnchorCount> anchors{};
};

std::optional<int> SlotOfSuffix(const std::string& suffix) {
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    if (AnchorSuffix(i) == suffix) return static_cast<int>(AnchorSlot(i));
  }
  return std::nullopt;
}

// "SUFFIX=HUE,SAT"; an empty message means success.
std::string ParseAnchor(const std::string& text, RenderRequest& request) {
  const auto eq = text.find('=');
  const auto comma = text.find(',', eq == std::string::npos ? 0 : eq);
  if (eq == std::string::npos || comma == std::string::npos) {
    return "--anchor '" + text + "': expected SUFFIX=HUE,SAT";
  }
  const std::string suffix = text.substr(0, eq);
  const auto slot = SlotOfSuffix(suffix);
  if (!slot) return "--anchor '" + text + "': unknown anchor '" + suffix + "' (M70 M60 ... M10 O0 P10 ... P40)";
  const auto hue = ParseWholeNumber(text.substr(eq + 1, comma - eq - 1), 0, 360);
  if (!hue) return "--anchor '" + text + "': the hue must be a whole number from 0 to 360";
  const auto sat = ParseWholeNumber(text.substr(comma + 1), 0, 100);
  if (!sat) return "--anchor '" + text + "': the saturation must be a whole number from 0 to 100";
  request.anchors[static_cast<std::size_t>(*slot)] = AnchorValue{*hue, *sat};
  return {};
}

// Fills `request` from the arguments; an empty message means success.
std::string ParseRender(const Arguments& args, RenderRequest& request) {
  bool haveOut = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name, value;
    const bool inlineValue = args[i].rfind("--", 0) == 0 && SplitInlineValue(args[i], name, value);
    if (!inlineValue) name = args[i];
    auto takeValue = [&](std::string& into) -> bool {
      if (inlineValue) {
        into = value;
        return true;
      }
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (name == "--factory") {
      if (inlineValue) return "'" + args[i] + "': --factory takes no value";
      request.factory = true;
    } else if (name == "--out") {
      if (!takeValue(request.out) || request.out.empty()) return "--out needs a file name, or - for standard output";
      haveOut = true;
    } else if (name == "--white-top" || name == "--smooth") {
      std::string text;
      if (!takeValue(text)) return name + " needs on or off";
      const auto flag = ParseOnOff(text);
      if (!flag) return name + " '" + text + "': expected on or off";
      (name == "--white-top" ? request.whiteTop : request.smooth) = *flag;
    } else if (name == "--tail-percent") {
      std::string text;
      if (!takeValue(text)) return "--tail-percent needs a number from 0 to 100";
      request.tailPercent = ParseWholeNumber(text, 0, 100);
      if (!request.tailPercent) return "--tail-percent '" + text + "': expected a whole number from 0 to 100";
    } else if (name == "--anchor") {
      std::string text;
      if (!takeValue(text)) return "--anchor needs SUFFIX=HUE,SAT";
      if (auto message = ParseAnchor(text, request); !message.empty()) return message;
    } else {
      return "render: unknown argument '" + args[i] + "' (see palettor-cli render --help)";
    }
  }
  if (!haveOut) return "render: --out FILE (or --out - for standard output) is required";
  return {};
}

// The starting point before the flags: what the window would load from the store. Throws
// ERegistryException when the store cannot be read.
Palette StoredSource() {
  // A render only reads the store: it never creates it, writes it or moves a damaged one.
  const WindowSettingsStore store(true);
  return LoadPalette().palette;
}

TableInputs InputsFor(const RenderRequest& request) {
  Palette source = request.factory ? DefaultPalette() : StoredSource();
  for (std::size_t slot = 0; slot < source.anchors.size(); ++slot) {
    if (request.anchors[slot]) source.anchors[slot] = *request.anchors[slot];
  }
  if (request.tailPercent) source.tailPercent = *request.tailPercent;
  if (request.whiteTop) source.whiteTop = *request.whiteTop;
  if (request.smooth) source.smoothColours = *request.smooth;
  return TableInputsOf(source);
}

constexpr const char* kRenderHelp =
    "Usage: palettor-cli render --out FILE|- [--factory] [--white-top on|off] [--smooth on|off]\n"
    "                           [--tail-percent N] [--anchor SUFFIX=HUE,SAT]...\n"
    "\n"
    "Writes the colour look-up table as a 100 x 256, 24-bit bitmap (76854 bytes) to FILE,\n"
    "or to standard output for -. The file is replaced only once the new one is complete.\n"
    "\n"
    "The anchors and options start as the window would load them from its stored settings\n"
    "(the factory palette and default options when nothing is stored; see palettor-cli\n"
    "settings); the options below override them. The store is only read, never created.\n"
    "\n"
    "  --factory            start from the factory palette and default options instead\n"
    "  --white-top on|off   fade the bright half of every column to white (default on)\n"
    "  --smooth on|off      blend between neighbouring anchors (default on)\n"
    "  --tail-percent N     share of the dark rows, 0 to 100, that take the blue tail (default 12)\n"
    "  --anchor SUFFIX=HUE,SAT\n"
    "                       set one anchor: SUFFIX is M70 (blue tail), M60 M50 M40 M30 M20 M10\n"
    "                       O0 P10 P20 P30 P40; HUE 0 to 360 degrees, SAT 0 to 100 percent.\n"
    "                       Repeatable; the last one for a suffix wins.\n"
    "\n"
    "Exit status: 0 written, 1 the file could not be written or the settings store could not be\n"
    "read, 2 invalid arguments.\n";

int RunRender(const Arguments& args) {
  if (PrintHelpIfAsked(args, kRenderHelp)) return kExitOk;
  RenderRequest request;
  if (auto message = ParseRender(args, request); !message.empty()) return UsageError(message);

  TableInputs inputs;
  try {
    inputs = InputsFor(request);
  } catch (const ERegistryException& error) {
    std::fprintf(stderr, "palettor-cli: cannot read the settings store %s: %s\n", RegistryStorePath().c_str(),
                 error.what());
    return kExitFailure;
  }
  LutPixels pixels;
  GenerateTable(inputs, pixels);
  const QByteArray bytes = EncodeTableBitmap(pixels);
  if (request.out == "-") {
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
            static_cast<std::size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
      std::fprintf(stderr, "palettor-cli: could not write the bitmap to standard output\n");
      return kExitFailure;
    }
    return kExitOk;
  }
  const QString reason = SaveBitmapBytes(bytes, QString::fromStdString(request.out));
  if (!reason.isEmpty()) {
    std::fprintf(stderr, "palettor-cli: cannot write %s: %s\n", request.out.c_str(), reason.toLocal8Bit().constData());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

const CliCommand kRenderCommand{"render", "render --out FILE|- [options]", "write the look-up table bitmap",
                                &RunRender};

}  // namespace palettor::cli
