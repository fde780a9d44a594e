#include "ScannedDensity.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "GdalSession.h"

namespace palettor {

namespace {

// Pixels read at once, as colouring reads them.
constexpr std::int64_t kBandPixels = std::int64_t{1} << 18;
// Memory stays within 128 MiB whatever the scene's size.
constexpr std::int64_t kLargestCache = std::int64_t{64} << 20;

}  // namespace

SceneDensity DensityOfScene(ColouredScene& scene) {
  SceneDensity density;
  const int width = scene.Width(), height = scene.Height();
  if (width <= 0 || height <= 0) return density;
  // A row of both channels' blocks in GDAL's cache, a quarter more for the blocks a band
  // straddles, as colouring has it: without, every band of rows decodes its blocks again.
  const std::int64_t blockRows = scene.Infrared().BlockRowBytes() + scene.Visible().BlockRowBytes();
  EnsureGdalCache(std::min(blockRows + blockRows / 4, kLargestCache));
  const int rowsAtOnce = static_cast<int>(std::clamp<std::int64_t>(kBandPixels / width, 1, height));
  const auto bandSize = static_cast<std::size_t>(width) * static_cast<std::size_t>(rowsAtOnce);
  std::vector<std::uint8_t> columns(bandSize), brightness(bandSize);
  std::vector<TableSide> sides(bandSize);
  for (int y = 0; y < height; y += rowsAtOnce) {
    const PixelWindow band{0, y, width, std::min(rowsAtOnce, height - y)};
    scene.Cells(band, columns.data(), brightness.data(), sides.data());
    density.AddCells(columns.data(), brightness.data(), sides.data(),
                     static_cast<std::size_t>(width) * static_cast<std::size_t>(band.height));
  }
  return density;
}

}  // namespace palettor
