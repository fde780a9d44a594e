#pragma once
// Float RGB <-> HSV, hue in degrees, saturation and value in 0 ... 1.
// Results come back through references, in the order red, green, blue or hue, saturation, value.

namespace palettor {

void RGBToHSV(float red, float green, float blue, float& hue, float& saturation, float& value);

// Hues in 0 ... 360 convert as they always have (360 counts as 0). A hue outside that
// range, which only a hand-edited setting can produce, is wrapped into it first
// (-10 -> 350, 370 -> 10), and a saturation outside 0 ... 1 is clamped, so every output
// is always assigned.
void HSVToRGB(float hue, float saturation, float value, float& red, float& green, float& blue);

}  // namespace palettor
