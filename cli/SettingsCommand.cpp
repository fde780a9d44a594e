// palettor-cli settings: the window's 27 stored values, listed as the window loads them or
// changed one at a time as a window session would change them.
#include <cstdio>
#include <string>

#include "ApplicationExe.h"
#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "Output.h"
#include "FileNames.h"
#include "PalettorSettings.h"
#include "Registry.h"
#include "RegistryVariables.h"
#include "SettingsCatalogue.h"
#include "SqliteRegistryStore.h"
#include "WholeNumber.h"
#include "WindowExecutable.h"

namespace palettor::cli {

namespace {

constexpr const char* kSettingsHelp =
    "Usage: palettor-cli settings\n"
    "       palettor-cli settings set NAME VALUE\n"
    "\n"
    "Without arguments, lists the window's 27 stored values as the window would load them,\n"
    "one per line as NAME VALUE SOURCE, in the order it loads them. SOURCE is 'stored' (read\n"
    "from the store), 'default' (nothing usable stored) or 'factory' (the first-run rule gave\n"
    "the factory palette). The tail percent is shown as its spinner takes it (0 to 100).\n"
    "Listing never creates or changes the store.\n"
    "\n"
    "'set' does what a window session that changes only NAME would do: it loads all 27 values,\n"
    "changes NAME to VALUE and stores all 27 in the order the window writes them at exit.\n"
    "  LUThue<anchor>    0 to 360 (anchors M70 M60 M50 M40 M30 M20 M10 O0 P10 P20 P30 P40)\n"
    "  LUTsat<anchor>    0 to 100\n"
    "  LUTTailPercent    0 to 100\n"
    "  LUTWhiteTop       0 or 1\n"
    "  LUTSmoothColours  0 or 1\n"
    "\n"
    "The settings are those of the window's executable, palettor, kept in\n"
    "$XDG_CONFIG_HOME/Quillon/registry.sqlite3 (~/.config when XDG_CONFIG_HOME is unset).\n"
    "\n"
    "Exit status: 0 done, 1 the store could not be written, 2 invalid arguments.\n";

void List() {
  SetRegistryReadOnly(true);
  const LoadedSettings loaded = LoadSettingsAsWindow();
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    std::printf("%s %d %s\n", catalogue[i].name.c_str(), loaded[i].value, SourceName(loaded[i].source));
  }
  FinishOutput();
}

void Set(const std::string& name, const std::string& text) {
  const auto index = FindSetting(name);
  if (!index) throw UsageError("settings set: unknown setting '" + name + "' (see palettor-cli settings --help)");
  const SettingEntry& entry = SettingsCatalogue()[*index];
  const auto value = ParseWholeNumberIn(text, entry.min, entry.max);
  if (!value) {
    throw UsageError("settings set: " + entry.name + " '" + text + "': expected a whole number from " +
                      std::to_string(entry.min) + " to " + std::to_string(entry.max));
  }

  // Another session running at the same time must not write back its stale copy of the value
  // changed here, nor this one of another's: sessions take turns.
  const RegistrySessionLock session;
  if (!session.Held()) {
    throw Failure("cannot write the settings store " + RegistryStorePath() + ": " + session.Error());
  }
  // The settings themselves never report a failed write, so find out first whether the store
  // can be written at all and say why not.
  {
    TRegistry registry;
    if (!registry.OpenKey(SettingsKeyPath(), true)) {
      throw Failure("cannot write the settings store " + RegistryStorePath() + ": " + registry.LastError());
    }
  }

  PalettorSettings settings;
  settings.CreateAll();
  // The options live in the window's controls while it runs; the anchors in their settings.
  bool smooth = settings.SmoothSetting->Value;
  std::int16_t tailPosition = TailPositionOf(settings.TailPercentSetting->Value);
  bool whiteTop = settings.WhiteTopSetting->Value;
  switch (entry.role) {
    case SettingRole::Smooth:
      smooth = *value != 0;
      break;
    case SettingRole::TailPercent:
      tailPosition = static_cast<std::int16_t>(*value);
      break;
    case SettingRole::WhiteTop:
      whiteTop = *value != 0;
      break;
    case SettingRole::AnchorHue:
    case SettingRole::AnchorSat:
      settings.SetValue(*index, *value);
      break;
  }
  settings.StoreAndFree(smooth, tailPosition, whiteTop);

  if (LoadRegistryInteger(SettingsKeyPath(), entry.name) != value) {
    throw Failure(entry.name + " could not be written to the settings store " + RegistryStorePath());
  }
}

void RunSettings(const Arguments& args) {
  ActAsWindowExecutable();
  if (args.empty()) return List();
  if (args[0] == "set") {
    if (args.size() != 3) throw UsageError("settings set: expected NAME VALUE (see palettor-cli settings --help)");
    return Set(args[1], args[2]);
  }
  throw UsageError("settings: unknown argument '" + args[0] + "' (see palettor-cli settings --help)");
}

}  // namespace

extern const CliCommand kSettingsCommand{"settings", "settings [set NAME VALUE]", "list or change the stored settings",
                                  kSettingsHelp, &RunSettings};

}  // namespace palettor::cli
