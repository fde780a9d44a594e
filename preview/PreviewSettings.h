#pragma once
// What the preview window keeps between sessions, under the program's settings key in the
// subkey "Preview" (beside, never among, the window's 27 values):
//   InfraredImage, VisibleImage   REG_SZ   the images last opened; empty for the demo scene
//   ScaleBlack, ScaleWhite        REG_SZ   the infrared scale in degrees Celsius, as decimals
//   Zoom                          REG_DWORD  percent; 0 fits the scene to the window
//   Simulation                    REG_SZ   normal, protanopia, deuteranopia, tritanopia, greyscale
// A value that is absent, of another type or out of range takes its default.
#include <optional>
#include <string>

#include "ColumnMap.h"
#include "CurrentUserRegistry.h"
#include "VisionSimulation.h"

namespace palettor {

constexpr int kZoomToFit = 0;
constexpr int kMinZoomPercent = 5;
constexpr int kMaxZoomPercent = 3200;

struct PreviewSettings {
  std::string irPath;  // UTF-8; both empty: the demo scene
  std::string visPath;
  IrScale scale;
  int zoomPercent = 100;  // kMinZoomPercent ... kMaxZoomPercent, or kZoomToFit
  VisionSimulation simulation = VisionSimulation::Normal;
  friend bool operator==(const PreviewSettings&, const PreviewSettings&) = default;
};

// SettingsKeyPath(currentUser) + "\Preview".
std::string PreviewSettingsKeyPath(const CurrentUserRegistry& currentUser);

// From one state of the store; nothing when the store cannot be read, so that the caller knows
// not to store over what it could not see.
std::optional<PreviewSettings> LoadPreviewSettings(const CurrentUserRegistry& currentUser);

// All values in one transaction. Throws ERegistryException when the store cannot be written.
void StorePreviewSettings(const CurrentUserRegistry& currentUser, const PreviewSettings& settings);

}  // namespace palettor
