#include "VisibleRule.h"

#include <algorithm>
#include <array>

#include "AsciiCase.h"

namespace palettor {

std::optional<ReflectanceUnit> ReflectanceUnitNamed(std::string_view name) {
  if (name == "%") return ReflectanceUnit::Percent;
  constexpr std::array<std::string_view, 3> kFraction = {"1", "reflectance", "albedo"};
  const auto named = [&](std::string_view candidate) { return SameIgnoringCase(name, candidate); };
  if (std::ranges::any_of(kFraction, named)) return ReflectanceUnit::Fraction;
  return std::nullopt;
}

std::string_view ReflectanceUnitSymbol(ReflectanceUnit unit) { return unit == ReflectanceUnit::Percent ? "%" : "1"; }

}  // namespace palettor
