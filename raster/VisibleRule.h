#pragma once
// How a visible channel's values become table rows, from the band's unit:
//   "%"                                   r = value / 100
//   "1", "reflectance" or "albedo"        r = value
// and then
//   row = clamp(floor(255 × clamp(r, 0, 1)^(1/γ) + 0.5), 0, 255)
// with the display gamma γ (> 0; 1 leaves r as it is). A band without a unit whose pixels are
// 8- or 16-bit levels takes the level rule of SceneColouriser.h (the level, or its top 8
// bits). `--vis-unit` names the unit of a band that states none, or a wrong one.
#include <cmath>
#include <optional>
#include <string_view>

#include "GreyImage.h"

namespace palettor {

enum class ReflectanceUnit { Percent, Fraction };

std::optional<ReflectanceUnit> ReflectanceUnitNamed(std::string_view name);

// "%" or "1".
std::string_view ReflectanceUnitSymbol(ReflectanceUnit unit);

struct VisibleRule {
  std::optional<ReflectanceUnit> unit;  // nothing: the level rule
  GreyDepth levelDepth = GreyDepth::Eight;
  double gamma = 1.0;
};

inline double Reflectance(double value, ReflectanceUnit unit) {
  return unit == ReflectanceUnit::Percent ? value / 100.0 : value;
}

// The row, counted from the bottom, of a reflectance that is a number.
inline int RowOfReflectance(double reflectance, double gamma) {
  // Written so that NaN takes row 0: no undefined conversion for any input.
  double r = reflectance > 0.0 ? (reflectance < 1.0 ? reflectance : 1.0) : 0.0;
  if (gamma != 1.0) r = std::pow(r, 1.0 / gamma);
  const double row = std::floor(255.0 * r + 0.5);
  return row < 0.0 ? 0 : (row > 255.0 ? 255 : static_cast<int>(row));
}

}  // namespace palettor
