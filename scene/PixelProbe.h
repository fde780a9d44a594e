#pragma once
// Everything about one pixel of a coloured scene that a user pointing at it wants to know.
#include <optional>

#include "CellAnchors.h"
#include "ColumnMap.h"
#include "GreyImage.h"
#include "LutTable.h"

namespace palettor {

struct PixelProbe {
  int x = 0;
  int y = 0;
  int irLevel = 0;
  double celsius = 0;  // the infrared level's temperature on the scale, before clamping
  int visLevel = 0;
  int column = 0;      // table column 0 ... 99
  int brightness = 0;  // table row counted from the bottom, 0 ... 255
  int tableRow = 0;    // the same row counted from the top, as in the table bitmap
  CellAnchors anchors;
};

// Nothing for a position outside the images or for images of different sizes.
std::optional<PixelProbe> ProbePixel(const GreyImage& ir, const GreyImage& vis, IrScale scale, const TableInputs& table,
                                     int x, int y);

}  // namespace palettor
