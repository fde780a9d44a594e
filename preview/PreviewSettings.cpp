#include "PreviewSettings.h"

#include "CurrentUserRegistry.h"
#include "DecimalNumber.h"
#include "Registry.h"
#include "RegistryTransaction.h"
#include "RegistryVariables.h"

namespace palettor {

namespace {

constexpr const char* kInfraredImage = "InfraredImage";
constexpr const char* kVisibleImage = "VisibleImage";
constexpr const char* kScaleBlack = "ScaleBlack";
constexpr const char* kScaleWhite = "ScaleWhite";
constexpr const char* kZoom = "Zoom";
constexpr const char* kSimulation = "Simulation";

// Whether the stored value has `type`; throws when the store cannot be read.
bool HasValueOfType(TRegistry& registry, const char* name, RegDataType type) {
  return registry.GetDataType(name) == type;
}

std::optional<std::string> ReadText(TRegistry& registry, const char* name) {
  if (!HasValueOfType(registry, name, RegDataType::String)) return std::nullopt;
  return registry.ReadString(name);
}

std::optional<double> ReadDecimal(TRegistry& registry, const char* name) {
  const auto text = ReadText(registry, name);
  return text ? ParseDecimal(*text) : std::nullopt;
}

bool IsZoom(std::int32_t percent) {
  return percent == kZoomToFit || (percent >= kMinZoomPercent && percent <= kMaxZoomPercent);
}

void ReadInto(TRegistry& registry, PreviewSettings& settings) {
  const auto ir = ReadText(registry, kInfraredImage);
  const auto vis = ReadText(registry, kVisibleImage);
  // A pair or nothing: one channel alone cannot be shown.
  if (ir && vis && !ir->empty() && !vis->empty()) {
    settings.irPath = *ir;
    settings.visPath = *vis;
  }
  const auto black = ReadDecimal(registry, kScaleBlack);
  const auto white = ReadDecimal(registry, kScaleWhite);
  if (black && white && IsUsableScale({*black, *white})) settings.scale = {*black, *white};
  if (HasValueOfType(registry, kZoom, RegDataType::Dword)) {
    const std::int32_t zoom = registry.ReadInteger(kZoom);
    if (IsZoom(zoom)) settings.zoomPercent = zoom;
  }
  if (const auto name = ReadText(registry, kSimulation)) {
    if (const auto simulation = VisionSimulationNamed(*name)) settings.simulation = *simulation;
  }
}

}  // namespace

std::string PreviewSettingsKeyPath() { return SettingsKeyPath() + "\\Preview"; }

std::optional<PreviewSettings> LoadPreviewSettings() {
  try {
    RegistryTransaction snapshot(CurrentUserStore(), RegistryTransactionMode::Read);
    PreviewSettings settings;
    TRegistry registry(KEY_READ);
    const std::string key = PreviewSettingsKeyPath();
    if (registry.KeyExists(key) && registry.OpenKey(key, false)) ReadInto(registry, settings);
    snapshot.Commit();
    return settings;
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

void StorePreviewSettings(const PreviewSettings& settings) {
  RegistryTransaction batch(CurrentUserStore(), RegistryTransactionMode::Write);
  TRegistry registry;
  if (!registry.OpenKey(PreviewSettingsKeyPath(), true))
    throw ERegistryException("cannot create the key " + PreviewSettingsKeyPath());
  registry.WriteString(kInfraredImage, settings.irPath);
  registry.WriteString(kVisibleImage, settings.visPath);
  registry.WriteString(kScaleBlack, FormatDecimal(settings.scale.black));
  registry.WriteString(kScaleWhite, FormatDecimal(settings.scale.white));
  registry.WriteInteger(kZoom, settings.zoomPercent);
  registry.WriteString(kSimulation, std::string(VisionSimulationName(settings.simulation)));
  batch.Commit();
}

}  // namespace palettor
