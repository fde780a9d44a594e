#pragma once
// A satellite scene's colours worked out one pixel at a time, straight from the rule as a user
// reads it, and the colour-vision simulation straight from the published matrices in single
// precision: the yardsticks for the scene colouring wherever it is used (the engine, the
// command line, the window's preview).
#include <array>
#include <cstdint>

#include "ColumnMap.h"
#include "LutTable.h"
#include "VisionSimulation.h"

namespace palettor::test {

// The table's colour for one pixel: `irMax` and `visMax` are 255 or 65535.
PackedColour ReferenceSceneColour(const LutPixels& table, IrScale scale, int irLevel, int irMax, int visLevel,
                                  int visMax);

// The same colour as red, green, blue.
std::array<std::uint8_t, 3> ReferenceScenePixel(const LutPixels& table, IrScale scale, int irLevel, int irMax,
                                                int visLevel, int visMax);

// The table's colour for a pixel of an infrared temperature `celsius` and a visible
// reflectance `reflectance` shown with the display gamma `gamma`.
PackedColour ReferenceCalibratedColour(const LutPixels& table, double celsius, double reflectance, double gamma);

// `colour` as `simulation` shows it, each channel from the stated matrix and transfer functions.
PackedColour ReferenceSimulation(PackedColour colour, VisionSimulation simulation);

}  // namespace palettor::test
