#pragma once
// The palette as the settings keep it between runs, for every front (the window, palettor-cli,
// palette files): what a first start gives, the window's load with its first-run rule, and the
// window's store at shutdown. All of it works on the registry it is handed.
#include <array>
#include <cstdint>
#include <optional>

#include "CurrentUserRegistry.h"
#include "Palette.h"
#include "SettingsCatalogue.h"

namespace palettor {

// The factory anchors with every option at its default: what a first start gives.
Palette DefaultPalette();

// The first-run rule: a blue-tail hue of -1 (nothing stored yet, or a -1 stored on purpose)
// gives all twelve anchors their factory values, whatever else is stored. Returns whether it
// did.
bool ApplyFirstRunRule(AnchorValues& anchors);

// The key of the palette's values beyond the 27 (TableCatalogue()): kTableSubkey below the
// settings key.
std::string TableSettingsKeyPath(const CurrentUserRegistry& registry);

struct LoadedPalette {
  // As the window holds it: switches 0 or 1, the tail percent as its spinner takes the stored
  // number (TailPositionOf), the night floor brought within its range.
  Palette palette;
  std::array<SettingSource, kSettingCount> sources{};          // catalogue order
  std::array<SettingSource, kTableValueCount> tableSources{};  // TableCatalogue() order
  // The number each value held in the store, when it held a valid one: a REG_DWORD within the
  // catalogue's range. Catalogue order, and TableCatalogue() order for the table subkey's.
  std::array<std::optional<std::int32_t>, kSettingCount> stored{};
  std::array<std::optional<std::int32_t>, kTableValueCount> tableStored{};
};

// The 27 values exactly as the window loads them, and then the table subkey's, from one state of
// the store, the first-run rule included. Creates and writes nothing. A value that is absent or of another type takes
// its default; a store that cannot be read (busy beyond the wait, an I/O error, a newer layout) throws
// ERegistryException. A damaged store holds nothing (it is kept aside or, for a reading process, left alone with one
// notice).
LoadedPalette LoadPalette(const CurrentUserRegistry& registry);

// Stores all 27 values as the window does at shutdown, in its order, and after them the table
// subkey's, as one transaction: the store then holds all of them or, after a failure or a
// crash, none. The tail percent is stored
// as the spinner would hold it. Throws ERegistryException when the store cannot be written.
void StorePalette(const CurrentUserRegistry& registry, const Palette& palette);

// Which of the 27 values (catalogue order) a window that loaded `start` and shows `palette`
// writes when it closes: each whose number to store differs from the one loaded, or whose
// loaded value was not a valid stored number (missing, of another type, out of range). So a
// first run creates all 27 and a tail percent stored as text is rewritten as a number, while a
// session that changed nothing writes nothing and never puts back what another program has
// stored meanwhile; a value the user changed is written whatever happened meanwhile.
std::array<bool, kSettingCount> SettingsToStore(const LoadedPalette& start, const Palette& palette);
// The same rule for the table subkey's values (TableCatalogue() order).
std::array<bool, kTableValueCount> TableValuesToStore(const LoadedPalette& start, const Palette& palette);

// Stores those values, and then the table subkey's that the same rule picks, as StorePalette
// does, in the same order and as one transaction, the others left as they are; writes nothing (and opens no
// transaction) when there are none. Throws ERegistryException when the store cannot be written.
void StorePaletteChanges(const CurrentUserRegistry& registry, const LoadedPalette& start, const Palette& palette);

}  // namespace palettor
