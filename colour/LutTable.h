#pragma once
// The viewer's colour look-up table: 100 columns, one per whole degree from -60 (x = 0) to
// +39 degrees Celsius (x = 99), by 256 rows, brightness 255 at the top (y = 0) down to 0.
#include <array>
#include <cstdint>

#include "AnchorPalette.h"
#include "PackedColour.h"

namespace palettor {

constexpr int kTableWidth = 100;
constexpr int kTableHeight = 256;
constexpr int kTablePixels = kTableWidth * kTableHeight;
constexpr int kTableFirstCelsius = -60;

// The options a first start gives: the stored settings' defaults and the factory table's.
constexpr std::int32_t kDefaultTailPercent = 12;
constexpr bool kDefaultWhiteTop = true;
constexpr bool kDefaultSmoothColours = true;
// No night floor: the dark rows stay dark.
constexpr std::int32_t kDefaultNightFloorPercent = 0;

// Everything one table depends on, and nothing else.
struct TableInputs {
  // Colours of the temperature anchors -6 ... 4 (-60 ... +40 degrees), in that order.
  std::array<PackedColour, 11> anchorColours{};
  std::int32_t tailHue = 0;                        // blue tail, whole degrees
  std::int32_t tailSaturation = 0;                 // blue tail, whole percent
  std::int32_t tailPercent = kDefaultTailPercent;  // share of the dark rows that take the blue tail
  bool whiteTop = kDefaultWhiteTop;
  bool smoothColours = kDefaultSmoothColours;
  // The least brightness, in percent (0 ... kMaxNightFloorPercent), of the columns the blue tail
  // never covers, so that cold cloud tops at night, whose visible level is 0, keep their colour.
  std::int32_t nightFloorPercent = kDefaultNightFloorPercent;
};

// Pixels row by row from the top: pixel (x, y) is at y * kTableWidth + x.
using LutPixels = std::array<PackedColour, kTablePixels>;

// Fills `pixels`; allocates nothing.
void GenerateTable(const TableInputs& inputs, LutPixels& pixels);

// Inputs as the window takes them: anchor colours -7 ... 4 (the tail's own colour is not
// used), the tail's settings, and the options.
TableInputs MakeTableInputs(const AnchorColours& colours, AnchorValue blueTail, std::int32_t tailPercent, bool whiteTop,
                            bool smoothColours);

// The factory palette with the given options.
TableInputs FactoryTableInputs(std::int32_t tailPercent = kDefaultTailPercent, bool whiteTop = kDefaultWhiteTop,
                               bool smoothColours = kDefaultSmoothColours);

}  // namespace palettor
