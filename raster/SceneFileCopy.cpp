#include "SceneFileCopy.h"

#include <cpl_conv.h>
#include <cpl_string.h>

#include <algorithm>
#include <cstdint>

#include "ColouredSceneDataset.h"
#include "GdalSession.h"

namespace palettor {

namespace {

// Enough block cache for a row of both channels' blocks and the output's, a quarter more for
// the blocks a window straddles; no more than 64 MiB and 4 % of the output, so that memory
// stays within 128 MiB + 5 % of the output whatever the scene's size.
std::int64_t CacheFor(const ColouredScene& scene) {
  const std::int64_t output = std::int64_t{3} * scene.Width() * scene.Height();
  const std::int64_t rows = scene.Infrared().BlockRowBytes() + scene.Visible().BlockRowBytes();
  const std::int64_t wanted = rows + rows / 4 + (std::int64_t{4} << 20);
  return std::min(wanted, (std::int64_t{64} << 20) + output / 25);
}

}  // namespace

bool CopySceneToFile(ColouredScene& scene, const std::string& driverName, const std::string& path,
                     std::string& reason) {
  UseGdal();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName.c_str());
  if (!driver) {
    reason = "GDAL has no driver " + driverName;
    return false;
  }
  CPLStringList options;
  // The file is new (a temporary name or one made empty): nothing there to identify and delete.
  options.SetNameValue("QUIET_DELETE_ON_CREATE_COPY", "NO");
  if (driverName == "GTiff" || driverName == "COG") options.SetNameValue("COMPRESS", "LZW");
  // Metadata a format cannot hold would go to a side file; a scene is one file.
  CPLConfigOptionSetter noSideFile("GDAL_PAM_ENABLED", "NO", true);
  // The driver copies a few rows at a time (GDAL's default is a quarter of the block cache).
  CPLConfigOptionSetter swath("GDAL_SWATH_SIZE", "4194304", true);
  EnsureGdalCache(CacheFor(scene));

  auto source = std::make_unique<ColouredSceneDataset>(scene);
  ClearGdalReason();
  GDALDatasetUniquePtr written(driver->CreateCopy(path.c_str(), source.get(), FALSE, options.List(), nullptr, nullptr));
  source->RethrowFailure();
  bool ok = written != nullptr;
  // Closing writes what the driver still holds; a failure there is a failed write too.
  if (written) {
    ClearGdalReason();
    written.reset();
    ok = CPLGetLastErrorType() != CE_Failure && CPLGetLastErrorType() != CE_Fatal;
  }
  if (!ok) reason = GdalReason();
  return ok;
}

}  // namespace palettor
