#pragma once
// A coloured scene as GDAL sees it: a read-only dataset of three Byte bands (red, green, blue)
// whose pixels are coloured when they are read, so that any GDAL driver's CreateCopy writes
// the scene row by row without it ever being whole in memory. It carries the infrared
// channel's georeferencing.
//
// GDAL's copy runs in C; a failure there cannot travel as an exception, so the dataset keeps
// the first one and reports a plain read failure to GDAL. Rethrow it after the copy.
#include <gdal_priv.h>

#include <exception>
#include <memory>

#include "ColouredScene.h"

namespace palettor {

class ColouredSceneDataset final : public GDALDataset {
 public:
  explicit ColouredSceneDataset(ColouredScene& scene);

  CPLErr GetGeoTransform(double* transform) override;
  const OGRSpatialReference* GetSpatialRef() const override;

  // Throws what made a read fail, if anything did.
  void RethrowFailure() const;

  // Colours into a caller's buffer of bytes: `pixelSpace`, `lineSpace` and `bandSpace` as in
  // GDAL's RasterIO.
  bool ColourInto(int x, int y, int width, int height, GByte* buffer, int bandCount, const int* bands,
                  GSpacing pixelSpace, GSpacing lineSpace, GSpacing bandSpace);

 protected:
  CPLErr IRasterIO(GDALRWFlag flag, int x, int y, int width, int height, void* buffer, int bufferWidth,
                   int bufferHeight, GDALDataType type, int bandCount, int* bands, GSpacing pixelSpace,
                   GSpacing lineSpace, GSpacing bandSpace, GDALRasterIOExtraArg* extra) override;

 private:
  ColouredScene& scene_;
  std::vector<GByte> rgb_;
  std::exception_ptr failure_;
};

}  // namespace palettor
