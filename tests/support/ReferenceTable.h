#pragma once
#include "LutTable.h"

namespace palettor::test {

// The table worked out pixel by pixel in the most literal way, one HSVToRGB call per pixel
// and no work shared between rows or columns: the yardstick for the engine's fast generator.
void ReferenceTable(const TableInputs& inputs, LutPixels& pixels);

}  // namespace palettor::test
