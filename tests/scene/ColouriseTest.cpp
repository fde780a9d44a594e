// The scene colouring against a plain pixel-by-pixel reading of the rule (ReferenceScene.h),
// over every level of both depths and scales a user may set.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "CaseName.h"
#include "PixelProbe.h"
#include "ReferenceScene.h"
#include "SceneColouriser.h"

namespace palettor {
namespace {

// A table whose every cell has its own colour, so a wrong column or row cannot go unseen.
std::unique_ptr<LutPixels> DistinctCellTable() {
  auto table = std::make_unique<LutPixels>();
  for (int y = 0; y < kTableHeight; ++y) {
    for (int x = 0; x < kTableWidth; ++x) {
      (*table)[static_cast<std::size_t>(y * kTableWidth + x)] = PackRGB(x, y, 0x5A ^ x ^ y);
    }
  }
  return table;
}

struct Pair {
  GreyImage ir, vis;
};

// Every level of each channel at least once, in a scrambled order.
Pair AllLevels(int width, int height, GreyDepth irDepth, GreyDepth visDepth, unsigned seed) {
  Pair p{GreyImage(width, height, irDepth), GreyImage(width, height, visDepth)};
  std::mt19937 random(seed);
  int i = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, ++i) {
      p.ir.SetLevel(
          x, y, static_cast<int>((static_cast<unsigned>(i) * 40503u) % static_cast<unsigned>(MaxLevel(irDepth) + 1)));
      p.vis.SetLevel(x, y, static_cast<int>(random() % static_cast<unsigned>(MaxLevel(visDepth) + 1)));
    }
  }
  return p;
}

