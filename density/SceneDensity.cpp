#include "SceneDensity.h"

#include <algorithm>

#include "SceneColouriser.h"

namespace palettor {

SceneDensity::SceneDensity() : counts_(static_cast<std::size_t>(kTableWidth) * kTableHeight, 0) {}

std::uint64_t SceneDensity::Largest() const { return *std::max_element(counts_.begin(), counts_.end()); }

void SceneDensity::AddCells(const std::uint8_t* columns, const std::uint8_t* brightness, const TableSide* sides,
                            std::size_t count) {
  std::uint64_t noData = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (columns[i] == SceneColouriser::kNoDataColumn) {
      ++noData;
      continue;
    }
    ++counts_[Index(columns[i], brightness[i])];
    belowTable_ += sides[i] == TableSide::Below;
    aboveTable_ += sides[i] == TableSide::Above;
  }
  noData_ += noData;
  pixels_ += count - noData;
}

}  // namespace palettor
