#include "LutTable.h"

#include "ColourConversions.h"
#include "FloatRule.h"

namespace palettor {

namespace {

struct FloatRGB {
  float r, g, b;
};

FloatRGB Unpack(PackedColour c) {
  return {Stored(RedOf(c) / 255.0), Stored(GreenOf(c) / 255.0), Stored(BlueOf(c) / 255.0)};
}

// Truncation after x 255.9 (not rounding after x 255) is what the table has always used.
int TableChannel(float channel) { return static_cast<int>(Stored(double{channel} * 255.9)); }

PackedColour TablePixel(float r, float g, float b) {
  return PackRGB(TableChannel(r), TableChannel(g), TableChannel(b));
}

// Colour of column t (degrees) before it is re-lit by the brightness ramp.
FloatRGB ColumnColour(const TableInputs& in, int t) {
  int a = (t + 60) / 10 - 6;
  int b = a + 1;
  if (t >= -1 && t <= 1) a = b = 0;
  const FloatRGB ca = Unpack(in.anchorColours[static_cast<std::size_t>(a + 6)]);
  const FloatRGB cb = Unpack(in.anchorColours[static_cast<std::size_t>(b + 6)]);
  if (!in.smoothColours) return t >= 1 ? cb : ca;
  const float w = Stored(((t + 100) % 10) / 10.0);
  const double wd = w;
  return {Stored((1.0 - wd) * ca.r + wd * cb.r), Stored((1.0 - wd) * ca.g + wd * cb.g),
          Stored((1.0 - wd) * ca.b + wd * cb.b)};
}

}  // namespace

void GenerateTable(const TableInputs& in, LutPixels& pixels) {
  const float tailHue = static_cast<float>(WrapHueDegrees(in.tailHue));
  const float tailSat = Stored(static_cast<double>(ClampSaturationPercent(in.tailSaturation)) / 100.0);
  const std::int64_t tailPercent = in.tailPercent;

  for (int t = kTableFirstCelsius; t < kTableFirstCelsius + kTableWidth; ++t) {
    const int x = t - kTableFirstCelsius;
    const FloatRGB col = ColumnColour(in, t);
    float hue = 0, c0 = 0, unusedValue = 0;
    RGBToHSV(col.r, col.g, col.b, hue, c0, unusedValue);
    float c = in.whiteTop ? Stored(double{c0} * 1.5) : c0;
    if (c > 1.0f) c = 1.0f;

    // The tail's brightness depends on the column only.
    const float tailValue = Stored((t / 39.0 + 1.0) * 0.35);
    PackedColour tailPixel = 0;
    if (t >= 2) {
      float r = 0, g = 0, b = 0;
      HSVToRGB(tailHue, tailSat, tailValue, r, g, b);
      tailPixel = TablePixel(r, g, b);
    }

    for (int k = 0; k < kTableHeight; ++k) {
      PackedColour pixel;
      if (t >= 2 && (static_cast<std::int64_t>(k) * 100) / 255 < tailPercent) {
        pixel = tailPixel;
      } else {
        const float v = Stored(k / 255.0);
        // The fade to white starts at full saturation at k = 128 and the divisor is 127.
        const float s = (in.whiteTop && k >= 128) ? Stored((255 - k) * double{c} / 127.0) : c;
        float r = 0, g = 0, b = 0;
        HSVToRGB(hue, s, v, r, g, b);
        pixel = TablePixel(r, g, b);
      }
      pixels[static_cast<std::size_t>((kTableHeight - 1 - k) * kTableWidth + x)] = pixel;
    }
  }
}

TableInputs MakeTableInputs(const AnchorColours& colours, AnchorValue blueTail, std::int32_t tailPercent,
                            bool whiteTop, bool smoothColours) {
  TableInputs in;
  for (int i = -6; i <= kLastAnchor; ++i) in.anchorColours[static_cast<std::size_t>(i + 6)] = colours[AnchorSlot(i)];
  in.tailHue = blueTail.hue;
  in.tailSaturation = blueTail.saturation;
  in.tailPercent = tailPercent;
  in.whiteTop = whiteTop;
  in.smoothColours = smoothColours;
  return in;
}

TableInputs FactoryTableInputs(std::int32_t tailPercent, bool whiteTop, bool smoothColours) {
  const AnchorValues& factory = FactoryPalette();
  return MakeTableInputs(DeriveAnchorColours(factory), factory[AnchorSlot(kBlueTailAnchor)], tailPercent, whiteTop,
                         smoothColours);
}

}  // namespace palettor
