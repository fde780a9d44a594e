#pragma once
// The density of a scene read from its channels exactly as colourise reads them (units, no
// data, sampling of the smaller channel), a band of rows at a time: a scene of any size needs a
// few megabytes. The scale is the one `scene`'s colouriser holds.
#include "ColouredScene.h"
#include "SceneDensity.h"

namespace palettor {

// Throws RasterError as ColouredScene::Cells does.
SceneDensity DensityOfScene(ColouredScene& scene);

}  // namespace palettor
