#include "ColourConversions.h"

#include <algorithm>
#include <cmath>

#include "ColourRanges.h"
#include "FloatRule.h"

namespace palettor {

namespace {

// The colour circle, in the two precisions the conversions work in.
constexpr double kCircle = kMaxHueDegrees;
constexpr float kCircleFloat = kMaxHueDegrees;

}  // namespace

void RGBToHSV(float red, float green, float blue, float& hue, float& saturation, float& value) {
  const float min = std::min({red, green, blue});
  const float max = std::max({red, green, blue});
  value = max;
  const float delta = Stored(double{max} - double{min});
  saturation = (max == 0.0f) ? 0.0f : Stored(double{delta} / double{max});
  if (saturation == 0.0f) {
    hue = 0.0f;
    return;
  }
  // On a tie for the maximum red wins over green, green over blue.
  if (red == max) {
    hue = Stored((double{green} - double{blue}) * 60.0 / double{delta});
  } else if (green == max) {
    hue = Stored((double{blue} - double{red}) * 60.0 / double{delta} + 120.0);
  } else {
    hue = Stored((double{red} - double{green}) * 60.0 / double{delta} + 240.0);
  }
  if (hue < 0.0f) hue = Stored(double{hue} + kCircle);
}

namespace {

float WrapHue(float hue) {
  if (hue >= 0.0f && hue <= kCircleFloat) return hue;
  if (!std::isfinite(hue)) return 0.0f;
  double wrapped = std::fmod(double{hue}, kCircle);
  if (wrapped < 0.0) wrapped += kCircle;
  const float stored = Stored(wrapped);
  return stored >= kCircleFloat ? 0.0f : stored;  // a tiny negative remainder can round up to the end
}

float ClampUnit(float x) {
  if (!(x >= 0.0f)) return 0.0f;  // also catches NaN
  return x > 1.0f ? 1.0f : x;
}

}  // namespace

HueSector SectorOfHue(float hue) {
  float h = WrapHue(hue);
  if (h == kCircleFloat) h = 0.0f;
  h = Stored(double{h} / 60.0);
  const int sector = static_cast<int>(h);  // 0 ... 5 now that h is below 6
  return {sector, Stored(double{h} - sector)};
}

void HSVToRGB(float hue, float saturation, float value, float& red, float& green, float& blue) {
  const float s = ClampUnit(saturation);
  const float v = value;
  if (s == 0.0f) {
    red = green = blue = v;
    return;
  }
  const auto [sector, f] = SectorOfHue(hue);
  const float p = Stored((1.0 - double{s}) * double{v});
  const float q = Stored((1.0 - double{s} * double{f}) * double{v});
  const float t = Stored((1.0 - (1.0 - double{f}) * double{s}) * double{v});
  switch (sector) {
    case 0:
      red = v;
      green = t;
      blue = p;
      break;
    case 1:
      red = q;
      green = v;
      blue = p;
      break;
    case 2:
      red = p;
      green = v;
      blue = t;
      break;
    case 3:
      red = p;
      green = q;
      blue = v;
      break;
    case 4:
      red = t;
      green = p;
      blue = v;
      break;
    default:
      red = v;
      green = p;
      blue = q;
      break;
  }
}

}  // namespace palettor
