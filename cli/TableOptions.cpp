#include "TableOptions.h"

#include <string>

#include "PaletteArgument.h"
#include "StoredPalette.h"
#include "WholeNumber.h"
#include "WindowExecutable.h"

namespace palettor::cli {

namespace {

std::optional<std::size_t> SlotOfSuffix(const std::string& suffix) {
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    if (AnchorSuffix(i) == suffix) return AnchorSlot(i);
  }
  return std::nullopt;
}

// "SUFFIX=HUE,SAT".
void TakeAnchor(const std::string& text, TableOptions& options) {
  const auto eq = text.find('=');
  const auto comma = text.find(',', eq == std::string::npos ? 0 : eq);
  if (eq == std::string::npos || comma == std::string::npos) {
    throw UsageError("--anchor '" + text + "': expected SUFFIX=HUE,SAT");
  }
  const std::string suffix = text.substr(0, eq);
  const auto slot = SlotOfSuffix(suffix);
  if (!slot)
    throw UsageError("--anchor '" + text + "': unknown anchor '" + suffix + "' (M70 M60 ... M10 O0 P10 ... P40)");
  const auto hue = ParseWholeNumberIn(std::string_view(text).substr(eq + 1, comma - eq - 1), 0, 360);
  if (!hue) throw UsageError("--anchor '" + text + "': the hue must be a whole number from 0 to 360");
  const auto sat = ParseWholeNumberIn(std::string_view(text).substr(comma + 1), 0, 100);
  if (!sat) throw UsageError("--anchor '" + text + "': the saturation must be a whole number from 0 to 100");
  options.anchors[*slot] = AnchorValue{*hue, *sat};
}

}  // namespace

bool TableOptions::Take(ArgumentCursor& args) {
  const std::string& name = args.Name();
  if (name == "--factory" || name == "--palette" || name == "--preset") {
    // Each names where the palette starts; two of them would leave it to a guess which one wins.
    if (source != Source::Stored) throw UsageError("give only one of --factory, --palette and --preset");
    if (name == "--factory") {
      args.ExpectNoValue();
      source = Source::Factory;
    } else if (name == "--palette") {
      sourceName = args.TakeValue("--palette needs a palette file, or - for standard input");
      if (sourceName.empty()) throw UsageError("--palette needs a palette file, or - for standard input");
      source = Source::PaletteFile;
    } else {
      sourceName = args.TakeValue("--preset needs the name of a palette (see palettor-cli palette list)");
      source = Source::Preset;
    }
  } else if (name == "--white-top" || name == "--smooth") {
    const std::string text = args.TakeValue(name + " needs on or off");
    const auto flag = ParseOnOff(text);
    if (!flag) throw UsageError(name + " '" + text + "': expected on or off");
    (name == "--white-top" ? whiteTop : smooth) = *flag;
  } else if (name == "--tail-percent") {
    const std::string text = args.TakeValue("--tail-percent needs a number from 0 to 100");
    tailPercent = ParseWholeNumberIn(text, 0, 100);
    if (!tailPercent) throw UsageError("--tail-percent '" + text + "': expected a whole number from 0 to 100");
  } else if (name == "--anchor") {
    TakeAnchor(args.TakeValue("--anchor needs SUFFIX=HUE,SAT"), *this);
  } else {
    return false;
  }
  return true;
}

Palette TableOptions::AppliedTo(Palette start) const {
  for (std::size_t slot = 0; slot < start.anchors.size(); ++slot) {
    if (anchors[slot]) start.anchors[slot] = *anchors[slot];
  }
  if (tailPercent) start.tailPercent = *tailPercent;
  if (whiteTop) start.whiteTop = *whiteTop;
  if (smooth) start.smoothColours = *smooth;
  return start;
}

Palette TableOptions::Resolve() const {
  switch (source) {
    case Source::Factory: return AppliedTo(DefaultPalette());
    case Source::PaletteFile: return AppliedTo(ReadPaletteArgument(sourceName).palette);
    case Source::Preset: return AppliedTo(PaletteNamed(sourceName).palette);
    case Source::Stored: break;
  }
  try {
    // Drawing a table only reads the store: it never creates it, writes it or moves a damaged one.
    const WindowSettingsStore store(true);
    return AppliedTo(LoadPalette(store.Registry()).palette);
  } catch (const ERegistryException& error) {
    throw Failure("cannot read the settings store " + RegistryStorePath() + ": " + error.what());
  }
}

const char* const kTableOptionsHelp =
    "  --factory            start from the factory palette and default options instead of the\n"
    "                       stored settings\n"
    "  --palette FILE       start from the palette in a palette file instead (- reads standard\n"
    "                       input); see palettor-cli palette --help\n"
    "  --preset NAME        start from a built-in or saved palette instead (palettor-cli palette\n"
    "                       list names them; any case)\n"
    "                       --factory, --palette and --preset exclude one another; the options\n"
    "                       below change whichever palette they start from.\n"
    "  --white-top on|off   fade the bright half of every column to white (default on)\n"
    "  --smooth on|off      blend between neighbouring anchors (default on)\n"
    "  --tail-percent N     share of the dark rows, 0 to 100, that take the blue tail (default 12)\n"
    "  --anchor SUFFIX=HUE,SAT\n"
    "                       set one anchor: SUFFIX is M70 (blue tail), M60 M50 M40 M30 M20 M10\n"
    "                       O0 P10 P20 P30 P40; HUE 0 to 360 degrees, SAT 0 to 100 percent.\n"
    "                       Repeatable; the last one for a suffix wins.\n";

}  // namespace palettor::cli
