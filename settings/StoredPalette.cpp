#include "StoredPalette.h"

#include <algorithm>

#include "PalettorSettings.h"
#include "Registry.h"
#include "RegistryTransaction.h"
#include "RegistryVariables.h"

namespace palettor {

std::string TableSettingsKeyPath(const CurrentUserRegistry& registry) {
  return SettingsKeyPath(registry) + "\\" + kTableSubkey;
}

Palette DefaultPalette() {
  Palette palette;
  for (const SettingEntry& entry : SettingsCatalogue()) SetPaletteValue(palette, entry.id, entry.defaultValue);
  for (const SettingEntry& entry : TableCatalogue()) SetPaletteValue(palette, entry.id, entry.defaultValue);
  ApplyFirstRunRule(palette.anchors);
  return palette;
}

bool ApplyFirstRunRule(AnchorValues& anchors) {
  if (anchors[AnchorSlot(kBlueTailAnchor)].hue != kFirstRunMarker) return false;
  anchors = FactoryPalette();
  return true;
}

LoadedPalette LoadPalette(const CurrentUserRegistry& registry) {
  LoadedPalette loaded;
  const std::string key = SettingsKeyPath(registry);
  const auto& catalogue = SettingsCatalogue();
  RegistryTransaction snapshot(registry.Store(), RegistryTransactionMode::Read);
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const SettingEntry& entry = catalogue[i];
    const auto stored = LoadRegistryInteger(registry.Store(), key, entry.name);
    std::int32_t value = stored.value_or(entry.defaultValue);
    if (entry.Kind() == SettingKind::Percent) value = TailPositionOf(value);
    SetPaletteValue(loaded.palette, entry.id, value);
    loaded.sources[i] = stored ? SettingSource::Stored : SettingSource::Default;
    if (stored && *stored >= entry.min && *stored <= entry.max) loaded.stored[i] = stored;
  }
  const std::string tableKey = TableSettingsKeyPath(registry);
  const auto& tableRows = TableCatalogue();
  for (std::size_t i = 0; i < kTableValueCount; ++i) {
    const SettingEntry& row = tableRows[i];
    const auto stored = LoadRegistryInteger(registry.Store(), tableKey, row.name);
    SetPaletteValue(loaded.palette, row.id, std::clamp(stored.value_or(row.defaultValue), row.min, row.max));
    loaded.tableSources[i] = stored ? SettingSource::Stored : SettingSource::Default;
    if (stored && *stored >= row.min && *stored <= row.max) loaded.tableStored[i] = stored;
  }
  snapshot.Commit();
  if (ApplyFirstRunRule(loaded.palette.anchors)) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
      const SettingKind kind = catalogue[i].Kind();
      if (kind == SettingKind::Hue || kind == SettingKind::Saturation) loaded.sources[i] = SettingSource::Factory;
    }
  }
  return loaded;
}

void StorePalette(const CurrentUserRegistry& registry, const Palette& palette) {
  RegistryTransaction batch(registry.Store(), RegistryTransactionMode::Write);
  PalettorSettings settings(registry);
  settings.CreateFrom(palette);
  settings.StoreAndFree(palette.smoothColours, TailPositionOf(palette.tailPercent), palette.whiteTop);
  TRegistry subkey(registry.Store());
  const std::string tableKey = TableSettingsKeyPath(registry);
  if (!subkey.OpenKey(tableKey, true)) throw ERegistryException("cannot create the key " + tableKey);
  for (const SettingEntry& row : TableCatalogue()) subkey.WriteInteger(row.name, PaletteValue(palette, row.id));
  batch.Commit();
}

namespace {

// The number StorePalette writes for one of the 27.
std::int32_t StoredNumberOf(const Palette& palette, SettingId id) {
  if (KindOf(id) == SettingKind::Percent) return StoredTailPercentOf(TailPositionOf(palette.tailPercent));
  return PaletteValue(palette, id);
}

}  // namespace

std::array<bool, kSettingCount> SettingsToStore(const LoadedPalette& start, const Palette& palette) {
  std::array<bool, kSettingCount> toStore{};
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const std::optional<std::int32_t>& loaded = start.stored[i];
    toStore[i] = !loaded || *loaded != StoredNumberOf(palette, SettingsCatalogue()[i].id);
  }
  return toStore;
}

std::array<bool, kTableValueCount> TableValuesToStore(const LoadedPalette& start, const Palette& palette) {
  std::array<bool, kTableValueCount> toStore{};
  for (std::size_t i = 0; i < kTableValueCount; ++i) {
    const std::optional<std::int32_t>& loaded = start.tableStored[i];
    toStore[i] = !loaded || *loaded != PaletteValue(palette, TableCatalogue()[i].id);
  }
  return toStore;
}

void StorePaletteChanges(const CurrentUserRegistry& registry, const LoadedPalette& start, const Palette& palette) {
  const std::array<bool, kSettingCount> toStore = SettingsToStore(start, palette);
  const std::array<bool, kTableValueCount> tableToStore = TableValuesToStore(start, palette);
  const bool anySetting = std::find(toStore.begin(), toStore.end(), true) != toStore.end();
  const bool anyTableValue = std::find(tableToStore.begin(), tableToStore.end(), true) != tableToStore.end();
  if (!anySetting && !anyTableValue) return;
  RegistryTransaction batch(registry.Store(), RegistryTransactionMode::Write);
  PalettorSettings settings(registry);
  settings.CreateFrom(palette);
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (!toStore[i]) settings.LeaveAsItIs(SettingsCatalogue()[i].id);
  }
  settings.StoreAndFree(palette.smoothColours, TailPositionOf(palette.tailPercent), palette.whiteTop);
  if (anyTableValue) {
    TRegistry subkey(registry.Store());
    const std::string tableKey = TableSettingsKeyPath(registry);
    if (!subkey.OpenKey(tableKey, true)) throw ERegistryException("cannot create the key " + tableKey);
    for (std::size_t i = 0; i < kTableValueCount; ++i) {
      const SettingEntry& row = TableCatalogue()[i];
      if (tableToStore[i]) subkey.WriteInteger(row.name, PaletteValue(palette, row.id));
    }
  }
  batch.Commit();
}

}  // namespace palettor
