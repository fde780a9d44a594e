#include "LutTable.h"

#include <algorithm>
#include <optional>

#include "ColourConversions.h"
#include "ColourRanges.h"
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

// Brightness k / 255 as stored, raised to at least `floor`, and the channel byte that value
// alone gives.
struct Ramp {
  std::array<float, kTableHeight> value{};
  std::array<std::uint8_t, kTableHeight> valueByte{};
  explicit Ramp(float floor) {
    for (int k = 0; k < kTableHeight; ++k) {
      value[static_cast<std::size_t>(k)] = std::max(Stored(k / 255.0), floor);
      valueByte[static_cast<std::size_t>(k)] =
          static_cast<std::uint8_t>(TableChannel(value[static_cast<std::size_t>(k)]));
    }
  }
};

const Ramp& BrightnessRamp() {
  static const Ramp ramp(0.0f);
  return ramp;
}

// The first column the blue tail can cover; the night floor lifts only the columns below it.
constexpr int kFirstTailCelsius = 2;

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

// Per-row working values of one column.
struct ColumnScratch {
  std::array<float, kTableHeight> saturation;
  std::array<std::int32_t, kTableHeight> pByte;
  std::array<std::int32_t, kTableHeight> otherByte;
};

// Rows [from, 256) of one column, saturation c up to fadeFrom and fading to 0 above it:
// HSVToRGB(hue, s[k], ramp.value[k]) and the table's channel rule, written into the table column
// whose bottom pixel is `bottom`. This is HSVToRGB with what depends only on the column
// worked out once and the rest laid out as plain loops over k that the compiler can
// vectorise; the operations and their order, and so every rounding, are those of HSVToRGB.
// (A saturation of 0 needs no branch: p and the third term then equal v exactly.)
// Also built for AVX2, picked at load time where the processor has it; the results are the
// same either way, since contraction to fused multiply-add stays off.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("avx2", "default")))
#endif
void FillColumnRows(const HueSector& hs, const SectorLayout& layout, float c, int from, int fadeFrom, const Ramp& ramp,
                    ColumnScratch& scratch, PackedColour* bottom) {
  std::fill(scratch.saturation.begin() + from, scratch.saturation.begin() + fadeFrom, c);
  // The fade to white starts at full saturation at k = 128 and the divisor is 127.
  for (int k = fadeFrom; k < kTableHeight; ++k) {
    scratch.saturation[static_cast<std::size_t>(k)] = Stored((255 - k) * double{c} / 127.0);
  }
  const double f = hs.fraction;
  const double oneMinusF = 1.0 - f;
  if (layout.otherIsQ) {
    for (int k = from; k < kTableHeight; ++k) {
      const auto i = static_cast<std::size_t>(k);
      const double s = scratch.saturation[i];
      const double v = ramp.value[i];
      scratch.pByte[i] = TableChannel(Stored((1.0 - s) * v));
      scratch.otherByte[i] = TableChannel(Stored((1.0 - s * f) * v));
    }
  } else {
    for (int k = from; k < kTableHeight; ++k) {
      const auto i = static_cast<std::size_t>(k);
      const double s = scratch.saturation[i];
      const double v = ramp.value[i];
      scratch.pByte[i] = TableChannel(Stored((1.0 - s) * v));
      scratch.otherByte[i] = TableChannel(Stored((1.0 - oneMinusF * s) * v));
    }
  }
  const int vShift = kShift[layout.vChannel], pShift = kShift[layout.pChannel], oShift = kShift[layout.otherChannel];
  for (int k = from; k < kTableHeight; ++k) {
    const auto i = static_cast<std::size_t>(k);
    bottom[-k * kTableWidth] = (PackedColour{ramp.valueByte[i]} << vShift) |
                               (static_cast<PackedColour>(scratch.pByte[i]) << pShift) |
                               (static_cast<PackedColour>(scratch.otherByte[i]) << oShift);
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
  // The rows of the night floor's columns are as bright as their row, or as the floor if darker.
  const int nightFloor = std::clamp(in.nightFloorPercent, 0, kMaxNightFloorPercent);
  std::optional<Ramp> raised;
  const Ramp& nightRamp = nightFloor == 0 ? BrightnessRamp() : raised.emplace(Stored(nightFloor / 100.0));

  ColumnScratch scratch;
  for (int t = kTableFirstCelsius; t < kTableFirstCelsius + kTableWidth; ++t) {
    // Row k of this column is at bottom[-k * kTableWidth].
    PackedColour* bottom = pixels.data() + (kTableHeight - 1) * kTableWidth + (t - kTableFirstCelsius);
    const FloatRGB col = ColumnColour(in, t);
    float hue = 0, c0 = 0, unusedValue = 0;
    RGBToHSV(col.r, col.g, col.b, hue, c0, unusedValue);
    float c = in.whiteTop ? Stored(double{c0} * 1.5) : c0;
    if (c > 1.0f) c = 1.0f;

    const int firstRow = t >= kFirstTailCelsius ? tailRows : 0;
    const int fadeFrom = std::max(in.whiteTop ? 128 : kTableHeight, firstRow);
    const HueSector hs = SectorOfHue(hue);
    FillColumnRows(hs, kSectorLayout[hs.sector], c, firstRow, fadeFrom,
                   t < kFirstTailCelsius ? nightRamp : BrightnessRamp(), scratch, bottom);

    if (firstRow > 0) {
      // The tail's brightness depends on the column only, not on k.
      const float tailValue = Stored((t / 39.0 + 1.0) * 0.35);
      float r = 0, g = 0, b = 0;
      HSVToRGB(tailHue, tailSat, tailValue, r, g, b);
      const PackedColour tail = TablePixel(r, g, b);
      for (int k = 0; k < firstRow; ++k) bottom[-k * kTableWidth] = tail;
    }
  }
}

TableInputs MakeTableInputs(const AnchorColours& colours, AnchorValue blueTail, std::int32_t tailPercent, bool whiteTop,
                            bool smoothColours) {
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
