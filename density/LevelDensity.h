#pragma once
// The density of a scene held as two grey images of levels, as the preview holds one: the
// infrared level's column on `scale` (ColumnMap.h), the visible level's row
// (BrightnessOfLevel). Such images have no pixels without data.
#include "ColumnMap.h"
#include "GreyImage.h"
#include "SceneDensity.h"

namespace palettor {

// Throws std::invalid_argument when the images differ in size.
SceneDensity DensityOfLevels(const GreyImage& ir, const GreyImage& vis, IrScale scale);

}  // namespace palettor
