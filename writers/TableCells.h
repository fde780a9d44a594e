#pragma once
// The one way an output reads the table: the colour of a column (temperature) at a brightness
// level. The bitmap, the CSV listing and the legend all go through CellColour, so the three
// cannot disagree about which pixel holds which cell.
#include <cstddef>

#include "LutTable.h"

namespace palettor {

constexpr int kTableMaxBrightness = kTableHeight - 1;

// Column 0 is -60 degrees Celsius, column 99 is +39.
constexpr int CelsiusOfColumn(int column) { return kTableFirstCelsius + column; }

// `column` 0 ... 99, `brightness` 0 ... 255; the table keeps brightness 255 in its top row.
inline PackedColour CellColour(const LutPixels& pixels, int column, int brightness) {
  return pixels[static_cast<std::size_t>((kTableMaxBrightness - brightness) * kTableWidth + column)];
}

}  // namespace palettor
