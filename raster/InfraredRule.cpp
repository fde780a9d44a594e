#include "InfraredRule.h"

#include <algorithm>
#include <array>

#include "AsciiCase.h"

namespace palettor {

std::optional<TemperatureUnit> TemperatureUnitNamed(std::string_view name) {
  constexpr std::array<std::string_view, 2> kKelvin = {"K", "kelvin"};
  constexpr std::array<std::string_view, 5> kCelsius = {"C", "degC", "deg_C", "celsius", "\u00b0C"};
  const auto named = [&](std::string_view candidate) { return SameIgnoringCase(name, candidate); };
  if (std::ranges::any_of(kKelvin, named)) return TemperatureUnit::Kelvin;
  if (std::ranges::any_of(kCelsius, named)) return TemperatureUnit::Celsius;
  return std::nullopt;
}

std::string_view TemperatureUnitSymbol(TemperatureUnit unit) { return unit == TemperatureUnit::Kelvin ? "K" : "C"; }

}  // namespace palettor
