#include "TableOptions.h"

#include <string>

#include "PaletteArgument.h"
#include "SettingsCatalogue.h"
#include "StoreFailure.h"
#include "StoredPalette.h"
#include "WholeNumber.h"
#include "WindowExecutable.h"

namespace palettor::cli {

namespace {

int AnchorOfSlot(std::size_t slot) { return static_cast<int>(slot) + kFirstAnchor; }

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
  const SettingEntry& hueRow = Setting(HueSetting(AnchorOfSlot(*slot)));
  const SettingEntry& satRow = Setting(SaturationSetting(AnchorOfSlot(*slot)));
  const auto hue = ParseWholeNumberIn(std::string_view(text).substr(eq + 1, comma - eq - 1), hueRow.min, hueRow.max);
  if (!hue) throw UsageError("--anchor '" + text + "': the hue must be a whole number from " + RangeText(hueRow.id));
  const auto sat = ParseWholeNumberIn(std::string_view(text).substr(comma + 1), satRow.min, satRow.max);
  if (!sat)
    throw UsageError("--anchor '" + text + "': the saturation must be a whole number from " + RangeText(satRow.id));
  options.anchors[*slot] = AnchorValue{*hue, *sat};
}

// The whole number an option such as --tail-percent sets, within its setting's range.
std::int32_t TakeWholeNumber(ArgumentCursor& args, SettingId id) {
  const std::string name = args.Name();
  const std::string text = args.TakeValue(name + " needs a number from " + RangeText(id));
  const auto value = ParseWholeNumberIn(text, Setting(id).min, Setting(id).max);
  if (!value) throw UsageError(name + " '" + text + "': expected a whole number from " + RangeText(id));
  return *value;
}

// A switch's default as the options spell it.
const char* OnOff(SettingId id) { return Setting(id).defaultValue != 0 ? "on" : "off"; }

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
    tailPercent = TakeWholeNumber(args, SettingId::TailPercent);
  } else if (name == "--night-floor") {
    nightFloor = TakeWholeNumber(args, SettingId::NightFloorPercent);
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
  if (nightFloor) start.nightFloorPercent = *nightFloor;
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
    throw CannotReadStore(error);
  }
}

const std::string& TableOptionsHelp() {
  static const std::string help = [] {
    using enum SettingId;
    return std::string(
               "  --factory            start from the factory palette and default options instead of the\n"
               "                       stored settings\n"
               "  --palette FILE       start from the palette in a palette file instead (- reads standard\n"
               "                       input); see palettor-cli palette --help\n"
               "  --preset NAME        start from a built-in or saved palette instead (palettor-cli palette\n"
               "                       list names them; any case)\n"
               "                       --factory, --palette and --preset exclude one another; the options\n"
               "                       below change whichever palette they start from.\n"
               "  --white-top on|off   fade the bright half of every column to white (default ") +
           OnOff(WhiteTop) +
           ")\n"
           "  --smooth on|off      blend between neighbouring anchors (default " +
           OnOff(SmoothColours) +
           ")\n"
           "  --tail-percent N     share of the dark rows, " +
           RangeText(TailPercent) + ", that take the blue tail (default " +
           std::to_string(Setting(TailPercent).defaultValue) +
           ")\n"
           "  --night-floor N      the least brightness, " +
           RangeText(NightFloorPercent) +
           " percent, of the columns up to +1 degree,\n"
           "                       so that cold cloud tops keep their colour at night (default " +
           std::to_string(Setting(NightFloorPercent).defaultValue) +
           ")\n"
           "  --anchor SUFFIX=HUE,SAT\n"
           "                       set one anchor: SUFFIX is M70 (blue tail), M60 M50 M40 M30 M20 M10\n"
           "                       O0 P10 P20 P30 P40; HUE " +
           RangeText(HueM70) + " degrees, SAT " + RangeText(SaturationM70) +
           " percent.\n"
           "                       Repeatable; the last one for a suffix wins.\n";
  }();
  return help;
}

}  // namespace palettor::cli
