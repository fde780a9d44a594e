#include "LevelDensity.h"

#include <stdexcept>
#include <vector>

#include "SceneColouriser.h"

namespace palettor {

namespace {

int LevelAt(const GreyImage& image, int x, int y) {
  return image.Depth() == GreyDepth::Eight ? image.Row8(y)[x] : image.Row16(y)[x];
}

}  // namespace

SceneDensity DensityOfLevels(const GreyImage& ir, const GreyImage& vis, IrScale scale) {
  if (!SameSize(ir, vis))
    throw std::invalid_argument("DensityOfLevels: the infrared and visible images differ in size");
  // Every level's column and side worked out once, so a pixel is two look-ups.
  const ColumnMap map(scale, ir.Depth());
  const int maxLevel = ir.MaxLevel();
  std::vector<TableSide> sideOfLevel(static_cast<std::size_t>(maxLevel) + 1, TableSide::Within);
  for (int level = 0; level <= maxLevel; ++level) {
    sideOfLevel[static_cast<std::size_t>(level)] = SideOfTemperature(TemperatureOfLevel(scale, level, maxLevel));
  }
  SceneDensity density;
  const auto width = static_cast<std::size_t>(ir.Width());
  std::vector<std::uint8_t> columns(width), brightness(width);
  std::vector<TableSide> sides(width);
  for (int y = 0; y < ir.Height(); ++y) {
    for (int x = 0; x < ir.Width(); ++x) {
      const int level = LevelAt(ir, x, y);
      const auto at = static_cast<std::size_t>(x);
      columns[at] = static_cast<std::uint8_t>(map.Column(level));
      sides[at] = sideOfLevel[static_cast<std::size_t>(level)];
      brightness[at] = static_cast<std::uint8_t>(BrightnessOfLevel(LevelAt(vis, x, y), vis.Depth()));
    }
    density.AddCells(columns.data(), brightness.data(), sides.data(), width);
  }
  return density;
}

}  // namespace palettor
