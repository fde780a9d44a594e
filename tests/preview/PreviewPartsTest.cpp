// The preview's parts that need no window: which dropped file is which channel, how a
// temperature is written, stored settings that are out of range, and the table panel's picture.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CaseName.h"
#include "DensityPicture.h"
#include "DroppedChannels.h"
#include "PixelReport.h"
#include "PreviewSettings.h"
#include "Registry.h"
#include "TempStore.h"

namespace palettor {
namespace {

struct DropCase {
  const char* first;
  const char* second;
  const char* ir;
  bool byName;
};
void PrintTo(const DropCase& c, std::ostream* os) { *os << c.first << " " << c.second; }

class Dropped : public testing::TestWithParam<DropCase> {};

TEST_P(Dropped, NamesDecideWhereTheySayItElseTheOrder) {
  const DropCase c = GetParam();
  const DroppedChannels d = AssignDroppedChannels(c.first, c.second);
  EXPECT_EQ(d.ir, c.ir);
  EXPECT_EQ(d.vis, QString(c.ir) == c.first ? c.second : c.first);
  EXPECT_EQ(d.byName, c.byName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Dropped,
    testing::Values(DropCase{"/d/scene_vis.png", "/d/scene_ir.png", "/d/scene_ir.png", true},
                    DropCase{"/d/IR108.tif", "/d/VIS006.tif", "/d/IR108.tif", true},
                    DropCase{"/d/visible-2024.png", "/d/other.png", "/d/other.png", true},  // one name is enough
                    DropCase{"/d/a.png", "/d/Thermal.png", "/d/Thermal.png", true},
                    DropCase{"/d/iris.png", "/d/vision.png", "/d/iris.png", false},  // words, not parts of words
                    DropCase{"/d/ir_vis.png", "/d/x.png", "/d/ir_vis.png", false},   // says both
                    DropCase{"/d/ir1.png", "/d/ir2.png", "/d/ir1.png", false},
                    DropCase{"/d/one.png", "/d/two.png", "/d/one.png", false},
                    DropCase{"/ir/one.png", "/vis/two.png", "/ir/one.png", false}),
    test::CaseName<DropCase>);  // folders say nothing

TEST(Celsius, OneDecimalASignEitherSideOfZeroAndTheTypographicMinus) {
  EXPECT_EQ(FormatCelsius(-16.14), QString::fromUtf8("\u221216.1 \u00b0C"));
  EXPECT_EQ(FormatCelsius(20), QString::fromUtf8("+20.0 \u00b0C"));
  EXPECT_EQ(FormatCelsius(-0.04), QString::fromUtf8("0.0 \u00b0C"));
  EXPECT_EQ(FormatCelsius(0.05), QString::fromUtf8("+0.1 \u00b0C"));
  EXPECT_EQ(FormatCelsius(-2e300), QString::fromUtf8("\u22122e+300 \u00b0C"));
}

class StoredPreview : public test::TempStoreTest {
 protected:
  void Write(const char* name, const std::string& text) {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(PreviewSettingsKeyPath(Registry()), true));
    registry.WriteString(name, text);
  }
  void Write(const char* name, std::int32_t value) {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(PreviewSettingsKeyPath(Registry()), true));
    registry.WriteInteger(name, value);
  }
};

// The demo scene at 100 %, infrared from +40 to -60 degrees, no simulation.
PreviewSettings Defaults() {
  PreviewSettings defaults;
  defaults.scale = {40, -60};
  defaults.zoomPercent = 100;
  defaults.simulation = VisionSimulation::Normal;
  return defaults;
}

TEST_F(StoredPreview, NothingStoredGivesTheDefaults) {
  EXPECT_EQ(DefaultPreviewSettings(), Defaults());
  const auto loaded = LoadPreviewSettings(Registry());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, Defaults());
  EXPECT_EQ(loaded->zoomPercent, 100);
  EXPECT_EQ(loaded->scale, (IrScale{40, -60}));
}

TEST_F(StoredPreview, WhatCannotBeUsedTakesItsDefault) {
  Write("InfraredImage", "/data/ir.png");  // without its visible partner
  Write("ScaleBlack", "12.5");
  Write("ScaleWhite", "12.5");  // the same temperature
  Write("Zoom", 4);
  Write("Simulation", "Protanopia");
  EXPECT_EQ(LoadPreviewSettings(Registry()), Defaults());
  Write("Zoom", std::string("150"));  // text where a number belongs
  Write("ScaleWhite", "warm");
  EXPECT_EQ(LoadPreviewSettings(Registry()), Defaults());
}

