#include <gtest/gtest.h>

#include "AnchorPalette.h"
#include "CaseName.h"

namespace palettor {
namespace {

TEST(AnchorSuffix, NamesEveryAnchor) {
  const char* const expected[] = {"M70", "M60", "M50", "M40", "M30", "M20", "M10", "O0", "P10", "P20", "P30", "P40"};
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) EXPECT_EQ(AnchorSuffix(i), expected[AnchorSlot(i)]) << i;
}

TEST(AnchorSuffix, ZeroIsTheLetterOThenTheDigitZero) { EXPECT_EQ(AnchorSuffix(0), std::string("O") + "0"); }

TEST(AnchorSuffix, HandlesIndicesBeyondTheAnchors) {
  EXPECT_EQ(AnchorSuffix(-10), "M100");
  EXPECT_EQ(AnchorSuffix(99), "P990");
  EXPECT_EQ(AnchorSuffix(-214748364), "M214748364");  // at most nine digits after the M
  EXPECT_EQ(AnchorSuffix(-2147483647 - 1), "M214748364");
}

struct DeriveCase {
  std::int32_t hue, saturation;
  PackedColour colour;
};
void PrintTo(const DeriveCase& c, std::ostream* os) { *os << "hue " << c.hue << " sat " << c.saturation; }

class DeriveAnchorColourCases : public testing::TestWithParam<DeriveCase> {};

TEST_P(DeriveAnchorColourCases, GivesTheExpectedColour) {
  const DeriveCase c = GetParam();
  EXPECT_EQ(DeriveAnchorColour(c.hue, c.saturation), c.colour) << std::hex << c.colour;
}

INSTANTIATE_TEST_SUITE_P(Examples, DeriveAnchorColourCases,
                         testing::Values(DeriveCase{0, 100, 0x0000FF}, DeriveCase{360, 100, 0x0000FF},
                                         DeriveCase{120, 100, 0x00FF00}, DeriveCase{240, 100, 0xFF0000},
                                         DeriveCase{60, 100, 0x00FFFF}, DeriveCase{300, 100, 0xFF00FF},
                                         DeriveCase{200, 100, 0xFFAA00},
                                         DeriveCase{30, 50, 0x80BFFF},   // 191.25 -> 191, 127.5 -> 128
                                         DeriveCase{220, 70, 0xFF884D},  // red 77, not 76
                                         DeriveCase{0, 0, 0xFFFFFF}, DeriveCase{359, 0, 0xFFFFFF}),
                         test::CaseName<DeriveCase>);

// Values only a hand-edited store can hold: hues wrap, saturations clamp.
INSTANTIATE_TEST_SUITE_P(OutOfRange, DeriveAnchorColourCases,
                         testing::Values(DeriveCase{-120, 100, 0xFF0000},  // = 240
                                         DeriveCase{480, 100, 0x00FF00},   // = 120
                                         DeriveCase{-1, 100, 0x0400FF},    // = 359
                                         DeriveCase{200, 150, 0xFFAA00},   // = 100 %
                                         DeriveCase{200, -5, 0xFFFFFF}),   // = 0 %
                         test::CaseName<DeriveCase>);

TEST(DeriveAnchorColour, ExtremeHuesWrapLikeSmallOnes) {
  EXPECT_EQ(DeriveAnchorColour(2147483647, 100), DeriveAnchorColour(127, 100));       // 2^31 - 1 = 127 mod 360
  EXPECT_EQ(DeriveAnchorColour(-2147483647 - 1, 100), DeriveAnchorColour(232, 100));  // -2^31 = 232 mod 360
  EXPECT_EQ(DeriveAnchorColour(720, 100), DeriveAnchorColour(0, 100));
}

TEST(DeriveAnchorColour, ZeroSaturationIsWhiteForEveryHue) {
  for (int hue = 0; hue <= 360; ++hue) EXPECT_EQ(DeriveAnchorColour(hue, 0), 0xFFFFFFu) << hue;
}

TEST(FactoryPalette, DerivesToTheListedColours) {
  const PackedColour expected[] = {0xFF884D, 0xFCEDFF, 0xFFE0F0, 0xFFDBE1, 0xFFE4DB, 0xFFF2E0,
                                   0xFFFDE8, 0xFFFFFF, 0xE0FFF2, 0xCFFBFF, 0xBFE4FF, 0xBFCFFF};
  const AnchorColours colours = DeriveAnchorColours(FactoryPalette());
  for (std::size_t i = 0; i < colours.size(); ++i) EXPECT_EQ(colours[i], expected[i]) << AnchorSuffix(int(i) - 7);
}

TEST(FactoryPalette, HoldsTheListedHuesAndSaturations) {
  const AnchorValue expected[] = {{220, 70}, {310, 7}, {270, 12}, {250, 14}, {225, 14}, {205, 12},
                                  {185, 9},  {100, 0}, {85, 12},  {55, 19},  {35, 25},  {15, 25}};
  const AnchorValues& palette = FactoryPalette();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    EXPECT_EQ(palette[i].hue, expected[i].hue) << i;
    EXPECT_EQ(palette[i].saturation, expected[i].saturation) << i;
  }
}

TEST(FactoryPalette, DerivingTwiceGivesTheSameColours) {
  EXPECT_EQ(DeriveAnchorColours(FactoryPalette()), DeriveAnchorColours(FactoryPalette()));
}

}  // namespace
}  // namespace palettor
