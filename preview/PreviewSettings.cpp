#include "PreviewSettings.h"

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

// The stored value if it has `type`; throws when the store cannot be read.
bool HasValueOfType(TRegistry& registry, const char* name, RegDataType type) {
  const auto stored = registry.GetDataType(name);
  if (!registry.LastError().empty()) throw ERegistryException(registry.LastError());
  return stored == type;
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

std::string PreviewSettingsKeyPath(const CurrentUserRegistry& currentUser) {
  return SettingsKeyPath(currentUser) + "\\Preview";
}

std::optional<PreviewSettings> LoadPreviewSettings(const CurrentUserRegistry& currentUser) {
  try {
    RegistryTransaction snapshot(currentUser.Store(), RegistryTransactionMode::Read);
    PreviewSettings settings;
    TRegistry registry(currentUser.Store(), KEY_READ);
    const std::string key = PreviewSettingsKeyPath(currentUser);
    if (registry.KeyExists(key)) {
      if (registry.OpenKey(key, false)) ReadInto(registry, settings);
    } else if (!registry.LastError().empty()) {
      throw ERegistryException(registry.LastError());
    }
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
  registry.WriteString(kInfraredImage, settings.irPath);
  registry.WriteString(kVisibleImage, settings.visPath);
  registry.WriteString(kScaleBlack, FormatDecimal(settings.scale.black));
  registry.WriteString(kScaleWhite, FormatDecimal(settings.scale.white));
  registry.WriteInteger(kZoom, settings.zoomPercent);
  registry.WriteString(kSimulation, std::string(VisionSimulationName(settings.simulation)));
  batch.Commit();
}

}  // namespace palettor
