#include "ScannedDensity.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace palettor {

namespace {

// Pixels read at once, as colouring reads them.
constexpr std::int64_t kBandPixels = std::int64_t{1} << 18;

}  // namespace

SceneDensity DensityOfScene(ColouredScene& scene) {
  SceneDensity density;
  const int width = scene.Width(), height = scene.Height();
  if (width <= 0 || height <= 0) return density;
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
