#include "ReadableFormats.h"

#include <gdal_priv.h>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "GdalSession.h"

namespace palettor {

std::vector<std::string> ReadableExtensions() {
  UseGdal();
  std::vector<std::string> extensions;
  GDALDriverManager* drivers = GetGDALDriverManager();
  for (int i = 0; i < drivers->GetDriverCount(); ++i) {
    GDALDriver* driver = drivers->GetDriver(i);
    if (!CPLFetchBool(driver->GetMetadata(), GDAL_DCAP_RASTER, false)) continue;
    const char* listed = driver->GetMetadataItem(GDAL_DMD_EXTENSIONS);
    if (!listed) continue;
    std::istringstream words(listed);
    for (std::string extension; words >> extension;) {
      std::transform(extension.begin(), extension.end(), extension.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      extensions.push_back(extension);
    }
  }
  std::sort(extensions.begin(), extensions.end());
  extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
  return extensions;
}

std::vector<Subdataset> SubdatasetsOf(const std::string& path) {
  UseGdal();
  const GDALDatasetUniquePtr dataset(
      GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
  if (!dataset || dataset->GetRasterCount() > 0) return {};
  std::vector<Subdataset> found;
  char** items = dataset->GetMetadata("SUBDATASETS");
  for (int n = 1;; ++n) {
    const std::string key = "SUBDATASET_" + std::to_string(n) + "_";
    const char* name = CSLFetchNameValue(items, (key + "NAME").c_str());
    if (!name) break;
    const char* description = CSLFetchNameValue(items, (key + "DESC").c_str());
    found.push_back({name, description ? description : name});
  }
  return found;
}

}  // namespace palettor
