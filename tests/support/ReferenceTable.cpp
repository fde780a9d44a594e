#include "ReferenceTable.h"

#include "ColourConversions.h"

namespace palettor::test {

namespace {

float F(double x) { return static_cast<float>(x); }

}  // namespace

void ReferenceTable(const TableInputs& in, LutPixels& pixels) {
  const auto p = in.tailPercent;
  const bool w = in.whiteTop;
  const float f = F(in.nightFloorPercent / 100.0);
  for (int t = -60; t <= 39; ++t) {
    int a = ((t + 60) / 10) - 6;
    int b = a + 1;
    if (-1 <= t && t <= 1) a = b = 0;
    const PackedColour ca = in.anchorColours[static_cast<std::size_t>(a + 6)];
    const PackedColour cb = in.anchorColours[static_cast<std::size_t>(b + 6)];
    const float rA = F(RedOf(ca) / 255.0), gA = F(GreenOf(ca) / 255.0), bA = F(BlueOf(ca) / 255.0);
    const float rB = F(RedOf(cb) / 255.0), gB = F(GreenOf(cb) / 255.0), bB = F(BlueOf(cb) / 255.0);
    const float wt = F(((t + 100) % 10) / 10.0);
    float r, g, bl;
    if (in.smoothColours) {
      r = F((1 - double{wt}) * rA + double{wt} * rB);
      g = F((1 - double{wt}) * gA + double{wt} * gB);
      bl = F((1 - double{wt}) * bA + double{wt} * bB);
    } else if (t >= 1) {
      r = rB, g = gB, bl = bB;
    } else {
      r = rA, g = gA, bl = bA;
    }
    float h, c0, unused;
    RGBToHSV(r, g, bl, h, c0, unused);
    float c = w ? F(double{c0} * 1.5) : c0;
    if (c > 1) c = 1;
    for (int k = 0; k <= 255; ++k) {
      // The night floor: the columns -60 ... +1 degrees are never darker than f.
      float v = F(k / 255.0);
      if (t <= 1 && v < f) v = f;
      const float s = (w && k >= 128) ? F(((255 - k) * double{c}) / 127) : c;
      float R, G, B;
      HSVToRGB(h, s, v, R, G, B);
      if (t >= 2 && (k * 100) / 255 < p) {
        const float vt = F((t / 39.0 + 1) * 0.35);
        HSVToRGB(static_cast<float>(in.tailHue), F(in.tailSaturation / 100.0), vt, R, G, B);
      }
      const int red = static_cast<int>(F(double{R} * 255.9));
      const int green = static_cast<int>(F(double{G} * 255.9));
      const int blue = static_cast<int>(F(double{B} * 255.9));
      pixels[static_cast<std::size_t>((255 - k) * 100 + (t + 60))] = PackRGB(red, green, blue);
    }
  }
}

}  // namespace palettor::test
