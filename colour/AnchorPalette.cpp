#include "AnchorPalette.h"

#include <algorithm>
#include <cmath>

#include "ColourConversions.h"
#include "ColourRanges.h"
#include "FloatRule.h"

namespace palettor {

std::string AnchorSuffix(int index) {
  const std::string tens = std::to_string(static_cast<std::int64_t>(index) * 10);
  if (index < 0) return "M" + tens.substr(1, 9);
  if (index > 0) return "P" + tens;
  return "O" + tens;
}

std::string AnchorName(int index) {
  if (index == kBlueTailAnchor) return "blue tail";
  const std::string degrees = std::to_string(static_cast<std::int64_t>(index < 0 ? -index : index) * 10);
  const char* sign = index < 0 ? "\u2212" : index > 0 ? "+" : "";
  return sign + degrees + " \u00b0C";
}

std::int32_t WrapHueDegrees(std::int32_t hue) {
  if (hue >= 0 && hue <= kMaxHueDegrees) return hue;
  const std::int32_t wrapped = hue % kMaxHueDegrees;
  return wrapped < 0 ? wrapped + kMaxHueDegrees : wrapped;
}

std::int32_t ClampSaturationPercent(std::int32_t saturation) { return std::clamp(saturation, 0, kMaxPercent); }

namespace {

// Channels are at most 1, so the product with 255 is exact in double and only a channel of
// exactly 0.5 lands halfway (127.5), which rounds up to 128.
int RoundChannel(float channel) { return static_cast<int>(std::lround(double{channel} * 255.0)); }

}  // namespace

PackedColour DeriveAnchorColour(std::int32_t hue, std::int32_t saturation) {
  const float h = static_cast<float>(WrapHueDegrees(hue));
  const float s = Stored(double{static_cast<float>(ClampSaturationPercent(saturation))} / 100.0);
  float red = 0, green = 0, blue = 0;
  HSVToRGB(h, s, 1.0f, red, green, blue);
  return PackRGB(RoundChannel(red), RoundChannel(green), RoundChannel(blue));
}

const AnchorValues& FactoryPalette() {
  static const AnchorValues palette{{
      {220, 70},  // M70, blue tail
      {310, 7},   // M60
      {270, 12},  // M50
      {250, 14},  // M40
      {225, 14},  // M30
      {205, 12},  // M20
      {185, 9},   // M10
      {100, 0},   // O0
      {85, 12},   // P10
      {55, 19},   // P20
      {35, 25},   // P30
      {15, 25},   // P40
  }};
  return palette;
}

AnchorColours DeriveAnchorColours(const AnchorValues& values) {
  AnchorColours colours{};
  for (std::size_t i = 0; i < values.size(); ++i) colours[i] = DeriveAnchorColour(values[i].hue, values[i].saturation);
  return colours;
}

}  // namespace palettor
