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
    const std::int32_t value = PaletteValue(palette, entry);
    if (entry.kind == SettingKind::Option) {
      held_[i] =
          std::make_unique<TRegistryBoolean>(registry_, entry.name, value != 0, TRegistryVariable::AlreadyLoaded{});
    } else {
      held_[i] = std::make_unique<TRegistryInteger>(registry_, entry.name, value, TRegistryVariable::AlreadyLoaded{});
    }
  }
}

TRegistryVariable* PalettorSettings::Find(SettingKind kind, int anchor, bool Palette::*option) const {
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const SettingEntry& entry = catalogue[i];
    if (entry.kind != kind) continue;
    if ((kind == SettingKind::Hue || kind == SettingKind::Saturation) && entry.anchor != anchor) continue;
    if (kind == SettingKind::Option && entry.option != option) continue;
    return held_[i].get();
  }
  return nullptr;
}

TRegistryInteger* PalettorSettings::AnchorHue(int anchor) const {
  return static_cast<TRegistryInteger*>(Find(SettingKind::Hue, anchor));
}

TRegistryInteger* PalettorSettings::AnchorSat(int anchor) const {
  return static_cast<TRegistryInteger*>(Find(SettingKind::Saturation, anchor));
}

TRegistryInteger* PalettorSettings::TailPercentSetting() const {
  return static_cast<TRegistryInteger*>(Find(SettingKind::Percent, 0));
}

TRegistryBoolean* PalettorSettings::WhiteTopSetting() const {
  return static_cast<TRegistryBoolean*>(Find(SettingKind::Option, 0, &Palette::whiteTop));
}

TRegistryBoolean* PalettorSettings::SmoothSetting() const {
  return static_cast<TRegistryBoolean*>(Find(SettingKind::Option, 0, &Palette::smoothColours));
}

AnchorValues PalettorSettings::Anchors() const {
  AnchorValues values{};
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    const TRegistryInteger* hue = AnchorHue(i);
    const TRegistryInteger* sat = AnchorSat(i);
    values[AnchorSlot(i)] = {hue ? hue->Value : 0, sat ? sat->Value : 0};
  }
  return values;
}

void PalettorSettings::AssignAnchors(const AnchorValues& anchors) {
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    if (TRegistryInteger* hue = AnchorHue(i)) hue->Value = anchors[AnchorSlot(i)].hue;
    if (TRegistryInteger* sat = AnchorSat(i)) sat->Value = anchors[AnchorSlot(i)].saturation;
  }
}

void PalettorSettings::KeepStoreAsItIs() {
  for (auto& setting : held_) {
    if (setting) setting->StoreOnFree = false;
  }
  for (auto& setting : held_) setting.reset();
}

void PalettorSettings::StoreAndFree(bool smooth, std::int16_t tailPosition, bool whiteTop) {
  if (TRegistryBoolean* setting = SmoothSetting()) setting->Value = smooth;
  if (TRegistryInteger* setting = TailPercentSetting()) setting->Value = tailPosition;
  if (TRegistryBoolean* setting = WhiteTopSetting()) setting->Value = whiteTop;
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
