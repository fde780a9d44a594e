#include "SceneFileFormat.h"

#include <gdal_priv.h>

#include <array>
#include <utility>

#include "AsciiCase.h"
#include "GdalSession.h"
#include "RasterError.h"

namespace palettor {

std::optional<std::string> SceneDriverForName(std::string_view target) {
  constexpr std::array<std::pair<std::string_view, const char*>, 7> kExtensions = {{{".png", "PNG"},
                                                                                    {".bmp", "BMP"},
                                                                                    {".tif", "GTiff"},
                                                                                    {".tiff", "GTiff"},
                                                                                    {".webp", "WEBP"},
                                                                                    {".jpg", "JPEG"},
                                                                                    {".jpeg", "JPEG"}}};
  for (const auto& [extension, driver] : kExtensions) {
    if (target.size() > extension.size() &&
        SameIgnoringCase(target.substr(target.size() - extension.size()), extension)) {
      return driver;
    }
  }
  return std::nullopt;
}

std::string CheckedSceneDriver(const std::string& name) {
  UseGdal();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(name.c_str());
  const std::string prefix = "--format '" + name + "': ";
  if (!driver || !driver->GetMetadataItem(GDAL_DCAP_RASTER)) {
    throw Refused(prefix + "GDAL has no raster driver of that name (gdalinfo --formats lists them)");
  }
  const bool writes = driver->GetMetadataItem(GDAL_DCAP_CREATECOPY) || driver->GetMetadataItem(GDAL_DCAP_CREATE);
  const char* types = driver->GetMetadataItem(GDAL_DMD_CREATIONDATATYPES);
  const bool bytes = !types || std::string_view(types).find("Byte") != std::string_view::npos;
  if (!writes || !bytes) throw Refused(prefix + "GDAL's driver cannot write 8-bit RGB images");
  return driver->GetDescription();
}

}  // namespace palettor
