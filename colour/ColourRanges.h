#pragma once
// The whole numbers people set a colour with: a hue in degrees around the colour circle (0 and
// 360 are the same red) and a saturation, or a share of the table's rows, in percent. The
// settings catalogue gives these ranges to everything that shows, takes or checks such a number.
#include <cstdint>

namespace palettor {

inline constexpr std::int32_t kMaxHueDegrees = 360;
inline constexpr std::int32_t kMaxPercent = 100;
// The highest night floor, in percent of full brightness.
inline constexpr std::int32_t kMaxNightFloorPercent = 50;

}  // namespace palettor
