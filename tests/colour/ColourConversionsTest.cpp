#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "CaseName.h"
#include "ColourConversions.h"
#include "PackedColour.h"

namespace palettor {
namespace {

TEST(PackRGB, PutsRedInTheLowByte) {
  EXPECT_EQ(PackRGB(255, 0, 0), 0x0000FFu);
  EXPECT_EQ(PackRGB(0, 0, 255), 0xFF0000u);
  EXPECT_EQ(PackRGB(77, 136, 255), 0xFF884Du);
}

TEST(PackRGB, UsesOnlyTheLowEightBitsOfEachChannel) {
  EXPECT_EQ(PackRGB(257, 0, 0), 0x000001u);
  EXPECT_EQ(PackRGB(0, 256 + 2, 0), 0x000200u);
  EXPECT_EQ(PackRGB(-1, 0, 0), 0x0000FFu);
}

TEST(PackRGB, ChannelsComeBackOut) {
  const PackedColour c = PackRGB(12, 34, 56);
  EXPECT_EQ(RedOf(c), 12);
  EXPECT_EQ(GreenOf(c), 34);
  EXPECT_EQ(BlueOf(c), 56);
}

struct HsvCase {
  float r, g, b;
  float hue, saturation, value;
};
void PrintTo(const HsvCase& c, std::ostream* os) { *os << "rgb " << c.r << " " << c.g << " " << c.b; }

class RGBToHSVCases : public testing::TestWithParam<HsvCase> {};

TEST_P(RGBToHSVCases, GivesTheExpectedTriple) {
  const HsvCase c = GetParam();
  float h = -1, s = -1, v = -1;
  RGBToHSV(c.r, c.g, c.b, h, s, v);
  EXPECT_EQ(h, c.hue);
  EXPECT_EQ(s, c.saturation);
  EXPECT_EQ(v, c.value);
}

INSTANTIATE_TEST_SUITE_P(Examples, RGBToHSVCases,
                         testing::Values(HsvCase{0, 0, 0, 0, 0, 0},              // black
                                         HsvCase{0.5f, 0.5f, 0.5f, 0, 0, 0.5f},  // grey: hue 0
                                         HsvCase{1, 1, 0, 60, 1, 1},             // red wins a tie with green
                                         HsvCase{0, 1, 1, 180, 1, 1},            // green wins a tie with blue
                                         HsvCase{1, 0, 1, 300, 1, 1},            // -60 wraps to 300
                                         HsvCase{0, 0, 1, 240, 1, 1}, HsvCase{0.5f, 0.25f, 0, 30, 1, 0.5f},
                                         HsvCase{1, 1, 1, 0, 0, 1}),
                         test::CaseName<HsvCase>);

TEST(RGBToHSV, TinyNegativeHueRoundsUpTo360) {
  // Red is the maximum and blue exceeds green by a hair: the hue is a tiny negative number
  // that, once 360 is added, rounds to exactly 360.
  float h = 0, s = 0, v = 0;
  RGBToHSV(1.0f, 0.0f, 1e-9f, h, s, v);
  EXPECT_EQ(h, 360.0f);
}

struct RgbCase {
  float hue, saturation, value;
  float r, g, b;
};
void PrintTo(const RgbCase& c, std::ostream* os) { *os << "hsv " << c.hue << " " << c.saturation << " " << c.value; }

class HSVToRGBCases : public testing::TestWithParam<RgbCase> {};

TEST_P(HSVToRGBCases, GivesTheExpectedChannels) {
  const RgbCase c = GetParam();
  float r = -1, g = -1, b = -1;
  HSVToRGB(c.hue, c.saturation, c.value, r, g, b);
  EXPECT_EQ(r, c.r);
  EXPECT_EQ(g, c.g);
  EXPECT_EQ(b, c.b);
}

INSTANTIATE_TEST_SUITE_P(Examples, HSVToRGBCases,
                         testing::Values(RgbCase{360, 1, 1, 1, 0, 0},                             // 360 counts as 0
                                         RgbCase{0, 1, 1, 1, 0, 0}, RgbCase{300, 1, 1, 1, 0, 1},  // sector 5, f = 0
                                         RgbCase{120, 1, 1, 0, 1, 0}, RgbCase{240, 1, 1, 0, 0, 1},
                                         RgbCase{60, 1, 1, 1, 1, 0},
                                         RgbCase{123, 0, 0.25f, 0.25f, 0.25f, 0.25f},  // grey ignores hue
                                         RgbCase{1e6f, 0, 0.25f, 0.25f, 0.25f, 0.25f}),
                         test::CaseName<RgbCase>);

TEST(HSVToRGB, RoundsEachIntermediateToFloat) {
  // 1 - 0.7 worked out on the float nearest 0.7 is slightly above 0.3; that is what makes
  // the blue tail's red channel 77 rather than 76.5.
  float r = 0, g = 0, b = 0;
  HSVToRGB(220, 0.7f, 1, r, g, b);
  EXPECT_EQ(double{r}, 0.30000001192092896);
  EXPECT_EQ(double{g}, 0.5333333015441895);
  EXPECT_EQ(b, 1.0f);
}

TEST(HSVToRGB, EverySectorAssignsAllThreeChannels) {
  for (int hue = 0; hue <= 360; ++hue) {
    constexpr float kUnset = -42.0f;
    float r = kUnset, g = kUnset, b = kUnset;
    HSVToRGB(static_cast<float>(hue), 0.5f, 0.75f, r, g, b);
    EXPECT_NE(r, kUnset) << hue;
    EXPECT_NE(g, kUnset) << hue;
    EXPECT_NE(b, kUnset) << hue;
    EXPECT_EQ(std::max({r, g, b}), 0.75f) << "value is the strongest channel at hue " << hue;
  }
}

// Hues outside 0 ... 360 only come from hand-edited settings; they wrap round the circle.
class OutOfRangeHue : public testing::TestWithParam<std::pair<float, float>> {};

TEST_P(OutOfRangeHue, ConvertsLikeTheWrappedHue) {
  const auto [outside, inside] = GetParam();
  float r1 = -1, g1 = -1, b1 = -1, r2 = -2, g2 = -2, b2 = -2;
  HSVToRGB(outside, 0.6f, 0.9f, r1, g1, b1);
  HSVToRGB(inside, 0.6f, 0.9f, r2, g2, b2);
  EXPECT_EQ(r1, r2);
  EXPECT_EQ(g1, g2);
  EXPECT_EQ(b1, b2);
}

INSTANTIATE_TEST_SUITE_P(Wrapping, OutOfRangeHue,
                         testing::Values(std::pair{-10.0f, 350.0f}, std::pair{370.0f, 10.0f}, std::pair{720.0f, 0.0f},
                                         std::pair{-360.0f, 0.0f}, std::pair{-59.0f, 301.0f}, std::pair{1e7f, 280.0f},
                                         std::pair{std::numeric_limits<float>::quiet_NaN(), 0.0f},
                                         std::pair{std::numeric_limits<float>::infinity(), 0.0f}),
                         test::CaseName<OutOfRangeHue::ParamType>);

TEST(HSVToRGB, ClampsSaturationIntoRange) {
  float r = -1, g = -1, b = -1;
  HSVToRGB(200, 1.5f, 1, r, g, b);
  float r1 = -2, g1 = -2, b1 = -2;
  HSVToRGB(200, 1.0f, 1, r1, g1, b1);
  EXPECT_EQ(r, r1);
  EXPECT_EQ(g, g1);
  EXPECT_EQ(b, b1);
  HSVToRGB(200, -0.5f, 0.5f, r, g, b);
  EXPECT_EQ(r, 0.5f);
  EXPECT_EQ(g, 0.5f);
  EXPECT_EQ(b, 0.5f);
}

}  // namespace
}  // namespace palettor
