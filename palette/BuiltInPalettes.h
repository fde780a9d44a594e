#pragma once
// The palettes that come with the program, each a palette file in presets/ compiled in:
//   factory             the factory palette with White top and Smooth colours on, tail 12 %
//   greyscale           no colour at all: every column the plain brightness ramp
//   infrared-contrast   cold cloud tops in flat bands of strongly different hues
//   colour-blind-safe   blues to white to oranges, told apart without red-green vision
#include <vector>

#include "NamedPalette.h"

namespace palettor {

// In the order menus and listings show them, "factory" first.
const std::vector<NamedPalette>& BuiltInPalettes();

}  // namespace palettor
