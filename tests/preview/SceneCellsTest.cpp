// What the preview keeps of a scene and colours on every change: cells of the part in view.
// Any part of them, read from the files, colours exactly as colourise colours the whole scene
// there (temperatures, reflectances at twice the resolution, levels on a scale, no data); cells
// taken for a part at another resolution pick the nearest pixel.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <limits>

#include "CellColouring.h"
#include "CellSampling.h"
#include "ColouredScene.h"
#include "RasterFixture.h"

namespace palettor {
namespace {

constexpr int kIrWidth = 12, kIrHeight = 8;

class SceneCellsTest : public testing::Test {
 protected:
  void SetUp() override {
    // Kelvin with a hole of no data; percent at twice the resolution with a fill value.
    test::RasterFile ir{kIrWidth, kIrHeight, GDT_Float32, {{}}, {}, 0, {}};
    ir.bands[0].unit = "K";
    for (int y = 0; y < kIrHeight; ++y) {
      for (int x = 0; x < kIrWidth; ++x) {
        ir.bands[0].values.push_back(x == 4 && y == 3 ? std::numeric_limits<double>::quiet_NaN()
                                                      : 205.0 + 9.25 * x + 3.5 * y);
      }
    }
    test::RasterFile vis{2 * kIrWidth, 2 * kIrHeight, GDT_UInt16, {{}}, {}, 0, {}};
    vis.bands[0].unit = "%";
    vis.bands[0].scale = 0.01;
    vis.bands[0].noData = 65535;
    for (int y = 0; y < vis.height; ++y) {
      for (int x = 0; x < vis.width; ++x) vis.bands[0].values.push_back(x == 20 && y == 1 ? 65535 : 400.0 * (x + y));
    }
    // Levels: 16-bit infrared, 8-bit visible, the same size.
    test::RasterFile irLevels{kIrWidth, kIrHeight, GDT_UInt16, {{}}, {}, 0, {}};
    test::RasterFile visLevels{kIrWidth, kIrHeight, GDT_Byte, {{}}, {}, 0, {}};
    for (int y = 0; y < kIrHeight; ++y) {
      for (int x = 0; x < kIrWidth; ++x) {
        irLevels.bands[0].values.push_back(5400.0 * x + 700.0 * y);
        visLevels.bands[0].values.push_back(21.0 * x + 3.0 * y);
      }
    }
    test::WriteRaster(Path("ir.tif"), "GTiff", ir);
    test::WriteRaster(Path("vis.tif"), "GTiff", vis);
    test::WriteRaster(Path("ir-levels.tif"), "GTiff", irLevels);
    test::WriteRaster(Path("vis-levels.png"), "PNG", visLevels);
    colouriser_.SetNoDataColour(PackRGB(1, 2, 3));
    colouriser_.SetScale({30.0, -50.0});
  }
  std::string Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }
  ColouredScene Scene(const char* ir, const char* vis) {
    return ColouredScene(SceneChannel::Open({Path(ir), 0, {}}), SceneChannel::Open({Path(vis), 0, {}}), {},
                         colouriser_);
  }

  QTemporaryDir dir_;
  SceneColouriser colouriser_;
};

TEST_F(SceneCellsTest, AnyPartColoursAsColouriseColoursTheWholeSceneThere) {
  for (const auto& [irName, visName] : {std::pair{"ir.tif", "vis.tif"}, std::pair{"ir-levels.tif", "vis-levels.png"}}) {
    ColouredScene scene = Scene(irName, visName);
    const int width = scene.Width(), height = scene.Height();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height * 3));
    scene.Colour({0, 0, width, height}, rgb.data(), width * 3);
    const SceneCells whole = scene.ReadCells({0, 0, width, height}, width, height);
    for (const PixelWindow region :
         {PixelWindow{0, 0, width, height}, PixelWindow{0, 0, 1, 1}, PixelWindow{width - 5, height - 3, 5, 3},
          PixelWindow{3, 2, 7, 5}, PixelWindow{0, height / 2, width, 1}}) {
      const std::string where = std::string(irName) + " at " + std::to_string(region.x) + "," +
                                std::to_string(region.y) + " " + std::to_string(region.width) + "x" +
                                std::to_string(region.height);
      QImage read, part;
      ColourCells(scene.ReadCells(region, region.width, region.height), QRect(0, 0, region.width, region.height),
                  colouriser_, read);
      ColourCells(whole, QRect(region.x, region.y, region.width, region.height), colouriser_, part);
      ASSERT_EQ(read.size(), QSize(region.width, region.height)) << where;
      ASSERT_EQ(part.size(), read.size()) << where;
      for (int y = 0; y < region.height; ++y) {
        for (int x = 0; x < region.width; ++x) {
          const std::uint8_t* want = &rgb[static_cast<std::size_t>(((region.y + y) * width + region.x + x) * 3)];
          ASSERT_EQ(read.pixel(x, y), qRgb(want[0], want[1], want[2])) << where << ": " << x << "," << y;
          ASSERT_EQ(part.pixel(x, y), read.pixel(x, y)) << where << ": " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(SceneCellsTest, CellsForAnotherResolutionTakeTheNearestPixel) {
  // Cells of the scene's pixels 10 ... 49 across and 20 ... 49 down that say where they are.
  const PixelWindow covered{10, 20, 40, 30};
  const auto cellsAt = [&](int width, int height) {
    SceneCells cells;
    cells.region = covered;
    cells.width = width;
    cells.height = height;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        cells.ir.push_back(static_cast<std::uint16_t>(x));
        cells.vis.push_back(static_cast<std::uint16_t>(y));
      }
    }
    return cells;
  };
  struct Case {
    int fromWidth, fromHeight;  // of the cells taken from: full or half resolution
    PixelWindow region;
    int width, height;
  };
  for (const Case c : {Case{40, 30, {10, 20, 40, 30}, 40, 30}, Case{40, 30, {13, 21, 9, 7}, 9, 7},
                       Case{40, 30, {10, 20, 40, 30}, 16, 7}, Case{40, 30, {30, 40, 20, 10}, 6, 3},
                       Case{20, 15, {11, 22, 30, 20}, 30, 20}, Case{20, 15, {10, 20, 40, 30}, 7, 5}}) {
    const SceneCells from = cellsAt(c.fromWidth, c.fromHeight);
    const SceneCells got = ResampleCells(from, c.region, c.width, c.height);
    ASSERT_EQ(got.ir.size(), static_cast<std::size_t>(c.width * c.height));
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        // The scene pixel under the sample's centre, then the cell of `from` over that pixel's centre.
        const double sceneX = c.region.x + std::floor((x + 0.5) * c.region.width / c.width);
        const double sceneY = c.region.y + std::floor((y + 0.5) * c.region.height / c.height);
        const int fromX = static_cast<int>(std::floor((sceneX - covered.x + 0.5) * c.fromWidth / covered.width));
        const int fromY = static_cast<int>(std::floor((sceneY - covered.y + 0.5) * c.fromHeight / covered.height));
        const std::size_t at = static_cast<std::size_t>(y * c.width + x);
        EXPECT_EQ(got.ir[at], fromX) << c.width << "x" << c.height << " sample " << x << "," << y;
        EXPECT_EQ(got.vis[at], fromY) << c.width << "x" << c.height << " sample " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace palettor
