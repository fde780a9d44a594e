#include "SettingsCatalogue.h"

#include <algorithm>
#include <cctype>

#include "RegistryVariables.h"

namespace palettor {

namespace {

constexpr std::int32_t kFirstRunMarker = -1;
constexpr std::int32_t kHueMax = 360;
constexpr std::int32_t kPercentMax = 100;

std::array<SettingEntry, kSettingCount> BuildCatalogue() {
  std::array<SettingEntry, kSettingCount> table{};
  std::size_t at = 0;
  // The three options are written first at shutdown (Smooth colours, tail percent, White top);
  // the anchors follow in their load order.
  constexpr std::size_t kOptionsWrittenFirst = 3;
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    const std::int32_t fallback = i == kBlueTailAnchor ? kFirstRunMarker : 0;
    table[at] = {"LUThue" + AnchorSuffix(i), SettingKind::Integer, SettingRole::AnchorHue, i, fallback, 0, kHueMax,
                 kOptionsWrittenFirst + at};
    ++at;
    table[at] = {"LUTsat" + AnchorSuffix(i), SettingKind::Integer, SettingRole::AnchorSat, i, fallback, 0,
                 kPercentMax, kOptionsWrittenFirst + at};
    ++at;
  }
  table[at++] = {"LUTTailPercent", SettingKind::Integer, SettingRole::TailPercent, 0, 12, 0, kPercentMax, 1};
  table[at++] = {"LUTWhiteTop", SettingKind::Boolean, SettingRole::WhiteTop, 0, 1, 0, 1, 2};
  table[at++] = {"LUTSmoothColours", SettingKind::Boolean, SettingRole::Smooth, 0, 1, 0, 1, 0};
  return table;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const std::array<SettingEntry, kSettingCount>& SettingsCatalogue() {
  static const auto catalogue = BuildCatalogue();
  return catalogue;
}

const std::array<std::size_t, kSettingCount>& SettingsStoreOrder() {
  static const auto order = [] {
    std::array<std::size_t, kSettingCount> positions{};
    const auto& catalogue = SettingsCatalogue();
    for (std::size_t i = 0; i < kSettingCount; ++i) positions.at(catalogue[i].storeRank) = i;
    return positions;
  }();
  return order;
}

std::optional<std::size_t> FindSetting(std::string_view name) {
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (SameName(catalogue[i].name, name)) return i;
  }
  return std::nullopt;
}

std::size_t SettingIndex(SettingRole role, int anchor) {
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (catalogue[i].role == role && catalogue[i].anchor == anchor) return i;
  }
  return kSettingCount;
}

std::int16_t TailPositionOf(std::int32_t loaded) {
  const auto position = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(loaded)));
  return std::clamp<std::int16_t>(position, 0, kPercentMax);
}

const char* SourceName(SettingSource source) {
  switch (source) {
    case SettingSource::Stored:
      return "stored";
    case SettingSource::Default:
      return "default";
    case SettingSource::Factory:
      return "factory";
  }
  return "default";
}

LoadedSettings LoadSettingsAsWindow() {
  const auto& catalogue = SettingsCatalogue();
  const std::string key = SettingsKeyPath();
  LoadedSettings loaded{};
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const SettingEntry& entry = catalogue[i];
    const auto stored = LoadRegistryInteger(key, entry.name);
    std::int32_t value = stored.value_or(entry.defaultValue);
    if (entry.kind == SettingKind::Boolean) value = value != 0 ? 1 : 0;
    if (entry.role == SettingRole::TailPercent) value = TailPositionOf(value);
    loaded[i] = {value, stored ? SettingSource::Stored : SettingSource::Default};
  }
  // Only the blue tail's hue decides a first run; a stored -1 there counts too.
  if (loaded[SettingIndex(SettingRole::AnchorHue, kBlueTailAnchor)].value == kFirstRunMarker) {
    const AnchorValues& factory = FactoryPalette();
    for (std::size_t i = 0; i < kSettingCount; ++i) {
      const SettingEntry& entry = catalogue[i];
      if (entry.role != SettingRole::AnchorHue && entry.role != SettingRole::AnchorSat) continue;
      const AnchorValue& anchor = factory[AnchorSlot(entry.anchor)];
      loaded[i] = {entry.role == SettingRole::AnchorHue ? anchor.hue : anchor.saturation, SettingSource::Factory};
    }
  }
  return loaded;
}

}  // namespace palettor
