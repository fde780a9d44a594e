#pragma once
// The window's 27 settings objects, created in the order the window loads them and freed
// (which stores them) in the order it writes them at shutdown. Names and defaults come from
// SettingsCatalogue.
#include <array>
#include <cstdint>
#include <memory>

#include "AnchorPalette.h"
#include "RegistryVariables.h"
#include "SettingsCatalogue.h"

namespace palettor {

struct PalettorSettings {
  PalettorSettings() = default;
  // Settings still held are freed in the shutdown order, each storing its current Value.
  ~PalettorSettings();
  PalettorSettings(const PalettorSettings&) = delete;
  PalettorSettings& operator=(const PalettorSettings&) = delete;

  // Indexed by AnchorSlot(i), i = -7 ... 4.
  std::array<std::unique_ptr<TRegistryInteger>, kAnchorCount> AnchorHue, AnchorSat;
  std::unique_ptr<TRegistryInteger> TailPercentSetting;  // "LUTTailPercent", default 12
  std::unique_ptr<TRegistryBoolean> WhiteTopSetting;     // "LUTWhiteTop", default true
  std::unique_ptr<TRegistryBoolean> SmoothSetting;       // "LUTSmoothColours", default true

  // Hue then saturation of -7 (default -1), then of -6 ... 4 (default 0); each creation loads.
  void CreateAnchorSettings();
  // The blue tail's hue is -1: nothing was stored yet (or a first run was asked for).
  bool IsFirstRun() const;
  // The 24 anchor Values := FactoryPalette(); the colours are derived by the caller.
  void AssignFactoryAnchors();
  AnchorValues Anchors() const;  // needs CreateAnchorSettings

  void CreateTailPercentSetting();
  void CreateWhiteTopSetting();
  void CreateSmoothSetting();

  // Everything the window creates at start-up, in its order (anchors, first-run rule, options).
  void CreateAll();

  // The Value of the catalogue entry at `index`, Booleans as 0 or 1; needs that setting created.
  std::int32_t Value(std::size_t index) const;
  void SetValue(std::size_t index, std::int32_t value);

  // Copies the controls' states in and frees every setting in the shutdown order, each free
  // writing its value: Smooth colours, tail percent (the 16-bit position widened with its sign),
  // White top, then hue and saturation of -7 ... 4.
  void StoreAndFree(bool smooth, std::int16_t tailPosition, bool whiteTop);

 private:
  TRegistryVariable* Setting(std::size_t index) const;
  void FreeInStoreOrder();
};

}  // namespace palettor
