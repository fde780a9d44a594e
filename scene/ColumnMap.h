#pragma once
// Which table column an infrared level falls in.
//
// The infrared scale gives the temperatures of level 0 (`black`) and of the top level Lmax
// (`white`), in degrees Celsius. A level L stands for
//     T = black + ((white - black) * L) / Lmax        (double precision, in this order)
// and lies in column
//     c = clamp(floor(T + 0.5), -60, 39) + 60         (a half rounds up, towards +infinity)
// so the same image gives the same columns everywhere the rule is used.
#include <cstdint>
#include <vector>

#include "GreyImage.h"

namespace palettor {

struct IrScale {
  double black = 40.0;  // infrared images show cold clouds white
  double white = -60.0;
  friend bool operator==(const IrScale&, const IrScale&) = default;
};

// A scale the user may set: both ends finite and different, and the span between them finite.
bool IsUsableScale(IrScale scale);

double TemperatureOfLevel(IrScale scale, int level, int maxLevel);

// 0 ... 99; a temperature that is not a number takes the coldest column.
int ColumnOfTemperature(double celsius);

// Whether ColumnOfTemperature holds a temperature to an edge column: rounded as it rounds, below
// -60 or above +39 degrees. A temperature that is not a number lies within (it is no data).
enum class TableSide : std::uint8_t { Within, Below, Above };
TableSide SideOfTemperature(double celsius);

// The column of every level of one depth, worked out once per scale.
class ColumnMap {
 public:
  ColumnMap(IrScale scale, GreyDepth depth);

  IrScale Scale() const { return scale_; }
  GreyDepth Depth() const { return depth_; }
  int Column(int level) const { return columns_[static_cast<std::size_t>(level)]; }
  // MaxLevel(Depth()) + 1 entries, indexed by level.
  const std::uint8_t* Data() const { return columns_.data(); }

 private:
  IrScale scale_;
  GreyDepth depth_;
  std::vector<std::uint8_t> columns_;
};

}  // namespace palettor
