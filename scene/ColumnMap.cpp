#include "ColumnMap.h"

#include <cmath>

#include "LutTable.h"

namespace palettor {

bool IsUsableScale(IrScale scale) {
  // The span must be finite too: an infinite one times level 0 is not a number, and level 0
  // would lose its temperature `black`.
  return std::isfinite(scale.black) && std::isfinite(scale.white) && scale.black != scale.white &&
         std::isfinite(scale.white - scale.black);
}

double TemperatureOfLevel(IrScale scale, int level, int maxLevel) {
  return scale.black + ((scale.white - scale.black) * level) / maxLevel;
}

int ColumnOfTemperature(double celsius) {
  constexpr double kColdest = kTableFirstCelsius;
  constexpr double kWarmest = kTableFirstCelsius + kTableWidth - 1;
  double degree = std::floor(celsius + 0.5);
  // Written so that NaN fails the first test: no undefined conversion for any input.
  if (!(degree >= kColdest)) degree = kColdest;
  if (degree > kWarmest) degree = kWarmest;
  return static_cast<int>(degree) - kTableFirstCelsius;
}

TableSide SideOfTemperature(double celsius) {
  const double degree = std::floor(celsius + 0.5);
  if (degree < kTableFirstCelsius) return TableSide::Below;
  if (degree > kTableFirstCelsius + kTableWidth - 1) return TableSide::Above;
  return TableSide::Within;
}

ColumnMap::ColumnMap(IrScale scale, GreyDepth depth)
    : scale_(scale), depth_(depth), columns_(static_cast<std::size_t>(MaxLevel(depth)) + 1) {
  const int maxLevel = MaxLevel(depth);
  for (int level = 0; level <= maxLevel; ++level) {
    columns_[static_cast<std::size_t>(level)] =
        static_cast<std::uint8_t>(ColumnOfTemperature(TemperatureOfLevel(scale, level, maxLevel)));
  }
}

}  // namespace palettor
