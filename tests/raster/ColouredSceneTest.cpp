// A scene of two channels as a viewer points at it and reads it: the values under a pixel in
// their units with the table cell they give, windows of the scene, and channels read at a
// reduced resolution, against the rules written out here.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ColouredScene.h"
#include "RasterError.h"
#include "RasterFixture.h"
#include "ReferenceScene.h"
#include "ReferenceTable.h"

namespace palettor {
namespace {

constexpr int kIrWidth = 6, kIrHeight = 4;

double Kelvin(int x, int y) { return 200.0 + 17.25 * x + 9.5 * y; }
double Percent(int x, int y) { return 7.0 * x + 11.0 * y; }  // raw counts of 0.01 %

class ColouredSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    test::RasterFile ir{kIrWidth, kIrHeight, GDT_Float32, {{}}, {}, 0, {}};
    ir.bands[0].unit = "K";
    for (int y = 0; y < kIrHeight; ++y) {
      for (int x = 0; x < kIrWidth; ++x) {
        ir.bands[0].values.push_back(x == 1 && y == 2 ? std::numeric_limits<double>::quiet_NaN() : Kelvin(x, y));
      }
    }
    test::RasterFile vis{2 * kIrWidth, 2 * kIrHeight, GDT_UInt16, {{}}, {}, 0, {}};
    vis.bands[0].unit = "%";
    vis.bands[0].scale = 0.01;
    for (int y = 0; y < vis.height; ++y) {
      for (int x = 0; x < vis.width; ++x) vis.bands[0].values.push_back(100 * Percent(x, y));
    }
    test::WriteRaster(Path("ir.tif"), "GTiff", ir);
    test::WriteRaster(Path("vis.tif"), "GTiff", vis);
  }
  std::string Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }

  ColouredScene Scene(const SceneOptions& options = {}) {
    return ColouredScene(SceneChannel::Open({Path("ir.tif"), 0, {}}), SceneChannel::Open({Path("vis.tif"), 0, {}}),
                         options, colouriser_);
  }

  QTemporaryDir dir_;
  SceneColouriser colouriser_;
};

TEST_F(ColouredSceneTest, APixelSaysItsValuesInTheirUnitsAndTheCellTheyGive) {
  SceneOptions options;
  options.visGamma = 2.0;
  ColouredScene scene = Scene(options);
  ASSERT_EQ(scene.Width(), 2 * kIrWidth);
  for (int y = 0; y < scene.Height(); ++y) {
    for (int x = 0; x < scene.Width(); ++x) {
      const ScenePixel p = scene.PixelAt(x, y);
      // The infrared channel is half as fine: pixel (x, y) lies over its pixel (x / 2, y / 2).
      const int ix = x / 2, iy = y / 2;
      const double r = 100 * Percent(x, y) * 0.01 / 100;  // raw × scale, then percent
      ASSERT_TRUE(p.vis && p.reflectance);
      EXPECT_NEAR(*p.vis, Percent(x, y), 1e-9);
      EXPECT_NEAR(*p.reflectance, r, 1e-9);
      if (ix == 1 && iy == 2) {
        EXPECT_FALSE(p.ir || p.celsius || p.column || p.row) << "no data at (" << x << ", " << y << ")";
        continue;
      }
      ASSERT_TRUE(p.ir && p.celsius && p.column && p.row);
      EXPECT_EQ(*p.ir, Kelvin(ix, iy));
      EXPECT_EQ(*p.celsius, Kelvin(ix, iy) - 273.15);
      EXPECT_EQ(*p.column, static_cast<int>(std::clamp(std::floor(Kelvin(ix, iy) - 273.15 + 0.5), -60.0, 39.0)) + 60);
      EXPECT_EQ(*p.row, static_cast<int>(std::floor(255 * std::sqrt(std::clamp(r, 0.0, 1.0)) + 0.5)));
    }
  }
}

TEST_F(ColouredSceneTest, AWindowIsColouredAsTheWholeSceneIsThere) {
  ColouredScene scene = Scene();
  const int width = scene.Width(), height = scene.Height();
  std::vector<std::uint8_t> whole(static_cast<std::size_t>(width * height * 3));
  scene.Colour({0, 0, width, height}, whole.data(), width * 3);
  const PixelWindow window{3, 1, 7, 5};
  std::vector<std::uint8_t> part(static_cast<std::size_t>(window.width * window.height * 3));
  scene.Colour(window, part.data(), window.width * 3);
  auto table = std::make_unique<LutPixels>();
  test::ReferenceTable(FactoryTableInputs(), *table);
  for (int y = 0; y < window.height; ++y) {
    for (int x = 0; x < window.width; ++x) {
      const int sx = window.x + x, sy = window.y + y;
      const std::size_t at = static_cast<std::size_t>((y * window.width + x) * 3);
      const std::size_t there = static_cast<std::size_t>((sy * width + sx) * 3);
      for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(part[at + c], whole[there + c]) << sx << "," << sy;
      if (sx / 2 == 1 && sy / 2 == 2) continue;  // no data: black
      const PackedColour want = test::ReferenceCalibratedColour(*table, Kelvin(sx / 2, sy / 2) - 273.15,
                                                                100 * Percent(sx, sy) * 0.01 / 100, 1.0);
      EXPECT_EQ(part[at], RedOf(want)) << sx << "," << sy;
    }
  }
}

TEST_F(ColouredSceneTest, AChannelReadsAtAReducedResolutionByNearestNeighbour) {
  SceneChannel vis = SceneChannel::Open({Path("vis.tif"), 0, {}});
  // The whole 12 × 8 channel into 4 × 2 values: each the pixel at the centre of its 3 × 4 cell.
  std::vector<double> values(8);
  vis.ReadValues({0, 0, 12, 8}, 4, 2, values.data());
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_NEAR(values[static_cast<std::size_t>(y * 4 + x)], Percent(3 * x + 1, 4 * y + 2), 1e-9) << x << "," << y;
    }
  }
}

TEST_F(ColouredSceneTest, ScenesThatCannotBeColouredAreRefusedWhenMade) {
  SceneOptions scale;
  scale.levelScaleGiven = true;
  EXPECT_THROW(Scene(scale), RasterError);  // temperatures have no scale to set
  SceneOptions unit;
  unit.irUnit = TemperatureUnit::Celsius;  // overrides the band's K
  ColouredScene celsius = Scene(unit);
  EXPECT_EQ(*celsius.PixelAt(0, 0).celsius, Kelvin(0, 0));
}

}  // namespace
}  // namespace palettor