TEST_F(StoredPreview, WhatIsStoredIsLoadedExactly) {
  PreviewSettings s;
  s.irPath = "/data/\xc3\xa9t\xc3\xa9/ir.png";
  s.visPath = "/data/vis.png";
  s.scale = {0.1, -1e-3};
  s.zoomPercent = kZoomToFit;
  s.simulation = VisionSimulation::Deuteranopia;
  StorePreviewSettings(Registry(), s);
  EXPECT_EQ(LoadPreviewSettings(Registry()), s);
}

struct FilledCell {
  int column, brightness, pixels;
};

SceneDensity DensityOf(const std::vector<FilledCell>& cells) {
  SceneDensity density;
  for (const FilledCell& c : cells) {
    const auto n = static_cast<std::size_t>(c.pixels);
    const std::vector<std::uint8_t> columns(n, static_cast<std::uint8_t>(c.column)),
        rows(n, static_cast<std::uint8_t>(c.brightness));
    const std::vector<TableSide> sides(n, TableSide::Within);
    density.AddCells(columns.data(), rows.data(), sides.data(), n);
  }
  return density;
}

TEST(DensityPicture, TheBusiestCellsAreTheFewestHoldingAQuarterOfThePixels) {
  struct Case {
    const char* what;
    std::vector<FilledCell> cells;
    std::vector<TableCell> busiest;
  };
  std::vector<FilledCell> several = {{0, 0, 10}, {99, 255, 9}, {5, 5, 8}};
  for (int i = 0; i < 73; ++i) several.push_back({20 + i, 128, 1});
  const Case cases[] = {
      {"one cell over a quarter", {{10, 200, 60}, {50, 100, 30}, {70, 5, 10}}, {{10, 200}}},
      {"ties at the quarter all count",
       {{1, 1, 25}, {2, 2, 25}, {3, 3, 25}, {4, 4, 25}},
       {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {"three cells reach the quarter", several, {{0, 0}, {99, 255}, {5, 5}}},
      {"no pixels at all", {}, {}},
  };
  for (const Case& c : cases) {
    const SceneDensity density = DensityOf(c.cells);
    DensityPicture picture;
    picture.SetCounts(&density);
    std::size_t busiest = 0;
    for (int column = 0; column < kTableWidth; ++column) {
      for (int b = 0; b < kTableHeight; ++b) busiest += picture.IsBusiest({column, b});
    }
    EXPECT_EQ(busiest, c.busiest.size()) << c.what;
    for (const TableCell cell : c.busiest) EXPECT_TRUE(picture.IsBusiest(cell)) << c.what << " " << cell.column;
  }
}

TEST(DensityPicture, UnusedCellsAtAQuarterUsedOnesInFullTheBusiestOutlined) {
  auto table = std::make_unique<LutPixels>();
  GenerateTable(FactoryTableInputs(), *table);
  const auto colour = [&](int column, int brightness, int divisor) {
    const PackedColour c = (*table)[static_cast<std::size_t>((255 - brightness) * kTableWidth + column)];
    return qRgb(RedOf(c) / divisor, GreenOf(c) / divisor, BlueOf(c) / divisor);
  };
  const SceneDensity density = DensityOf({{10, 200, 60}, {50, 100, 30}, {70, 5, 10}});
  DensityPicture picture;
  QImage drawn;
  picture.Draw(*table, drawn);  // no scene yet: the table alone
  ASSERT_EQ(drawn.size(), QSize(300, 256));
  EXPECT_EQ(drawn.pixel(62, 235), colour(20, 20, 1));
  picture.SetCounts(&density);
  picture.Draw(*table, drawn);
  for (int x = 150; x < 153; ++x) EXPECT_EQ(drawn.pixel(x, 155), colour(50, 100, 1)) << "used, column 50 at x " << x;
  EXPECT_EQ(drawn.pixel(62, 235), colour(20, 20, 4)) << "unused";
  EXPECT_EQ(drawn.pixel(31, 55), colour(10, 200, 1)) << "the busiest cell itself";
  // Around it, one pixel wide: white on dark, black on light.
  for (const QPoint around : {QPoint(29, 55), QPoint(33, 55), QPoint(29, 54), QPoint(31, 56), QPoint(33, 56)}) {
    const QRgb under = colour(around.x() / 3, 255 - around.y(), 4);
    EXPECT_EQ(drawn.pixel(around), qGray(under) >= 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << around.x();
  }
  EXPECT_EQ(drawn.pixel(28, 55), colour(9, 200, 4)) << "two pixels off is no outline";
}

}  // namespace
}  // namespace palettor
