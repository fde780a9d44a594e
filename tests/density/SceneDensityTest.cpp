// The density over the table and the anchors' shares, against ReferenceDensity.h on generated
// scenes: levels on scales that run past both ends of the table, calibrated channels with no
// data and temperatures exactly at the rounding edges, a visible channel at twice the
// resolution, and the demo scene.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "AnchorShares.h"
#include "CaseName.h"
#include "DemoScene.h"
#include "LevelDensity.h"
#include "Palette.h"
#include "RasterFixture.h"
#include "ReferenceDensity.h"
#include "ScannedDensity.h"
#include "SceneColouriser.h"

namespace palettor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void ExpectSameDensity(const SceneDensity& density, const test::ReferenceDensity& reference) {
  EXPECT_EQ(density.Pixels(), reference.pixels);
  EXPECT_EQ(density.NoData(), reference.noData);
  EXPECT_EQ(density.BelowTable(), reference.belowTable);
  EXPECT_EQ(density.AboveTable(), reference.aboveTable);
  int mismatches = 0;
  for (int celsius = -60; celsius <= 39; ++celsius) {
    for (int row = 0; row <= 255; ++row) {
      const auto found = reference.cells.find({celsius, row});
      const std::uint64_t expected = found == reference.cells.end() ? 0 : found->second;
      if (density.Count(celsius + 60, row) != expected && ++mismatches <= 5) {
        ADD_FAILURE() << celsius << " degrees, row " << row << ": " << density.Count(celsius + 60, row)
                      << " pixels, expected " << expected;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// Levels ------------------------------------------------------------------------------------

struct LevelCase {
  GreyDepth irDepth, visDepth;
  IrScale scale;
};

// Test names keep their letters and digits only: a minus sign is spelt out.
std::string Spelt(double value) { return (value < 0 ? "minus " : "") + testing::PrintToString(std::fabs(value)); }

void PrintTo(const LevelCase& c, std::ostream* os) {
  *os << (c.irDepth == GreyDepth::Eight ? "ir8" : "ir16") << " " << (c.visDepth == GreyDepth::Eight ? "vis8" : "vis16")
      << " black " << Spelt(c.scale.black) << " white " << Spelt(c.scale.white);
}

class LevelDensity : public testing::TestWithParam<LevelCase> {};

TEST_P(LevelDensity, CountsEveryPixelInTheCellOfItsLevels) {
  const LevelCase c = GetParam();
  const int width = 300, height = 220;
  GreyImage ir(width, height, c.irDepth), vis(width, height, c.visDepth);
  std::vector<test::ReferencePixel> pixels;
  const int irTop = MaxLevel(c.irDepth), visTop = MaxLevel(c.visDepth);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Every level of an 8-bit channel many times over; a 16-bit one strided through its range.
      const int i = y * width + x;
      const int irLevel = static_cast<int>((static_cast<long long>(i) * 7919) % (irTop + 1));
      const int visLevel = static_cast<int>((static_cast<long long>(i) * 104729 + y) % (visTop + 1));
      ir.SetLevel(x, y, irLevel);
      vis.SetLevel(x, y, visLevel);
      pixels.push_back({test::ReferenceLevelCelsius(c.scale.black, c.scale.white, irLevel, irTop),
                        visTop == 255 ? visLevel : visLevel / 256});
    }
  }
  ExpectSameDensity(DensityOfLevels(ir, vis, c.scale), test::ReferenceDensityOf(pixels, 0, false));
}

INSTANTIATE_TEST_SUITE_P(
    Scales, LevelDensity,
    testing::Values(LevelCase{GreyDepth::Eight, GreyDepth::Eight, {40, -60}},           // the table exactly
                    LevelCase{GreyDepth::Eight, GreyDepth::Sixteen, {55, -75}},         // past both ends
                    LevelCase{GreyDepth::Sixteen, GreyDepth::Eight, {-80, 70}},         // inverted, past both ends
                    LevelCase{GreyDepth::Sixteen, GreyDepth::Sixteen, {39.5, -60.5}}),  // ends on a rounding edge
    test::CaseName<LevelCase>);

TEST(LevelDensity, RefusesImagesOfDifferentSizes) {
  EXPECT_THROW(DensityOfLevels(GreyImage(4, 4, GreyDepth::Eight), GreyImage(4, 5, GreyDepth::Eight), IrScale{}),
               std::invalid_argument);
}

// Calibrated channels ---------------------------------------------------------------------------

// Temperatures (degrees Celsius) around and beyond both edges, and no data both ways.
constexpr double kIrNoData = -999;
const std::vector<double> kSpecialCelsius = {-60.5, -60.500001, -61,       -120, 39.49, 39.5, 40,  90,   -0.5,
                                             0.5,   kNaN,       kIrNoData, 1.5,  -1.5,  2,    -55, -54.5};

float Stored(double value) { return static_cast<float>(value); }

struct CalibratedCase {
  int visScale;  // the visible channel's resolution: 1 or 2 times the infrared one
};

void PrintTo(const CalibratedCase& c, std::ostream* os) { *os << "visible at " << c.visScale << "x"; }

class CalibratedDensity : public testing::TestWithParam<CalibratedCase> {};

TEST_P(CalibratedDensity, ReadsAsColouriseReadsAndCountsClippedAndMissingPixels) {
  QTemporaryDir dir;
  const int scale = GetParam().visScale;
  const int width = 64, height = 48;
  test::RasterFile ir{width, height, GDT_Float32, {}, {}, 0, {}};
  test::RasterFile vis{width * scale, height * scale, GDT_Float32, {}, {}, 0, {}};
  test::RasterBand irBand{{}, {}, {}, kIrNoData, "C", {}};
  test::RasterBand visBand{{}, {}, {}, -1, "%", {}};
  for (int i = 0; i < width * height; ++i) {
    irBand.values.push_back(i < static_cast<int>(kSpecialCelsius.size()) ? kSpecialCelsius[static_cast<std::size_t>(i)]
                                                                         : -75.0 + (i * 0.173) - 130 * (i / 752));
  }
  for (int i = 0; i < width * scale * height * scale; ++i) {
    const int kind = i % 97;
    visBand.values.push_back(kind == 3    ? kNaN
                             : kind == 5  ? -1
                             : kind == 7  ? 130
                             : kind == 11 ? -4
                                          : (i * 0.61) - 100 * (i / 164));
  }
  ir.bands = {irBand};
  vis.bands = {visBand};
  const std::string irPath = dir.filePath("ir.tif").toStdString(), visPath = dir.filePath("vis.tif").toStdString();
  test::WriteRaster(irPath, "GTiff", ir);
  test::WriteRaster(visPath, "GTiff", vis);

  std::vector<test::ReferencePixel> pixels;
  for (int y = 0; y < height * scale; ++y) {
    for (int x = 0; x < width * scale; ++x) {
      const double celsius = Stored(irBand.values[static_cast<std::size_t>((y / scale) * width + x / scale)]);
      const double percent = Stored(visBand.values[static_cast<std::size_t>(y * width * scale + x)]);
      const bool irMissing = std::isnan(celsius) || celsius == kIrNoData;
      const bool visMissing = std::isnan(percent) || percent == -1;
      const double r = std::min(std::max(percent / 100.0, 0.0), 1.0);
      pixels.push_back({irMissing ? kNaN : celsius, visMissing ? -1 : static_cast<int>(std::floor(255 * r + 0.5))});
    }
  }
  SceneColouriser colouriser;
  ColouredScene scene(SceneChannel::Open({irPath, 0, {}}), SceneChannel::Open({visPath, 0, {}}), SceneOptions{},
                      colouriser);
  ExpectSameDensity(DensityOfScene(scene), test::ReferenceDensityOf(pixels, 0, false));
}

INSTANTIATE_TEST_SUITE_P(Resolutions, CalibratedDensity, testing::Values(CalibratedCase{1}, CalibratedCase{2}),
                         test::CaseName<CalibratedCase>);

TEST(ScannedDensity, OfTheDemoSceneMatchesItsLevels) {
  const DemoScene demo = MakeDemoScene();
  SceneColouriser colouriser;
  ColouredScene scene(SceneChannel::FromLevels(demo.ir, "ir"), SceneChannel::FromLevels(demo.vis, "vis"),
                      SceneOptions{}, colouriser);
  std::vector<test::ReferencePixel> pixels;
  for (int y = 0; y < demo.ir.Height(); ++y) {
    for (int x = 0; x < demo.ir.Width(); ++x)
      pixels.push_back({test::ReferenceLevelCelsius(40, -60, demo.ir.Level(x, y), 255), demo.vis.Level(x, y)});
  }
  const test::ReferenceDensity reference = test::ReferenceDensityOf(pixels, 0, false);
  ExpectSameDensity(DensityOfScene(scene), reference);
  ExpectSameDensity(DensityOfLevels(demo.ir, demo.vis, IrScale{}), reference);
}

// Shares ------------------------------------------------------------------------------------------

struct ShareCase {
  bool smooth;
  int tailPercent;
};

void PrintTo(const ShareCase& c, std::ostream* os) {
  *os << (c.smooth ? "smooth" : "flat") << " tail " << c.tailPercent;
}

class AnchorShare : public testing::TestWithParam<ShareCase> {};

TEST_P(AnchorShare, CountsThePixelsOfTheCellsEachAnchorGoverns) {
  const ShareCase c = GetParam();
  // Every cell, busier towards the warm bright corner, so that a pixel counted for the wrong
  // anchor shows.
  std::vector<test::ReferencePixel> pixels;
  std::vector<std::uint8_t> columns, rows;
  for (int column = 0; column < 100; ++column) {
    for (int row = 0; row < 256; ++row) {
      for (int n = 0; n < 1 + (column * 7 + row * 3) % 11; ++n) {
        pixels.push_back({column - 60.0, row});
        columns.push_back(static_cast<std::uint8_t>(column));
        rows.push_back(static_cast<std::uint8_t>(row));
      }
    }
  }
  SceneDensity density;
  const std::vector<TableSide> sides(columns.size(), TableSide::Within);
  density.AddCells(columns.data(), rows.data(), sides.data(), columns.size());
  Palette palette;
  palette.smoothColours = c.smooth;
  palette.tailPercent = c.tailPercent;
  const AnchorShares shares(density, palette);
  const test::ReferenceDensity reference = test::ReferenceDensityOf(pixels, c.tailPercent, c.smooth);
  double percent = 0;
  for (int anchor = -7; anchor <= 4; ++anchor) {
    const std::size_t slot = anchor == -7 ? 11 : static_cast<std::size_t>(anchor + 6);
    EXPECT_EQ(shares.Pixels(anchor), reference.anchorPixels[slot]) << "anchor " << anchor;
    EXPECT_DOUBLE_EQ(shares.Percent(anchor),
                     100.0 * static_cast<double>(reference.anchorPixels[slot]) / static_cast<double>(reference.pixels));
    percent += shares.Percent(anchor);
  }
  EXPECT_NEAR(percent, 100.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Options, AnchorShare,
                         testing::Values(ShareCase{false, 0}, ShareCase{false, 12}, ShareCase{true, 12},
                                         ShareCase{true, 100}),
                         test::CaseName<ShareCase>);

TEST(AnchorShare, OfASceneWithoutDataIsZero) {
  SceneDensity density;
  density.AddNoData(10);
  const AnchorShares shares(density, Palette{});
  for (int anchor = -7; anchor <= 4; ++anchor) EXPECT_EQ(shares.Percent(anchor), 0.0);
}

}  // namespace
}  // namespace palettor
