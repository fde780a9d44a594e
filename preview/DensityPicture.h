#pragma once
// The table as the main window draws it (three screen pixels per column, brightness 255 at the
// top) with a scene's density over it: cells the scene never uses at a quarter of their
// brightness, used cells at full colour, and the busiest cells outlined.
//
// The busiest cells are the fewest, busiest first, that hold a quarter of the scene's pixels
// (every cell as busy as the last one taken counts too). They depend on the scene alone, so they
// are worked out once per scene; a new table only redraws.
#include <QImage>
#include <cstdint>
#include <vector>

#include "LutTable.h"
#include "SceneDensity.h"
#include "TableCell.h"

namespace palettor {

class DensityPicture {
 public:
  static constexpr int kColumnWidth = 3;
  static constexpr int kWidth = kTableWidth * kColumnWidth;
  static constexpr int kHeight = kTableHeight;

  // nullptr: no scene, every cell at full colour and none outlined.
  void SetCounts(const SceneDensity* counts);
  bool IsUsed(TableCell cell) const;
  bool IsBusiest(TableCell cell) const;

  // Draws into `picture`, made kWidth x kHeight RGB32 when it is not; allocates nothing then.
  void Draw(const LutPixels& table, QImage& picture) const;

 private:
  static std::size_t Index(TableCell cell) {
    return static_cast<std::size_t>(cell.column) * kTableHeight + static_cast<std::size_t>(cell.brightness);
  }
  bool hasCounts_ = false;
  std::vector<std::uint8_t> used_ = std::vector<std::uint8_t>(kTablePixels, 1);
  std::vector<std::uint8_t> busiest_ = std::vector<std::uint8_t>(kTablePixels);
  std::vector<int> outline_;  // picture pixels (y * kWidth + x) on the busiest cells' outline
};

}  // namespace palettor