::testing::AssertionResult ColouredAsTheRuleSays(const LutPixels& table, IrScale scale, const Pair& p,
                                                 std::ptrdiff_t padding = 0) {
  SceneColouriser colouriser;
  colouriser.SetTable(table);
  colouriser.SetScale(scale);
  const std::ptrdiff_t stride = p.ir.Width() * 3 + padding;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(stride * p.ir.Height()), 0xEE);
  colouriser.Colourise(p.ir, p.vis, rgb.data(), stride);
  for (int y = 0; y < p.ir.Height(); ++y) {
    for (int x = 0; x < p.ir.Width(); ++x) {
      const auto want = test::ReferenceScenePixel(table, scale, p.ir.Level(x, y), p.ir.MaxLevel(), p.vis.Level(x, y),
                                                  p.vis.MaxLevel());
      const std::uint8_t* got = &rgb[static_cast<std::size_t>(y * stride + x * 3)];
      if (got[0] != want[0] || got[1] != want[1] || got[2] != want[2]) {
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") IR " << p.ir.Level(x, y) << " VIS " << p.vis.Level(x, y) << ": "
               << int{got[0]} << "," << int{got[1]} << "," << int{got[2]} << " instead of " << int{want[0]} << ","
               << int{want[1]} << "," << int{want[2]};
      }
    }
    for (std::ptrdiff_t i = p.ir.Width() * 3; i < stride; ++i) {
      if (rgb[static_cast<std::size_t>(y * stride + i)] != 0xEE) {
        return ::testing::AssertionFailure() << "row " << y << " wrote into the padding at byte " << i;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

const IrScale kScales[] = {
    {40, -60},        // the default: cold clouds white
    {-60, 40},        // black < white: cold clouds black
    {39.5, -60.5},    // every column edge falls on a half
    {12.25, -47.75},  // fractional
    {-5.5, -80.125},  // both ends below zero
    {100, -100},      // wider than the table: both ends clamp
    {0.3, -0.2},      // narrower than one column
    {-200, -150},     // entirely colder than the table
};

TEST(SceneColouring, EightBitPairMatchesTheRuleForEveryScale) {
  const auto table = DistinctCellTable();
  const Pair p = AllLevels(97, 31, GreyDepth::Eight, GreyDepth::Eight, 1);
  for (const IrScale s : kScales) EXPECT_TRUE(ColouredAsTheRuleSays(*table, s, p)) << s.black << " " << s.white;
}

TEST(SceneColouring, SixteenBitPairMatchesTheRuleForEveryScale) {
  const auto table = DistinctCellTable();
  const Pair p = AllLevels(256, 257, GreyDepth::Sixteen, GreyDepth::Sixteen, 2);
  for (const IrScale s : kScales) EXPECT_TRUE(ColouredAsTheRuleSays(*table, s, p)) << s.black << " " << s.white;
}

TEST(SceneColouring, MixedDepthsMatchTheRule) {
  const auto table = DistinctCellTable();
  EXPECT_TRUE(ColouredAsTheRuleSays(*table, {}, AllLevels(64, 33, GreyDepth::Eight, GreyDepth::Sixteen, 3)));
  EXPECT_TRUE(ColouredAsTheRuleSays(*table, {}, AllLevels(256, 257, GreyDepth::Sixteen, GreyDepth::Eight, 4)));
}

TEST(SceneColouring, RealTablesWithEveryOptionMatchTheRule) {
  auto table = std::make_unique<LutPixels>();
  const Pair p = AllLevels(128, 40, GreyDepth::Eight, GreyDepth::Eight, 5);
  for (const bool whiteTop : {false, true}) {
    for (const bool smooth : {false, true}) {
      GenerateTable(FactoryTableInputs(37, whiteTop, smooth), *table);
      EXPECT_TRUE(ColouredAsTheRuleSays(*table, {-3.5, 27.25}, p)) << whiteTop << smooth;
    }
  }
}

TEST(SceneColouring, EveryRowWidthAndPaddedStridesKeepToTheirRows) {
  const auto table = DistinctCellTable();
  for (int width = 1; width <= 9; ++width) {
    for (const std::ptrdiff_t padding : {0, 1, 3}) {
      EXPECT_TRUE(
          ColouredAsTheRuleSays(*table, {}, AllLevels(width, 5, GreyDepth::Eight, GreyDepth::Sixteen, 6), padding))
          << "width " << width << " padding " << padding;
    }
  }
}

TEST(SceneColouring, ImagesOfDifferentSizesAreRefused) {
  const SceneColouriser colouriser;
  std::vector<std::uint8_t> rgb(64 * 3);
  EXPECT_THROW(
      colouriser.Colourise(GreyImage(8, 8, GreyDepth::Eight), GreyImage(8, 7, GreyDepth::Eight), rgb.data(), 24),
      std::invalid_argument);
}

// A half degree rounds up, towards +infinity, also below zero.
struct HalfCase {
  double celsius;
  int column;
};
void PrintTo(const HalfCase& c, std::ostream* os) { *os << c.celsius << " C"; }

class HalfDegrees : public testing::TestWithParam<HalfCase> {};

TEST_P(HalfDegrees, RoundUpTowardsWarmer) { EXPECT_EQ(ColumnOfTemperature(GetParam().celsius), GetParam().column); }

INSTANTIATE_TEST_SUITE_P(Columns, HalfDegrees,
                         testing::Values(HalfCase{-0.5, 60}, HalfCase{-1.5, 59}, HalfCase{-2.5, 58}, HalfCase{0.5, 61},
                                         HalfCase{-59.5, 1}, HalfCase{-60.5, 0}, HalfCase{-61, 0}, HalfCase{38.5, 99},
                                         HalfCase{38.49, 98}, HalfCase{39.5, 99}, HalfCase{1e300, 99},
                                         HalfCase{-1e300, 0}, HalfCase{-0.5000001, 59}, HalfCase{std::nan(""), 0}),
                         test::CaseName<HalfCase>);

TEST(SceneColouring, HalfDegreeLevelsOfANegativeScaleTakeTheWarmerColumn) {
  // Level L is -L / 2 degrees: odd levels lie exactly halfway between two columns.
  const ColumnMap map({0.0, -127.5}, GreyDepth::Eight);
  EXPECT_EQ(map.Column(1), 60);   // -0.5 -> 0 degrees
  EXPECT_EQ(map.Column(3), 59);   // -1.5 -> -1
  EXPECT_EQ(map.Column(5), 58);   // -2.5 -> -2
  EXPECT_EQ(map.Column(119), 1);  // -59.5 -> -59
  EXPECT_EQ(map.Column(121), 0);  // -60.5 -> -60
  EXPECT_EQ(map.Column(255), 0);
}

TEST(SceneColouring, UsableScalesAreFiniteAndDifferent) {
  EXPECT_TRUE(IsUsableScale({40, -60}));
  EXPECT_TRUE(IsUsableScale({-0.25, -0.5}));
  EXPECT_FALSE(IsUsableScale({10, 10}));
  EXPECT_FALSE(IsUsableScale({std::nan(""), 10}));
  EXPECT_FALSE(IsUsableScale({10, INFINITY}));
  // Each end finite, the span not: level 0 would be infinity times zero.
  EXPECT_FALSE(IsUsableScale({1.5e308, -1.5e308}));
  EXPECT_TRUE(IsUsableScale({8e307, -8e307}));
}

TEST(PixelProbe, ReportsLevelsTemperatureCellAndAnchors) {
  GreyImage ir(4, 3, GreyDepth::Eight), vis(4, 3, GreyDepth::Sixteen);
  ir.SetLevel(2, 1, 51);       // 40 - 100 * 51 / 255 = +20 degrees
  vis.SetLevel(2, 1, 0x0A10);  // row 10 from the bottom
  const TableInputs table = FactoryTableInputs(12, true, true);
  const auto probe = ProbePixel(ir, vis, {}, table, 2, 1);
  ASSERT_TRUE(probe);
  EXPECT_EQ(probe->irLevel, 51);
  EXPECT_DOUBLE_EQ(probe->celsius, 20.0);
  EXPECT_EQ(probe->visLevel, 0x0A10);
  EXPECT_EQ(probe->column, 80);
  EXPECT_EQ(probe->brightness, 10);
  EXPECT_EQ(probe->tableRow, 245);
  EXPECT_TRUE(probe->anchors.blueTail);
  EXPECT_EQ(probe->anchors.selected, kBlueTailAnchor);

  EXPECT_FALSE(ProbePixel(ir, vis, {}, table, 4, 0));
  EXPECT_FALSE(ProbePixel(ir, vis, {}, table, 0, -1));
  EXPECT_FALSE(ProbePixel(ir, GreyImage(4, 4, GreyDepth::Eight), {}, table, 0, 0));
}

}  // namespace
}  // namespace palettor
