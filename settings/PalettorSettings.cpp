#include "PalettorSettings.h"

namespace palettor {

namespace {

const SettingEntry& Entry(SettingRole role, int anchor = 0) { return SettingsCatalogue()[SettingIndex(role, anchor)]; }

}  // namespace

PalettorSettings::~PalettorSettings() { FreeInStoreOrder(); }

void PalettorSettings::CreateAnchorSettings() {
  for (const SettingEntry& entry : SettingsCatalogue()) {
    if (entry.role == SettingRole::AnchorHue) {
      AnchorHue[AnchorSlot(entry.anchor)] = std::make_unique<TRegistryInteger>(entry.name, entry.defaultValue);
    } else if (entry.role == SettingRole::AnchorSat) {
      AnchorSat[AnchorSlot(entry.anchor)] = std::make_unique<TRegistryInteger>(entry.name, entry.defaultValue);
    }
  }
}

bool PalettorSettings::IsFirstRun() const {
  const auto& tailHue = AnchorHue[AnchorSlot(kBlueTailAnchor)];
  return tailHue && tailHue->Value == Entry(SettingRole::AnchorHue, kBlueTailAnchor).defaultValue;
}

void PalettorSettings::AssignFactoryAnchors() {
  const AnchorValues& factory = FactoryPalette();
  for (std::size_t slot = 0; slot < kAnchorCount; ++slot) {
    if (AnchorHue[slot]) AnchorHue[slot]->Value = factory[slot].hue;
    if (AnchorSat[slot]) AnchorSat[slot]->Value = factory[slot].saturation;
  }
}

AnchorValues PalettorSettings::Anchors() const {
  AnchorValues values{};
  for (std::size_t slot = 0; slot < kAnchorCount; ++slot) {
    values[slot] = {AnchorHue[slot] ? AnchorHue[slot]->Value : 0, AnchorSat[slot] ? AnchorSat[slot]->Value : 0};
  }
  return values;
}

void PalettorSettings::CreateTailPercentSetting() {
  const SettingEntry& entry = Entry(SettingRole::TailPercent);
  TailPercentSetting = std::make_unique<TRegistryInteger>(entry.name, entry.defaultValue);
}

void PalettorSettings::CreateWhiteTopSetting() {
  const SettingEntry& entry = Entry(SettingRole::WhiteTop);
  WhiteTopSetting = std::make_unique<TRegistryBoolean>(entry.name, entry.defaultValue != 0);
}

void PalettorSettings::CreateSmoothSetting() {
  const SettingEntry& entry = Entry(SettingRole::Smooth);
  SmoothSetting = std::make_unique<TRegistryBoolean>(entry.name, entry.defaultValue != 0);
}

void PalettorSettings::CreateAll() {
  CreateAnchorSettings();
  if (IsFirstRun()) AssignFactoryAnchors();
  CreateTailPercentSetting();
  CreateWhiteTopSetting();
  CreateSmoothSetting();
}

TRegistryVariable* PalettorSettings::Setting(std::size_t index) const {
  const SettingEntry& entry = SettingsCatalogue().at(index);
  switch (entry.role) {
    case SettingRole::AnchorHue:
      return AnchorHue[AnchorSlot(entry.anchor)].get();
    case SettingRole::AnchorSat:
      return AnchorSat[AnchorSlot(entry.anchor)].get();
    case SettingRole::TailPercent:
      return TailPercentSetting.get();
    case SettingRole::WhiteTop:
      return WhiteTopSetting.get();
    case SettingRole::Smooth:
      return SmoothSetting.get();
  }
  return nullptr;
}

std::int32_t PalettorSettings::Value(std::size_t index) const {
  TRegistryVariable* setting = Setting(index);
  if (auto* number = dynamic_cast<TRegistryInteger*>(setting)) return number->Value;
  if (auto* flag = dynamic_cast<TRegistryBoolean*>(setting)) return flag->Value ? 1 : 0;
  return SettingsCatalogue().at(index).defaultValue;
}

void PalettorSettings::SetValue(std::size_t index, std::int32_t value) {
  TRegistryVariable* setting = Setting(index);
  if (auto* number = dynamic_cast<TRegistryInteger*>(setting)) number->Value = value;
  if (auto* flag = dynamic_cast<TRegistryBoolean*>(setting)) flag->Value = value != 0;
}

void PalettorSettings::StoreAndFree(bool smooth, std::int16_t tailPosition, bool whiteTop) {
  if (SmoothSetting) SmoothSetting->Value = smooth;
  if (TailPercentSetting) TailPercentSetting->Value = tailPosition;
  if (WhiteTopSetting) WhiteTopSetting->Value = whiteTop;
  FreeInStoreOrder();
}

void PalettorSettings::FreeInStoreOrder() {
  for (const std::size_t index : SettingsStoreOrder()) {
    const SettingEntry& entry = SettingsCatalogue()[index];
    switch (entry.role) {
      case SettingRole::AnchorHue:
        AnchorHue[AnchorSlot(entry.anchor)].reset();
        break;
      case SettingRole::AnchorSat:
        AnchorSat[AnchorSlot(entry.anchor)].reset();
        break;
      case SettingRole::TailPercent:
        TailPercentSetting.reset();
        break;
      case SettingRole::WhiteTop:
        WhiteTopSetting.reset();
        break;
      case SettingRole::Smooth:
        SmoothSetting.reset();
        break;
    }
  }
}

}  // namespace palettor
