#pragma once
// Float RGB <-> HSV, hue in degrees, saturation and value in 0 ... 1.
// Results come back through references, in the order red, green, blue or hue, saturation, value.

namespace palettor {

void RGBToHSV(float red, float green, float blue, float& hue, float& saturation, float& value);

// Hues on the colour circle (ColourRanges.h) convert as they always have (its end counts as 0). A hue outside that
// range, which only a hand-edited setting can produce, is wrapped into it first
// (-10 -> 350, 370 -> 10), and a saturation outside 0 ... 1 is clamped, so every output
// is always assigned.
void HSVToRGB(float hue, float saturation, float value, float& red, float& green, float& blue);

// Where a hue falls among the six 60-degree sectors, as HSVToRGB works it out: the sector
// 0 ... 5 and the fraction f of the way through it. Shared with the table generator, which
// works it out once per column.
struct HueSector {
  int sector;
  float fraction;
};
HueSector SectorOfHue(float hue);

}  // namespace palettor
