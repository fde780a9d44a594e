#include "PalettorSettings.h"

#include <optional>

#include "RegistryTransaction.h"
#include "StoredPalette.h"

namespace palettor {

PalettorSettings::~PalettorSettings() {
  try {
    StoreHeldAndFree();
  } catch (...) {
    // Settings never report a failed store.
  }
}

void PalettorSettings::CreateAll() {
  LoadedPalette loaded;
  try {
    loaded = LoadPalette(registry_);
  } catch (...) {
    CreateFrom(DefaultPalette());
    for (auto& setting : held_) setting->StoreOnFree = false;
    throw;
  }
  CreateFrom(loaded.palette);
}

void PalettorSettings::CreateFrom(const Palette& palette) {
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const SettingEntry& entry = catalogue[i];
    const std::int32_t value = PaletteValue(palette, entry.id);
    if (entry.Kind() == SettingKind::Option) {
      held_[i] =
          std::make_unique<TRegistryBoolean>(registry_, entry.name, value != 0, TRegistryVariable::AlreadyLoaded{});
    } else {
      held_[i] = std::make_unique<TRegistryInteger>(registry_, entry.name, value, TRegistryVariable::AlreadyLoaded{});
    }
  }
}

TRegistryInteger* PalettorSettings::Integer(SettingId id) const {
  if (Position(id) >= kSettingCount) return nullptr;
  return dynamic_cast<TRegistryInteger*>(held_[Position(id)].get());
}

TRegistryBoolean* PalettorSettings::Boolean(SettingId id) const {
  if (Position(id) >= kSettingCount) return nullptr;
  return dynamic_cast<TRegistryBoolean*>(held_[Position(id)].get());
}

AnchorValues PalettorSettings::Anchors() const {
  AnchorValues values{};
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    const TRegistryInteger* hue = Integer(HueSetting(i));
    const TRegistryInteger* sat = Integer(SaturationSetting(i));
    values[AnchorSlot(i)] = {hue ? hue->Value : 0, sat ? sat->Value : 0};
  }
  return values;
}

void PalettorSettings::AssignAnchors(const AnchorValues& anchors) {
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    if (TRegistryInteger* hue = Integer(HueSetting(i))) hue->Value = anchors[AnchorSlot(i)].hue;
    if (TRegistryInteger* sat = Integer(SaturationSetting(i))) sat->Value = anchors[AnchorSlot(i)].saturation;
  }
}

void PalettorSettings::KeepStoreAsItIs() {
  for (auto& setting : held_) {
    if (setting) setting->StoreOnFree = false;
  }
  for (auto& setting : held_) setting.reset();
}

void PalettorSettings::LeaveAsItIs(SettingId id) {
  if (Position(id) < kSettingCount && held_[Position(id)]) held_[Position(id)]->StoreOnFree = false;
}

void PalettorSettings::StoreAndFree(bool smooth, std::int16_t tailPosition, bool whiteTop) {
  if (TRegistryBoolean* setting = Boolean(SettingId::SmoothColours)) setting->Value = smooth;
  if (TRegistryInteger* setting = Integer(SettingId::TailPercent)) setting->Value = StoredTailPercentOf(tailPosition);
  if (TRegistryBoolean* setting = Boolean(SettingId::WhiteTop)) setting->Value = whiteTop;
  StoreHeldAndFree();
}

void PalettorSettings::StoreHeldAndFree() {
  bool anyToStore = false;
  for (const auto& setting : held_) anyToStore = anyToStore || (setting && setting->StoreOnFree);
  if (!anyToStore) {
    KeepStoreAsItIs();
    return;
  }
  std::optional<RegistryTransaction> batch;
  try {
    batch.emplace(registry_.Store(), RegistryTransactionMode::Write);
  } catch (...) {
    // Each setting would try again on its own, and wait as long for a busy store.
    KeepStoreAsItIs();
    throw;
  }
  for (const std::size_t index : SettingsStoreOrder()) held_[index].reset();
  batch->Commit();
}

}  // namespace palettor
