#pragma once
// Writes a coloured scene into a file through a GDAL driver's CreateCopy, which pulls the
// pixels from ColouredSceneDataset as it encodes them. GeoTIFF and COG are compressed without
// loss (LZW) and carry the infrared channel's georeferencing; no side file (.aux.xml) is
// written beside the image.
#include <string>

#include "ColouredScene.h"

namespace palettor {

// False, with GDAL's reason in `reason`, when the driver could not write `path`; throws
// RasterError when a channel could not be read.
bool CopySceneToFile(ColouredScene& scene, const std::string& driver, const std::string& path, std::string& reason);

}  // namespace palettor
