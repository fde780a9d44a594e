#pragma once
// The window's 27 settings objects, created in the order the window loads them and freed
// (which stores them) in the order it writes them at shutdown, all through the catalogue.
#include <array>
#include <cstdint>
#include <memory>

#include "CurrentUserRegistry.h"
#include "Palette.h"
#include "RegistryVariables.h"
#include "SettingsCatalogue.h"

namespace palettor {

class PalettorSettings {
 public:
  // The settings of the program `registry` works for, in its store.
  explicit PalettorSettings(const CurrentUserRegistry& registry) : registry_(registry) {}
  // Settings still held are stored as StoreAndFree stores them, failures ignored.
  ~PalettorSettings();
  PalettorSettings(const PalettorSettings&) = delete;
  PalettorSettings& operator=(const PalettorSettings&) = delete;

  // Creates all 27 with the values LoadPalette gives (the first-run rule applied). When the
  // store cannot be read, they hold what a first start gives and will leave the store as it is
  // when freed, and the ERegistryException is passed on.
  void CreateAll();
  // Creates all 27 holding `palette`'s values, without reading the store.
  void CreateFrom(const Palette& palette);
  bool Created() const { return held_[0] != nullptr; }

  // A setting by its id: the switches are Boolean, the others Integer. Null before CreateAll or
  // CreateFrom, and for an id of the other kind.
  TRegistryInteger* Integer(SettingId id) const;
  TRegistryBoolean* Boolean(SettingId id) const;

  AnchorValues Anchors() const;
  void AssignAnchors(const AnchorValues& anchors);

  // Frees every setting without storing any (the store is left as it is).
  void KeepStoreAsItIs();
  // The setting will leave its stored value as it is when freed.
  void LeaveAsItIs(SettingId id);

  // Copies the controls' states in and frees every setting in the shutdown order, each free
  // writing its value, all in one transaction: Smooth colours, tail percent (the 16-bit
  // position widened with its sign), White top, then hue and saturation of -7 ... 4. Throws
  // ERegistryException when the store could not be written (then nothing was).
  void StoreAndFree(bool smooth, std::int16_t tailPosition, bool whiteTop);

 private:
  void StoreHeldAndFree();

  CurrentUserRegistry registry_;
  std::array<std::unique_ptr<TRegistryVariable>, kSettingCount> held_;  // catalogue order
};

}  // namespace palettor
