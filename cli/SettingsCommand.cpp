// palettor-cli settings: the window's 27 stored values and the night floor, listed as the window
// loads them or changed one at a time as a window session would change them.
#include <algorithm>
#include <cstdio>
#include <string>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "FileNames.h"
#include "Output.h"
#include "RegistryTransaction.h"
#include "SettingsCatalogue.h"
#include "StoreFailure.h"
#include "StoredPalette.h"
#include "WholeNumber.h"
#include "WindowExecutable.h"

namespace palettor::cli {

namespace {

constexpr const char* kSettingsHelpStart =
    "Usage: palettor-cli settings\n"
    "       palettor-cli settings set NAME VALUE\n"
    "\n"
    "Without arguments, lists the window's 27 stored values as the window would load them,\n"
    "one per line as NAME VALUE SOURCE, in the order it loads them, and then the night floor,\n"
    "kept in the Table subkey. SOURCE is 'stored' (read from the store), 'default' (nothing\n"
    "usable stored) or 'factory' (the first-run rule gave the factory palette). The tail\n"
    "percent is shown as its spinner takes it (";

constexpr const char* kSettingsHelpSet =
    ").\n"
    "Listing never creates or changes the store.\n"
    "\n"
    "'set' does what a window session that changes only NAME would do: it loads all 27 values\n"
    "and the night floor, changes NAME to VALUE and stores all 27 in the order the window\n"
    "writes them at exit and then the night floor, all in one transaction.\n";

constexpr const char* kSettingsHelpEnd =
    "\n"
    "A window that is open meanwhile stores what it shows when it closes, and so undoes the\n"
    "change: close the window first.\n"
    "\n"
    "The settings are those of the window's executable, palettor, kept in\n"
    "$XDG_CONFIG_HOME/Quillon/registry.sqlite3 (~/.config when XDG_CONFIG_HOME is unset).\n"
    "\n"
    "Exit status: 0 done, 1 the store could not be read or written, 2 invalid arguments.\n";

// The names and ranges 'set' takes, from the catalogue: the anchors' values once per kind.
std::string SettingsHelp() {
  std::string help = kSettingsHelpStart + RangeText(SettingId::TailPercent) + kSettingsHelpSet;
  bool hueListed = false, saturationListed = false;
  const auto list = [&](const SettingEntry& entry) {
    std::string name = entry.name;
    std::string note;
    const SettingKind kind = entry.Kind();
    if (kind == SettingKind::Hue || kind == SettingKind::Saturation) {
      bool& listed = kind == SettingKind::Hue ? hueListed : saturationListed;
      if (listed) return;
      listed = true;
      name.resize(name.size() - AnchorSuffix(entry.Anchor()).size());
      name += "<anchor>";
      if (kind == SettingKind::Hue) {
        note = " (anchors";
        for (int i = kFirstAnchor; i <= kLastAnchor; ++i) note += " " + AnchorSuffix(i);
        note += ")";
      }
    }
    const std::string range = RangeText(entry.id);
    name.resize(std::max<std::size_t>(name.size() + 1, 18), ' ');
    help += "  " + name + range + note + "\n";
  };
  for (const SettingEntry& entry : SettingsCatalogue()) list(entry);
  for (const SettingEntry& entry : TableCatalogue()) list(entry);
  return help + kSettingsHelpEnd;
}

void List() {
  const WindowSettingsStore store(true);
  LoadedPalette loaded;
  try {
    loaded = LoadPalette(store.Registry());
  } catch (const ERegistryException& error) {
    throw CannotReadStore(error);
  }
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    std::printf("%s %d %s\n", catalogue[i].name, PaletteValue(loaded.palette, catalogue[i].id),
                SourceName(loaded.sources[i]));
  }
  const auto& tableRows = TableCatalogue();
  for (std::size_t i = 0; i < kTableValueCount; ++i) {
    std::printf("%s %d %s\n", tableRows[i].name, PaletteValue(loaded.palette, tableRows[i].id),
                SourceName(loaded.tableSources[i]));
  }
  FinishOutput();
}

void Set(const std::string& name, const std::string& text) {
  const auto id = FindSetting(name);
  if (!id) throw UsageError("settings set: unknown setting '" + name + "' (see palettor-cli settings --help)");
  const SettingEntry& entry = Setting(*id);
  const auto value = ParseWholeNumberIn(text, entry.min, entry.max);
  if (!value) {
    throw UsageError("settings set: " + std::string(entry.name) + " '" + text + "': expected a whole number from " +
                     std::to_string(entry.min) + " to " + std::to_string(entry.max));
  }

  WindowSettingsStore store(false);
  try {
    // Loading, changing and storing are one transaction: concurrent sessions take turns, and
    // none writes back its old copy of a value another has just changed.
    RegistryTransaction session(store.Store(), RegistryTransactionMode::Write);
    Palette palette = LoadPalette(store.Registry()).palette;
    SetPaletteValue(palette, entry.id, *value);
    StorePalette(store.Registry(), palette);
    session.Commit();
  } catch (const ERegistryException& error) {
    throw CannotWriteStore(error);
  }
}

const char* SettingsHelpText() {
  static const std::string text = SettingsHelp();
  return text.c_str();
}

void RunSettings(const Arguments& arguments) {
  // A VALUE may start with '-': no option but --help can stand here.
  const Arguments args = Operands(arguments);
  if (args.empty()) return List();
  if (args[0] == "set") {
    if (args.size() != 3) throw UsageError("settings set: expected NAME VALUE (see palettor-cli settings --help)");
    return Set(args[1], args[2]);
  }
  throw UsageError("settings: unknown argument '" + args[0] + "' (see palettor-cli settings --help)");
}

}  // namespace

extern const CliCommand kSettingsCommand{"settings", "settings [set NAME VALUE]", "list or change the stored settings",
                                         &SettingsHelpText, &RunSettings};

}  // namespace palettor::cli
