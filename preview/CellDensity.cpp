#include "CellDensity.h"

#include <vector>

namespace palettor {

SceneDensity DensityOfCells(const SceneCells& cells, IrScale scale) {
  SceneDensity density;
  const auto width = static_cast<std::size_t>(cells.width);
  if (width == 0) return density;
  // Under the level rule every level's column and side once, so that a sample is a look-up.
  std::vector<std::uint8_t> columnOfLevel;
  std::vector<TableSide> sideOfLevel;
  if (cells.irLevels) {
    const ColumnMap map(scale, *cells.irLevels);
    const int maxLevel = MaxLevel(*cells.irLevels);
    for (int level = 0; level <= maxLevel; ++level) {
      columnOfLevel.push_back(static_cast<std::uint8_t>(map.Column(level)));
      sideOfLevel.push_back(SideOfTemperature(TemperatureOfLevel(scale, level, maxLevel)));
    }
  }
  std::vector<std::uint8_t> columns(width), brightness(width);
  std::vector<TableSide> sides(width);
  for (int y = 0; y < cells.height; ++y) {
    std::size_t kept = 0;
    for (std::size_t x = 0; x < width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * width + x;
      if (cells.vis[at] == SceneCells::kNoDataRow) {
        density.AddNoData(1);
        continue;
      }
      const std::uint16_t key = cells.ir[at];
      columns[kept] = cells.irLevels ? columnOfLevel[key] : static_cast<std::uint8_t>(key & 0xFF);
      sides[kept] = cells.irLevels ? sideOfLevel[key] : static_cast<TableSide>(key >> 8);
      brightness[kept] = static_cast<std::uint8_t>(cells.vis[at]);
      ++kept;
    }
    density.AddCells(columns.data(), brightness.data(), sides.data(), kept);
  }
  return density;
}

}  // namespace palettor
