// The preview's parts that need no window: which dropped file is which channel, how a
// temperature is written, and stored settings that are out of range.
#include <gtest/gtest.h>

#include <cmath>

#include "CaseName.h"
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

}  // namespace
}  // namespace palettor
