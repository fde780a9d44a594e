#pragma once
// What the preview window keeps between sessions, under the program's settings key in the
// subkey kPreviewSubkey (beside, never among, the window's 27 values). Names, types, defaults,
// the zoom's range and the order of the writes are the catalogue's (PreviewCatalogue()):
//   InfraredImage, VisibleImage   REG_SZ     the images last opened; empty for the demo scene
//   ScaleBlack, ScaleWhite        REG_SZ     the infrared scale in degrees Celsius, as decimals
//   Zoom                          REG_DWORD  percent; kZoomToFit fits the scene to the window
//   Simulation                    REG_SZ     normal, protanopia, deuteranopia, tritanopia, greyscale
// A value that is absent, of another type or out of range takes its default; the images and the
// scale are taken in pairs or not at all.
#include <optional>
#include <string>

#include "ColumnMap.h"
#include "CurrentUserRegistry.h"
#include "SettingsCatalogue.h"
#include "VisionSimulation.h"

namespace palettor {

// Its defaults are DefaultPreviewSettings(), not those of a value-initialised one.
struct PreviewSettings {
  std::string irPath;  // UTF-8; both empty: the demo scene
  std::string visPath;
  IrScale scale;
  int zoomPercent = kZoomToFit;  // kMinZoomPercent ... kMaxZoomPercent, or kZoomToFit
  VisionSimulation simulation{};
  friend bool operator==(const PreviewSettings&, const PreviewSettings&) = default;
};

// SettingsKeyPath(currentUser) + "\Preview".
std::string PreviewSettingsKeyPath(const CurrentUserRegistry& currentUser);

// The catalogue's defaults: what the preview shows when nothing usable is stored.
PreviewSettings DefaultPreviewSettings();

// From one state of the store; nothing when the store cannot be read, so that the caller knows
// not to store over what it could not see.
std::optional<PreviewSettings> LoadPreviewSettings(const CurrentUserRegistry& currentUser);

// All values in one transaction. Throws ERegistryException when the store cannot be written.
void StorePreviewSettings(const CurrentUserRegistry& currentUser, const PreviewSettings& settings);

}  // namespace palettor
