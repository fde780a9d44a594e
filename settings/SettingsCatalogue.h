#pragma once
// The one list of everything Palettor keeps between runs: 27 values in the settings key. Each
// row gives a value's name, kind, range, default, the anchor it belongs to and its place in
// the shutdown write order; the rows stand in the order the window loads them. Everything that
// loads, stores, lists or changes a setting reads this table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Palette.h"

namespace palettor {

constexpr std::size_t kSettingCount = 2 * kAnchorCount + 3;

// A blue-tail hue of this value means nothing was stored yet: the first-run rule.
constexpr std::int32_t kFirstRunMarker = -1;

enum class SettingKind {
  Hue,         // an anchor's hue in degrees (TRegistryInteger)
  Saturation,  // an anchor's saturation in percent (TRegistryInteger)
  Percent,     // the tail percent (TRegistryInteger), taken as the tail spinner takes it
  Option,      // a switch (TRegistryBoolean), 0 or 1
};

struct SettingEntry {
  const char* name;  // registry value name
  SettingKind kind;
  int anchor;             // Hue and Saturation: the anchor index -7 ... 4
  bool Palette::*option;  // Option: the palette's switch it holds
  std::int32_t defaultValue;
  std::int32_t min, max;  // what the window's controls let the user set
  std::size_t storeRank;  // 0 is written first at shutdown
};

// In load order: hue and saturation of -7, of -6 ... 4, then the tail percent, White top and
// Smooth colours.
const std::array<SettingEntry, kSettingCount>& SettingsCatalogue();

// Catalogue positions in the order the window writes them at shutdown.
const std::array<std::size_t, kSettingCount>& SettingsStoreOrder();

// Position of the named setting (ignoring case, as the registry does), if it is one.
std::optional<std::size_t> FindSetting(std::string_view name);

// The value a palette holds for a setting (switches as 0 or 1), and the other way round.
std::int32_t PaletteValue(const Palette& palette, const SettingEntry& entry);
void SetPaletteValue(Palette& palette, const SettingEntry& entry, std::int32_t value);

// What the tail-percent spinner makes of a loaded number: its low 16 bits as a signed position,
// brought within the spinner's range 0 ... 100.
std::int16_t TailPositionOf(std::int32_t loaded);

enum class SettingSource { Stored, Default, Factory };
const char* SourceName(SettingSource source);  // "stored", "default", "factory"

}  // namespace palettor
