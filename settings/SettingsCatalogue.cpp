#include "SettingsCatalogue.h"

#include <algorithm>
#include <cctype>

namespace palettor {

namespace {

using enum SettingKind;
constexpr std::int32_t kHueMax = 360;
constexpr std::int32_t kPercentMax = 100;

// Name, kind, anchor, the palette switch an option holds, default, range, and the position in
// the shutdown write order; the rows stand in the order the window loads them.
// clang-format off
constexpr std::array<SettingEntry, kSettingCount> kCatalogue = {{
    {"LUThueM70",        Hue,        -7, nullptr,                 kFirstRunMarker,       0, kHueMax,     3},
    {"LUTsatM70",        Saturation, -7, nullptr,                 kFirstRunMarker,       0, kPercentMax, 4},
    {"LUThueM60",        Hue,        -6, nullptr,                 0,                     0, kHueMax,     5},
    {"LUTsatM60",        Saturation, -6, nullptr,                 0,                     0, kPercentMax, 6},
    {"LUThueM50",        Hue,        -5, nullptr,                 0,                     0, kHueMax,     7},
    {"LUTsatM50",        Saturation, -5, nullptr,                 0,                     0, kPercentMax, 8},
    {"LUThueM40",        Hue,        -4, nullptr,                 0,                     0, kHueMax,     9},
    {"LUTsatM40",        Saturation, -4, nullptr,                 0,                     0, kPercentMax, 10},
    {"LUThueM30",        Hue,        -3, nullptr,                 0,                     0, kHueMax,     11},
    {"LUTsatM30",        Saturation, -3, nullptr,                 0,                     0, kPercentMax, 12},
    {"LUThueM20",        Hue,        -2, nullptr,                 0,                     0, kHueMax,     13},
    {"LUTsatM20",        Saturation, -2, nullptr,                 0,                     0, kPercentMax, 14},
    {"LUThueM10",        Hue,        -1, nullptr,                 0,                     0, kHueMax,     15},
    {"LUTsatM10",        Saturation, -1, nullptr,                 0,                     0, kPercentMax, 16},
    {"LUThueO0",         Hue,        0,  nullptr,                 0,                     0, kHueMax,     17},
    {"LUTsatO0",         Saturation, 0,  nullptr,                 0,                     0, kPercentMax, 18},
    {"LUThueP10",        Hue,        1,  nullptr,                 0,                     0, kHueMax,     19},
    {"LUTsatP10",        Saturation, 1,  nullptr,                 0,                     0, kPercentMax, 20},
    {"LUThueP20",        Hue,        2,  nullptr,                 0,                     0, kHueMax,     21},
    {"LUTsatP20",        Saturation, 2,  nullptr,                 0,                     0, kPercentMax, 22},
    {"LUThueP30",        Hue,        3,  nullptr,                 0,                     0, kHueMax,     23},
    {"LUTsatP30",        Saturation, 3,  nullptr,                 0,                     0, kPercentMax, 24},
    {"LUThueP40",        Hue,        4,  nullptr,                 0,                     0, kHueMax,     25},
    {"LUTsatP40",        Saturation, 4,  nullptr,                 0,                     0, kPercentMax, 26},
    {"LUTTailPercent",   Percent,    0,  nullptr,                 kDefaultTailPercent,   0, kPercentMax, 1},
    {"LUTWhiteTop",      Option,     0,  &Palette::whiteTop,      kDefaultWhiteTop,      0, 1,           2},
    {"LUTSmoothColours", Option,     0,  &Palette::smoothColours, kDefaultSmoothColours, 0, 1,           0},
}};
// clang-format on

// The write order must name every setting once.
constexpr bool StoreRanksArePermutation() {
  std::array<bool, kSettingCount> seen{};
  for (const SettingEntry& entry : kCatalogue) {
    if (entry.storeRank >= kSettingCount || seen[entry.storeRank]) return false;
    seen[entry.storeRank] = true;
  }
  return true;
}
static_assert(StoreRanksArePermutation());

// Every anchor has exactly one hue and one saturation row.
constexpr bool EveryAnchorOnce() {
  std::array<int, kAnchorCount> hues{}, saturations{};
  for (const SettingEntry& entry : kCatalogue) {
    if (entry.kind == Hue) ++hues[AnchorSlot(entry.anchor)];
    if (entry.kind == Saturation) ++saturations[AnchorSlot(entry.anchor)];
  }
  for (std::size_t slot = 0; slot < kAnchorCount; ++slot) {
    if (hues[slot] != 1 || saturations[slot] != 1) return false;
  }
  return true;
}
static_assert(EveryAnchorOnce());

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const std::array<SettingEntry, kSettingCount>& SettingsCatalogue() { return kCatalogue; }

const std::array<std::size_t, kSettingCount>& SettingsStoreOrder() {
  static const auto order = [] {
    std::array<std::size_t, kSettingCount> positions{};
    for (std::size_t i = 0; i < kSettingCount; ++i) positions[kCatalogue[i].storeRank] = i;
    return positions;
  }();
  return order;
}

std::optional<std::size_t> FindSetting(std::string_view name) {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (SameName(kCatalogue[i].name, name)) return i;
  }
  return std::nullopt;
}

std::int32_t PaletteValue(const Palette& palette, const SettingEntry& entry) {
  switch (entry.kind) {
    case Hue: return palette.anchors[AnchorSlot(entry.anchor)].hue;
    case Saturation: return palette.anchors[AnchorSlot(entry.anchor)].saturation;
    case Percent: return palette.tailPercent;
    case Option: return palette.*entry.option ? 1 : 0;
  }
  return entry.defaultValue;
}

void SetPaletteValue(Palette& palette, const SettingEntry& entry, std::int32_t value) {
  switch (entry.kind) {
    case Hue: palette.anchors[AnchorSlot(entry.anchor)].hue = value; break;
    case Saturation: palette.anchors[AnchorSlot(entry.anchor)].saturation = value; break;
    case Percent: palette.tailPercent = value; break;
    case Option: palette.*entry.option = value != 0; break;
  }
}

std::int16_t TailPositionOf(std::int32_t loaded) {
  const auto position = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(loaded)));
  return std::clamp<std::int16_t>(position, 0, kPercentMax);
}

const char* SourceName(SettingSource source) {
  switch (source) {
    case SettingSource::Stored: return "stored";
    case SettingSource::Default: return "default";
    case SettingSource::Factory: return "factory";
  }
  return "default";
}

}  // namespace palettor
