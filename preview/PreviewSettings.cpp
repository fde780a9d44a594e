#include "PreviewSettings.h"

#include "DecimalNumber.h"
#include "Registry.h"
#include "RegistryTransaction.h"
#include "RegistryVariables.h"

namespace palettor {

namespace {

using enum SettingId;

const char* Name(SettingId id) { return Setting(id).name; }

// The stored text, if the value is text; throws when the store cannot be read.
std::optional<std::string> ReadText(TRegistry& registry, SettingId id) {
  if (registry.GetDataType(Name(id)) != RegDataType::String) return std::nullopt;
  return registry.ReadString(Name(id));
}

std::optional<double> ReadDecimal(TRegistry& registry, SettingId id) {
  const auto text = ReadText(registry, id);
  return text ? ParseDecimal(*text) : std::nullopt;
}

bool IsZoom(std::int32_t percent) {
  const SettingEntry& zoom = Setting(Zoom);
  return percent == kZoomToFit || (percent >= zoom.min && percent <= zoom.max);
}

void ReadInto(TRegistry& registry, PreviewSettings& settings) {
  const auto ir = ReadText(registry, InfraredImage);
  const auto vis = ReadText(registry, VisibleImage);
  // A pair or nothing: one channel alone cannot be shown.
  if (ir && vis && !ir->empty() && !vis->empty()) {
    settings.irPath = *ir;
    settings.visPath = *vis;
  }
  const auto black = ReadDecimal(registry, ScaleBlack);
  const auto white = ReadDecimal(registry, ScaleWhite);
  if (black && white && IsUsableScale({*black, *white})) settings.scale = {*black, *white};
  if (registry.GetDataType(Name(Zoom)) == RegDataType::Dword) {
    const std::int32_t zoom = registry.ReadInteger(Name(Zoom));
    if (IsZoom(zoom)) settings.zoomPercent = zoom;
  }
  if (const auto name = ReadText(registry, Simulation)) {
    if (const auto simulation = VisionSimulationNamed(*name)) settings.simulation = *simulation;
  }
}

// A text value as the store keeps it.
std::string TextOf(const PreviewSettings& settings, SettingId id) {
  switch (id) {
    case InfraredImage: return settings.irPath;
    case VisibleImage: return settings.visPath;
    case ScaleBlack: return FormatDecimal(settings.scale.black);
    case ScaleWhite: return FormatDecimal(settings.scale.white);
    default: return std::string(VisionSimulationName(settings.simulation));
  }
}

}  // namespace

std::string PreviewSettingsKeyPath(const CurrentUserRegistry& currentUser) {
  return SettingsKeyPath(currentUser) + "\\" + kPreviewSubkey;
}

PreviewSettings DefaultPreviewSettings() {
  PreviewSettings settings;
  settings.irPath = Setting(InfraredImage).defaultText;
  settings.visPath = Setting(VisibleImage).defaultText;
  settings.scale = {ParseDecimal(Setting(ScaleBlack).defaultText).value_or(settings.scale.black),
                    ParseDecimal(Setting(ScaleWhite).defaultText).value_or(settings.scale.white)};
  settings.zoomPercent = Setting(Zoom).defaultValue;
  settings.simulation = VisionSimulationNamed(Setting(Simulation).defaultText).value_or(settings.simulation);
  return settings;
}

std::optional<PreviewSettings> LoadPreviewSettings(const CurrentUserRegistry& currentUser) {
  try {
    RegistryTransaction snapshot(currentUser.Store(), RegistryTransactionMode::Read);
    PreviewSettings settings = DefaultPreviewSettings();
    TRegistry registry(currentUser.Store(), KEY_READ);
    const std::string key = PreviewSettingsKeyPath(currentUser);
    if (registry.KeyExists(key) && registry.OpenKey(key, false)) ReadInto(registry, settings);
    snapshot.Commit();
    return settings;
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

void StorePreviewSettings(const CurrentUserRegistry& currentUser, const PreviewSettings& settings) {
  RegistryTransaction batch(currentUser.Store(), RegistryTransactionMode::Write);
  TRegistry registry(currentUser.Store());
  const std::string key = PreviewSettingsKeyPath(currentUser);
  if (!registry.OpenKey(key, true)) throw ERegistryException("cannot create the key " + key);
  for (const SettingEntry& row : PreviewCatalogue()) {  // in their write order
    if (row.type == RegDataType::Dword) {
      registry.WriteInteger(row.name, settings.zoomPercent);
    } else {
      registry.WriteString(row.name, TextOf(settings, row.id));
    }
  }
  batch.Commit();
}

}  // namespace palettor
