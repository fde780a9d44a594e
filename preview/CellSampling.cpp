#include "CellSampling.h"

#include <algorithm>

#include "NearestSampling.h"

namespace palettor {

namespace {

// The sample of `from` under each of `count` samples over `length` scene pixels from `start`.
std::vector<int> SourceSamples(int start, int length, int count, int fromStart, int fromLength, int fromCount) {
  std::vector<int> picks = NearestSources(0, count, length, count);
  for (int& pick : picks) {
    pick = std::clamp(NearestSource(start + pick - fromStart, fromCount, fromLength), 0, fromCount - 1);
  }
  return picks;
}

}  // namespace

bool Covers(const PixelWindow& outer, const PixelWindow& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

SceneCells ResampleCells(const SceneCells& from, const PixelWindow& region, int width, int height) {
  SceneCells cells;
  cells.region = region;
  cells.width = width;
  cells.height = height;
  cells.irLevels = from.irLevels;
  if (width <= 0 || height <= 0 || from.width <= 0 || from.height <= 0) return cells;
  const std::vector<int> xs =
      SourceSamples(region.x, region.width, width, from.region.x, from.region.width, from.width);
  const std::vector<int> ys =
      SourceSamples(region.y, region.height, height, from.region.y, from.region.height, from.height);
  const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  cells.ir.resize(count);
  cells.vis.resize(count);
  for (int y = 0; y < height; ++y) {
    const auto row = static_cast<std::size_t>(ys[static_cast<std::size_t>(y)]) * static_cast<std::size_t>(from.width);
    const auto out = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(xs[static_cast<std::size_t>(x)]);
      cells.ir[out + static_cast<std::size_t>(x)] = from.ir[at];
      cells.vis[out + static_cast<std::size_t>(x)] = from.vis[at];
    }
  }
  return cells;
}

}  // namespace palettor
