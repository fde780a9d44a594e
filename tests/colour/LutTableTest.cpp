#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "CaseName.h"
#include "LutTable.h"

namespace palettor {
namespace {

std::unique_ptr<LutPixels> Factory(std::int32_t tailPercent, bool whiteTop, bool smooth) {
  auto pixels = std::make_unique<LutPixels>();
  GenerateTable(FactoryTableInputs(tailPercent, whiteTop, smooth), *pixels);
  return pixels;
}

PackedColour At(const LutPixels& pixels, int x, int y) { return pixels[static_cast<std::size_t>(y * 100 + x)]; }

struct PixelCase {
  bool whiteTop, smooth;
  int tailPercent;
  int x, y;
  PackedColour colour;
};
void PrintTo(const PixelCase& c, std::ostream* os) { *os << "column " << c.x << " row " << c.y; }

class FactoryTablePixels : public testing::TestWithParam<PixelCase> {};

TEST_P(FactoryTablePixels, MatchTheKnownTable) {
  const PixelCase c = GetParam();
  const auto pixels = Factory(c.tailPercent, c.whiteTop, c.smooth);
  EXPECT_EQ(At(*pixels, c.x, c.y), c.colour)
      << "pixel (" << c.x << ", " << c.y << ") is 0x" << std::hex << At(*pixels, c.x, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    StartUpDefaults, FactoryTablePixels,
    testing::Values(PixelCase{true, true, 12, 0, 0, 0xFFFFFF}, PixelCase{true, true, 12, 0, 127, 0x7E7280},
                    PixelCase{true, true, 12, 0, 255, 0x000000}, PixelCase{true, true, 12, 5, 55, 0xC8BCC5},
                    PixelCase{true, true, 12, 58, 55, 0xC8C8C6}, PixelCase{true, true, 12, 60, 127, 0x808080},
                    PixelCase{true, true, 12, 61, 191, 0x404040}, PixelCase{true, true, 12, 62, 225, 0x5E321C},
                    PixelCase{true, true, 12, 62, 224, 0x1D1F1E}, PixelCase{true, true, 12, 80, 245, 0x874828},
                    PixelCase{true, true, 12, 80, 225, 0x874828}, PixelCase{true, true, 12, 85, 128, 0x55737F},
                    PixelCase{true, true, 12, 85, 127, 0x567480}, PixelCase{true, true, 12, 99, 255, 0xB35F35},
                    PixelCase{true, true, 12, 99, 0, 0xFFFFFF}),
    test::CaseName<PixelCase>);

INSTANTIATE_TEST_SUITE_P(WithoutWhiteTop, FactoryTablePixels,
                         testing::Values(PixelCase{false, true, 12, 0, 0, 0xFCEDFF},
                                         PixelCase{false, true, 12, 30, 0, 0xFFE4DB},
                                         PixelCase{false, true, 12, 85, 55, 0x9CBCC8},
                                         PixelCase{false, true, 12, 99, 0, 0xBFD1FF}),
                         test::CaseName<PixelCase>);

INSTANTIATE_TEST_SUITE_P(WithoutSmoothing, FactoryTablePixels,
                         testing::Values(PixelCase{true, false, 12, 5, 55, 0xC7BFC8},
                                         PixelCase{true, false, 12, 58, 55, 0xC8C7BC},
                                         PixelCase{true, false, 12, 85, 128, 0x4F6B7F}),
                         test::CaseName<PixelCase>);

INSTANTIATE_TEST_SUITE_P(WithoutTail, FactoryTablePixels,
                         testing::Values(PixelCase{true, true, 0, 80, 245, 0x07090A},
                                         PixelCase{true, true, 0, 99, 255, 0x000000}),
                         test::CaseName<PixelCase>);

struct SumCase {
  bool whiteTop, smooth;
  int tailPercent;
  long red, green, blue;
};
void PrintTo(const SumCase& c, std::ostream* os) {
  *os << "white top " << c.whiteTop << " smooth " << c.smooth << " tail " << c.tailPercent;
}

class FactoryTableSums : public testing::TestWithParam<SumCase> {};

TEST_P(FactoryTableSums, MatchTheKnownChannelSums) {
  const SumCase c = GetParam();
  const auto pixels = Factory(c.tailPercent, c.whiteTop, c.smooth);
  long red = 0, green = 0, blue = 0;
  for (PackedColour p : *pixels) {
    red += RedOf(p);
    green += GreenOf(p);
    blue += BlueOf(p);
  }
  EXPECT_EQ(red, c.red);
  EXPECT_EQ(green, c.green);
  EXPECT_EQ(blue, c.blue);
}

INSTANTIATE_TEST_SUITE_P(Options, FactoryTableSums,
                         testing::Values(SumCase{true, true, 12, 3130845, 3142584, 3219913},
                                         SumCase{false, true, 12, 3107298, 3114922, 3190577},
                                         SumCase{true, false, 12, 3133195, 3102198, 3183516},
                                         SumCase{false, false, 0, 3079410, 2998280, 3001610},
                                         SumCase{true, true, 100, 2275138, 2601796, 3352197}),
                         test::CaseName<SumCase>);

TEST(Table, BlueTailStartsAtTwoDegrees) {
  const auto pixels = Factory(100, true, true);
  const PackedColour tailAtTwo = At(*pixels, 62, 255);
  EXPECT_EQ(At(*pixels, 62, 1), tailAtTwo) << "the tail does not depend on brightness";
  EXPECT_NE(At(*pixels, 61, 255), tailAtTwo);
  EXPECT_EQ(At(*pixels, 61, 255), 0x000000u) << "+1 degree is an ordinary (black) column at k = 0";
}

TEST(Table, TopRowStaysOutOfTheTailAtOneHundredPercent) {
  const auto pixels = Factory(100, true, true);
  for (int x = 62; x < 100; ++x) {
    EXPECT_EQ(At(*pixels, x, 0), 0xFFFFFFu) << x;  // k = 255: (255 * 100) div 255 = 100 is not below 100
    EXPECT_EQ(At(*pixels, x, 1), At(*pixels, x, 255)) << x;
  }
}

class TailRows : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TailRows, CoverTheDarkestRowsOnly) {
  const auto [percent, rows] = GetParam();
  const auto pixels = Factory(percent, true, true);
  const auto noTail = Factory(0, true, true);
  int tailRows = 0;
  for (int y = 255; y >= 0 && At(*pixels, 80, y) != At(*noTail, 80, y); --y) ++tailRows;
  EXPECT_EQ(tailRows, rows);
}

INSTANTIATE_TEST_SUITE_P(Percentages, TailRows,
                         testing::Values(std::pair{0, 0}, std::pair{1, 3}, std::pair{12, 31}, std::pair{50, 128},
                                         std::pair{99, 253}, std::pair{100, 255}),
                         [](const auto& c) { return "Percent" + std::to_string(c.param.first); });

TEST(Table, GreyColumnsHoldTheirBrightnessInEveryChannel) {
  // The 0 degree anchor is white: its three columns are grey ramps outside the tail.
  const auto pixels = Factory(12, true, true);
  for (int x = 59; x <= 61; ++x) {
    for (int k = 0; k < 256; ++k) EXPECT_EQ(At(*pixels, x, 255 - k), PackRGB(k, k, k)) << x << " " << k;
  }
}

TEST(Table, WhiteTopWhitensTheTopRow) {
  const auto white = Factory(12, true, false);
  const auto plain = Factory(12, false, false);
  int coloured = 0;
  for (int x = 0; x < 100; ++x) {
    EXPECT_EQ(At(*white, x, 0), 0xFFFFFFu) << x;
    coloured += At(*plain, x, 0) != 0xFFFFFFu;
  }
  EXPECT_EQ(coloured, 97) << "all but the three 0 degree columns show their hue at full value";
}

TEST(Table, FlatBandsWithoutSmoothing) {
  const auto pixels = Factory(0, false, false);
  // Band edges: -60...-51, -50...-41, ..., -10...-2, -1...1, 2...9, 10...19, ...
  const int bandStarts[] = {0, 10, 20, 30, 40, 50, 59, 62, 70, 80, 90};
  for (std::size_t i = 0; i < std::size(bandStarts); ++i) {
    const int start = bandStarts[i];
    const int end = i + 1 < std::size(bandStarts) ? bandStarts[i + 1] : 100;
    for (int x = start; x < end; ++x) EXPECT_EQ(At(*pixels, x, 0), At(*pixels, start, 0)) << x;
    if (i > 0) {
      EXPECT_NE(At(*pixels, start, 0), At(*pixels, start - 1, 0)) << start;
    }
  }
}

TEST(Table, HandEditedTailValuesStillGiveAFullTable) {
  TableInputs in = FactoryTableInputs(12, true, true);
  in.tailHue = -140;  // the same as 220
  in.tailSaturation = 70;
  LutPixels wrapped, plain;
  GenerateTable(in, wrapped);
  in.tailHue = 220;
  GenerateTable(in, plain);
  EXPECT_EQ(wrapped, plain);
  in.tailSaturation = 250;  // clamps to 100
  GenerateTable(in, wrapped);
  in.tailSaturation = 100;
  GenerateTable(in, plain);
  EXPECT_EQ(wrapped, plain);
}

struct NightFloorCase {
  int percent;
  int floorByte;   // trunc(float(F / 100) * 255.9): the brightest channel of a lifted row
  int liftedRows;  // rows k with float(k / 255) below float(F / 100)
};

class NightFloor : public testing::TestWithParam<NightFloorCase> {};

TEST_P(NightFloor, LiftsOnlyTheDarkRowsOfTheColumnsUpToOneDegree) {
  const NightFloorCase c = GetParam();
  TableInputs in = FactoryTableInputs();
  const auto plain = std::make_unique<LutPixels>();
  GenerateTable(in, *plain);
  in.nightFloorPercent = c.percent;
  const auto lifted = std::make_unique<LutPixels>();
  GenerateTable(in, *lifted);
  for (int x = 0; x < 100; ++x) {
    for (int k = 0; k < 256; ++k) {
      const PackedColour pixel = At(*lifted, x, 255 - k);
      if (x <= 61 && k < c.liftedRows) {
        // The floor is the HSV value, and the value is the brightest channel.
        ASSERT_EQ(std::max({RedOf(pixel), GreenOf(pixel), BlueOf(pixel)}), c.floorByte) << x << " " << k;
      } else {
        ASSERT_EQ(pixel, At(*plain, x, 255 - k)) << x << " " << k;
      }
    }
  }
  // The white 0 degree anchor's columns are grey: the floor itself, up to its last row.
  const auto grey = [](int level) { return PackRGB(level, level, level); };
  EXPECT_EQ(At(*lifted, 60, 255), grey(c.floorByte));
  EXPECT_EQ(At(*lifted, 61, 256 - c.liftedRows), grey(c.floorByte));
  EXPECT_EQ(At(*lifted, 61, 255 - c.liftedRows), grey(c.liftedRows));
}

std::string NightFloorName(const testing::TestParamInfo<NightFloorCase>& info) {
  return std::to_string(info.param.percent) + "Percent";
}

INSTANTIATE_TEST_SUITE_P(Percents, NightFloor,
                         testing::Values(NightFloorCase{10, 25, 26}, NightFloorCase{30, 76, 77},
                                         NightFloorCase{50, 127, 128}),
                         NightFloorName);

TEST(Table, OutOfRangeNightFloorsBehaveLikeTheNearestBound) {
  LutPixels a, b;
  TableInputs in = FactoryTableInputs();
  in.nightFloorPercent = -5;
  GenerateTable(in, a);
  GenerateTable(FactoryTableInputs(), b);
  EXPECT_EQ(a, b);
  in.nightFloorPercent = 101;
  GenerateTable(in, a);
  in.nightFloorPercent = 50;
  GenerateTable(in, b);
  EXPECT_EQ(a, b);
}

TEST(Table, OutOfRangeTailPercentsBehaveLikeTheNearestBound) {
  LutPixels a, b;
  GenerateTable(FactoryTableInputs(-5), a);
  GenerateTable(FactoryTableInputs(0), b);
  EXPECT_EQ(a, b);
  GenerateTable(FactoryTableInputs(32767), a);
  GenerateTable(FactoryTableInputs(101), b);
  EXPECT_EQ(a, b);
  EXPECT_EQ(At(a, 80, 0), At(a, 80, 255)) << "beyond 100 % even the top row takes the tail";
}

}  // namespace
}  // namespace palettor
