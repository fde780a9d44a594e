#include "LutTable.h"

#include <algorithm>

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

// Brightness k / 255 as stored, and the channel byte that value alone gives.
struct Ramp {
  std::array<float, kTableHeight> value{};
  std::array<std::uint8_t, kTableHeight> valueByte{};
  Ramp() {
    for (int k = 0; k < kTableHeight; ++k) {
      value[static_cast<std::size_t>(k)] = Stored(k / 255.0);
      valueByte[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(TableChannel(value[static_cast<std::size_t>(k)]));
    }
  }
};

const Ramp& BrightnessRamp() {
  static const Ramp ramp;
  return ramp;
}

// Bit positions of red, green and blue in a packed colour.
constexpr int kShift[3] = {0, 8, 16};

// Which channel takes v, p and the third term (q or t) in each hue sector.
struct SectorLayout {
  int vChannel, pChannel, otherChannel;
  bool otherIsQ;
};
constexpr SectorLayout kSectorLayout[6] = {
    {0, 2, 1, false},  // v t p
    {1, 2, 0, true},   // q v p
    {1, 0, 2, false},  // p v t
    {2, 0, 1, true},   // p q v
    {2, 1, 0, false},  // t p v
    {0, 1, 2, true},   // v p q
};

// One column of HSVToRGB(hue, s, k / 255) for rows k in [from, to), written bottom-up into
// `column` (index k). It is HSVToRGB with the parts that depend only on the column and on s
// worked out once; the operations and their order, and so every rounding, are the same.
void FillColumnRows(const HueSector& hs, const SectorLayout& layout, float s, int from, int to,
                    std::array<PackedColour, kTableHeight>& column) {
  const Ramp& ramp = BrightnessRamp();
  if (s == 0.0f) {
    for (int k = from; k < to; ++k) {
      const auto i = static_cast<std::size_t>(k);
      column[i] = PackRGB(ramp.valueByte[i], ramp.valueByte[i], ramp.valueByte[i]);
    }
    return;
  }
  const double pFactor = 1.0 - double{s};
  const double otherFactor = layout.otherIsQ ? 1.0 - double{s} * double{hs.fraction}
                                             : 1.0 - (1.0 - double{hs.fraction}) * double{s};
  for (int k = from; k < to; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const double v = ramp.value[i];
    const auto p = static_cast<PackedColour>(TableChannel(Stored(pFactor * v)));
    const auto o = static_cast<PackedColour>(TableChannel(Stored(otherFactor * v)));
    column[i] = (PackedColour{ramp.valueByte[i]} << kShift[layout.vChannel]) | (p << kShift[layout.pChannel]) |
                (o << kShift[layout.otherChannel]);
  }
}

}  // namespace

void GenerateTable(const TableInputs& in, LutPixels& pixels) {
  const float tailHue = static_cast<float>(WrapHueDegrees(in.tailHue));
  const float tailSat = Stored(static_cast<double>(ClampSaturationPercent(in.tailSaturation)) / 100.0);
  // Rows k with (k * 100) div 255 < P, that is k < ceil(255 P / 100), take the blue tail.
  const std::int64_t tailPercent = in.tailPercent;
  int tailRows = 0;
  while (tailRows < kTableHeight && (static_cast<std::int64_t>(tailRows) * 100) / 255 < tailPercent) ++tailRows;

  std::array<PackedColour, kTableHeight> column{};
  for (int t = kTableFirstCelsius; t < kTableFirstCelsius + kTableWidth; ++t) {
    const int x = t - kTableFirstCelsius;
    const FloatRGB col = ColumnColour(in, t);
    float hue = 0, c0 = 0, unusedValue = 0;
    RGBToHSV(col.r, col.g, col.b, hue, c0, unusedValue);
    float c = in.whiteTop ? Stored(double{c0} * 1.5) : c0;
    if (c > 1.0f) c = 1.0f;

    const HueSector hs = SectorOfHue(hue);
    const SectorLayout& layout = kSectorLayout[hs.sector];
    const int firstRow = t >= 2 ? tailRows : 0;
    const int fadeFrom = in.whiteTop ? 128 : kTableHeight;
    if (firstRow < fadeFrom) FillColumnRows(hs, layout, c, firstRow, fadeFrom, column);
    // The fade to white starts at full saturation at k = 128 and the divisor is 127.
    for (int k = std::max(fadeFrom, firstRow); k < kTableHeight; ++k) {
      FillColumnRows(hs, layout, Stored((255 - k) * double{c} / 127.0), k, k + 1, column);
    }
    if (t >= 2 && tailRows > 0) {
      // The tail's brightness depends on the column only, not on k.
      const float tailValue = Stored((t / 39.0 + 1.0) * 0.35);
      float r = 0, g = 0, b = 0;
      HSVToRGB(tailHue, tailSat, tailValue, r, g, b);
      const PackedColour tailPixel = TablePixel(r, g, b);
      std::fill(column.begin(), column.begin() + tailRows, tailPixel);
    }
    for (int k = 0; k < kTableHeight; ++k) {
      pixels[static_cast<std::size_t>((kTableHeight - 1 - k) * kTableWidth + x)] = column[static_cast<std::size_t>(k)];
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
