#pragma once
// The one list of everything Palettor keeps between runs: 27 values in the settings key,
// in the order the window loads them. Names, kinds, defaults and the write order at shutdown
// all come from here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "AnchorPalette.h"

namespace palettor {

constexpr std::size_t kSettingCount = 2 * kAnchorCount + 3;

enum class SettingKind { Integer, Boolean };
enum class SettingRole { AnchorHue, AnchorSat, TailPercent, WhiteTop, Smooth };

struct SettingEntry {
  std::string name;  // registry value name
  SettingKind kind;
  SettingRole role;
  int anchor;                 // anchor index -7 ... 4 for hue and saturation, else 0
  std::int32_t defaultValue;  // Booleans: 1 or 0
  std::int32_t min, max;      // what the window's controls let the user set
  std::size_t storeRank;      // 0 is written first at shutdown
};

// In load order: hue and saturation of -7 (default -1), then of -6 ... 4 (default 0),
// "LUTTailPercent", "LUTWhiteTop", "LUTSmoothColours".
const std::array<SettingEntry, kSettingCount>& SettingsCatalogue();

// Catalogue positions in the order the window writes them at shutdown.
const std::array<std::size_t, kSettingCount>& SettingsStoreOrder();

// Position of the named setting (ignoring case, as the registry does), if it is one.
std::optional<std::size_t> FindSetting(std::string_view name);
std::size_t SettingIndex(SettingRole role, int anchor = 0);

// What the tail-percent spinner makes of a loaded number: its low 16 bits as a signed position,
// brought within the spinner's range 0 ... 100.
std::int16_t TailPositionOf(std::int32_t loaded);

enum class SettingSource { Stored, Default, Factory };
const char* SourceName(SettingSource source);  // "stored", "default", "factory"

struct LoadedSetting {
  std::int32_t value;  // as the window holds it: Booleans 0 or 1, the tail as its spinner shows it
  SettingSource source;
};
using LoadedSettings = std::array<LoadedSetting, kSettingCount>;  // catalogue order

// The 27 values exactly as the window loads them, the first-run rule included, without creating
// or writing anything.
LoadedSettings LoadSettingsAsWindow();

}  // namespace palettor
