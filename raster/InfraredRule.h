#pragma once
// How an infrared channel's values become temperatures, from the band's unit:
//   "K" or "kelvin"                                   T = value - 273.15
//   "C", "degC", "deg_C", "celsius" or "°C"          T = value
// (letters in any case). A band without a unit whose pixels are 8- or 16-bit levels follows
// the level rule of ColumnMap.h, with the scale the user sets. `--ir-unit` names the unit of a
// band that states none, or a wrong one. Any other band cannot be coloured.
#include <optional>
#include <string>
#include <string_view>

#include "GreyImage.h"

namespace palettor {

enum class TemperatureUnit { Kelvin, Celsius };

// Nothing for a name that is none of the above.
std::optional<TemperatureUnit> TemperatureUnitNamed(std::string_view name);

// Degrees Celsius of a value in `unit`: for kelvin the subtraction comes last, after scale and offset.
inline double Celsius(double value, TemperatureUnit unit) {
  return unit == TemperatureUnit::Kelvin ? value - 273.15 : value;
}

struct InfraredRule {
  std::optional<TemperatureUnit> unit;  // nothing: the level rule
  GreyDepth levelDepth = GreyDepth::Eight;
};

// "K" or "C".
std::string_view TemperatureUnitSymbol(TemperatureUnit unit);

}  // namespace palettor
