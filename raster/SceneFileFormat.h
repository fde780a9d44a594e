#pragma once
// The formats a coloured scene is written in: any GDAL driver that writes 8-bit RGB, chosen by
// the name's extension (.png, .bmp, .tif or .tiff as GeoTIFF, .webp, .jpg or .jpeg, in any
// case) or by the driver's name (COG, for instance).
#include <optional>
#include <string>
#include <string_view>

namespace palettor {

// Nothing for a name without one of those extensions.
std::optional<std::string> SceneDriverForName(std::string_view target);

// `name` when GDAL has a raster driver of that name that can write Byte RGB images; throws
// RasterError (Refused) saying why not.
std::string CheckedSceneDriver(const std::string& name);

// The extensions, as help texts and messages list them.
constexpr const char* kSceneFileExtensions = ".png, .bmp, .tif, .tiff, .webp, .jpg or .jpeg";

}  // namespace palettor
