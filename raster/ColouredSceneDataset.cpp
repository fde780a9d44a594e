#include "ColouredSceneDataset.h"

#include <algorithm>
#include <cstring>

namespace palettor {

namespace {

// Rows of one block: a band read a block at a time (the path GDAL takes for reads this
// dataset does not serve directly) keeps a few rows of the scene in GDAL's block cache.
constexpr int kBlockRows = 16;

class ColouredSceneBand final : public GDALRasterBand {
 public:
  ColouredSceneBand(ColouredSceneDataset* dataset, int band) {
    poDS = dataset;
    nBand = band;
    eDataType = GDT_Byte;
    nRasterXSize = dataset->GetRasterXSize();
    nRasterYSize = dataset->GetRasterYSize();
    nBlockXSize = nRasterXSize;
    nBlockYSize = std::min(kBlockRows, nRasterYSize);
  }

  GDALColorInterp GetColorInterpretation() override { return static_cast<GDALColorInterp>(GCI_RedBand + nBand - 1); }

 protected:
  CPLErr IReadBlock(int, int blockRow, void* block) override {
    auto* dataset = static_cast<ColouredSceneDataset*>(poDS);
    const int y = blockRow * nBlockYSize;
    const int rows = std::min(nBlockYSize, nRasterYSize - y);
    const int band = nBand;
    return dataset->ColourInto(0, y, nRasterXSize, rows, static_cast<GByte*>(block), 1, &band, 1, nBlockXSize, 0)
               ? CE_None
               : CE_Failure;
  }

  CPLErr IRasterIO(GDALRWFlag flag, int x, int y, int width, int height, void* buffer, int bufferWidth,
                   int bufferHeight, GDALDataType type, GSpacing pixelSpace, GSpacing lineSpace,
                   GDALRasterIOExtraArg* extra) override {
    if (flag == GF_Read && type == GDT_Byte && bufferWidth == width && bufferHeight == height) {
      const int band = nBand;
      return static_cast<ColouredSceneDataset*>(poDS)->ColourInto(x, y, width, height, static_cast<GByte*>(buffer), 1,
                                                                  &band, pixelSpace, lineSpace, 0)
                 ? CE_None
                 : CE_Failure;
    }
    return GDALRasterBand::IRasterIO(flag, x, y, width, height, buffer, bufferWidth, bufferHeight, type, pixelSpace,
                                     lineSpace, extra);
  }
};

}  // namespace

ColouredSceneDataset::ColouredSceneDataset(ColouredScene& scene) : scene_(scene) {
  nRasterXSize = scene.Width();
  nRasterYSize = scene.Height();
  eAccess = GA_ReadOnly;
  for (int band = 1; band <= 3; ++band) SetBand(band, new ColouredSceneBand(this, band));
  SetMetadataItem("INTERLEAVE", "PIXEL", "IMAGE_STRUCTURE");
}

CPLErr ColouredSceneDataset::GetGeoTransform(double* transform) {
  const auto t = scene_.GeoTransform();
  if (!t) return GDALDataset::GetGeoTransform(transform);
  std::copy(t->begin(), t->end(), transform);
  return CE_None;
}

const OGRSpatialReference* ColouredSceneDataset::GetSpatialRef() const { return scene_.SpatialReference(); }

void ColouredSceneDataset::RethrowFailure() const {
  if (failure_) std::rethrow_exception(failure_);
}

bool ColouredSceneDataset::ColourInto(int x, int y, int width, int height, GByte* buffer, int bandCount,
                                      const int* bands, GSpacing pixelSpace, GSpacing lineSpace, GSpacing bandSpace) {
  if (failure_) return false;
  try {
    const bool packedRgb =
        bandCount == 3 && bands[0] == 1 && bands[1] == 2 && bands[2] == 3 && pixelSpace == 3 && bandSpace == 1;
    if (packedRgb) {
      scene_.Colour({x, y, width, height}, buffer, static_cast<std::ptrdiff_t>(lineSpace));
      return true;
    }
    // Any other layout: a row at a time through a scan line of our own.
    rgb_.resize(static_cast<std::size_t>(width) * 3);
    for (int row = 0; row < height; ++row) {
      scene_.Colour({x, y + row, width, 1}, rgb_.data(), static_cast<std::ptrdiff_t>(rgb_.size()));
      GByte* line = buffer + row * lineSpace;
      for (int b = 0; b < bandCount; ++b) {
        const GByte* from = rgb_.data() + (bands[b] - 1);
        GByte* to = line + b * bandSpace;
        for (int i = 0; i < width; ++i) to[i * pixelSpace] = from[i * 3];
      }
    }
    return true;
  } catch (...) {
    failure_ = std::current_exception();
    CPLError(CE_Failure, CPLE_AppDefined, "the scene could not be coloured");
    return false;
  }
}

CPLErr ColouredSceneDataset::IRasterIO(GDALRWFlag flag, int x, int y, int width, int height, void* buffer,
                                       int bufferWidth, int bufferHeight, GDALDataType type, int bandCount, int* bands,
                                       GSpacing pixelSpace, GSpacing lineSpace, GSpacing bandSpace,
                                       GDALRasterIOExtraArg* extra) {
  if (flag == GF_Read && type == GDT_Byte && bufferWidth == width && bufferHeight == height) {
    return ColourInto(x, y, width, height, static_cast<GByte*>(buffer), bandCount, bands, pixelSpace, lineSpace,
                      bandSpace)
               ? CE_None
               : CE_Failure;
  }
  return GDALDataset::IRasterIO(flag, x, y, width, height, buffer, bufferWidth, bufferHeight, type, bandCount, bands,
                                pixelSpace, lineSpace, bandSpace, extra);
}

}  // namespace palettor
