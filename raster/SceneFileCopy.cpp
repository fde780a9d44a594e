#include "SceneFileCopy.h"

#include <cpl_conv.h>
#include <cpl_string.h>

#include "ColouredSceneDataset.h"
#include "GdalSession.h"

namespace palettor {

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
