#pragma once
// Where a scene's pixels fall in the table: how many pixels with data lie in each cell
// (column 0 ... 99 for -60 ... +39 degrees, brightness row 0 ... 255 counted from the bottom),
// how many have no data in either channel, and how many of those in the edge columns got there
// because their temperature lies beyond the table (colder than -60, warmer than +39 degrees
// once rounded to a whole degree).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ColumnMap.h"
#include "LutTable.h"

namespace palettor {

class SceneDensity {
 public:
  SceneDensity();

  std::uint64_t Count(int column, int brightness) const { return counts_[Index(column, brightness)]; }
  // Pixels with data: the sum of every cell's count.
  std::uint64_t Pixels() const { return pixels_; }
  std::uint64_t NoData() const { return noData_; }
  std::uint64_t BelowTable() const { return belowTable_; }
  std::uint64_t AboveTable() const { return aboveTable_; }
  // The busiest cell's count (0 for a scene without data).
  std::uint64_t Largest() const;

  // `count` pixels as ColouredScene::Cells gives them: a column or kNoDataColumn, a brightness
  // row, a side.
  void AddCells(const std::uint8_t* columns, const std::uint8_t* brightness, const TableSide* sides, std::size_t count);
  void AddNoData(std::uint64_t count) { noData_ += count; }

  friend bool operator==(const SceneDensity&, const SceneDensity&) = default;

 private:
  static std::size_t Index(int column, int brightness) {
    return static_cast<std::size_t>(column) * kTableHeight + static_cast<std::size_t>(brightness);
  }

  std::vector<std::uint64_t> counts_;  // column by column, each with its 256 rows
  std::uint64_t pixels_ = 0, noData_ = 0, belowTable_ = 0, aboveTable_ = 0;
};

}  // namespace palettor
