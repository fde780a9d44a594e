#pragma once
// A palette: everything the user sets that shapes the table, the twelve anchors, the three
// options and the night floor. It is what the window keeps between runs (the 27 values of the
// settings key and the night floor in its Table subkey), what a palette file holds and what
// one undo step brings back.
#include <cstdint>

#include "AnchorPalette.h"
#include "LutTable.h"

namespace palettor {

struct Palette {
  AnchorValues anchors{};        // hue and saturation, indexed by AnchorSlot
  std::int32_t tailPercent = 0;  // as the tail spinner shows it, 0 ... 100; the table takes it as it is
  bool whiteTop = false;
  bool smoothColours = false;
  std::int32_t nightFloorPercent = kDefaultNightFloorPercent;
  friend bool operator==(const Palette&, const Palette&) = default;
};

// The table's inputs for a palette: the anchor colours derived from their hues and saturations.
TableInputs TableInputsOf(const Palette& palette);

}  // namespace palettor
