// The demo scene shows what a user of the viewer meets, and colours every part of the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cmath>

#include "DemoScene.h"

namespace palettor {
namespace {

class DemoSceneTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { scene_ = new DemoScene(MakeDemoScene()); }
  static void TearDownTestSuite() { delete scene_; }

  // Degrees of an IR level on the default scale, worked out here: level 0 is +40, 255 is -60.
  static double Celsius(int level) { return 40.0 - 100.0 * level / 255.0; }

  template <typename F>
  static int Count(F predicate) {
    int n = 0;
    for (int y = 0; y < scene_->ir.Height(); ++y) {
      for (int x = 0; x < scene_->ir.Width(); ++x)
        n += predicate(Celsius(scene_->ir.Level(x, y)), scene_->vis.Level(x, y));
    }
    return n;
  }

  static DemoScene* scene_;
};

DemoScene* DemoSceneTest::scene_ = nullptr;

TEST_F(DemoSceneTest, IsAtLeast1024By768AndEightBit) {
  EXPECT_GE(scene_->ir.Width(), 1024);
  EXPECT_GE(scene_->ir.Height(), 768);
  EXPECT_TRUE(SameSize(scene_->ir, scene_->vis));
  EXPECT_EQ(scene_->ir.Depth(), GreyDepth::Eight);
  EXPECT_EQ(scene_->vis.Depth(), GreyDepth::Eight);
}

TEST_F(DemoSceneTest, ReachesEveryColumnAndAtLeast200Brightnesses) {
  std::bitset<100> columns;
  std::bitset<256> brightness;
  Count([&](double celsius, int vis) {
    const double whole = std::floor(celsius + 0.5);
    columns.set(static_cast<std::size_t>(std::clamp(whole, -60.0, 39.0) + 60));
    brightness.set(static_cast<std::size_t>(vis));
    return 0;
  });
  EXPECT_EQ(columns.count(), 100u) << columns;
  EXPECT_GE(brightness.count(), 200u);
}

TEST_F(DemoSceneTest, ShowsEveryKindOfSurfaceAndCloud) {
  const int pixels = scene_->ir.Width() * scene_->ir.Height();
  const auto share = [pixels](int n) { return static_cast<double>(n) / pixels; };
  // Blue tail at the default 12 percent: +2 degrees or warmer, brightness 0 ... 30.
  EXPECT_GT(share(Count([](double c, int v) { return c >= 1.5 && v <= 30; })), 0.10) << "warm dark sea";
  EXPECT_GT(share(Count([](double c, int v) { return c >= 20 && v >= 50 && v < 160; })), 0.05) << "warm land";
  EXPECT_GT(share(Count([](double c, int v) { return c >= -2 && c <= 12 && v >= 150; })), 0.03) << "low cloud";
  EXPECT_GT(share(Count([](double c, int v) { return c <= -40 && v >= 200; })), 0.01) << "cold bright tops";
  EXPECT_GT(share(Count([](double c, int v) { return c <= -30 && v >= 40 && v <= 130; })), 0.005) << "cirrus";
  EXPECT_GT(share(Count([](double c, int v) { return c <= -30 && v <= 15; })), 0.01) << "cold night side";
}

TEST_F(DemoSceneTest, IsTheSameEveryTime) {
  const DemoScene again = MakeDemoScene();
  bool same = true;
  for (int y = 0; y < again.ir.Height() && same; ++y) {
    same = std::equal(again.ir.Row8(y), again.ir.Row8(y) + again.ir.Width(), scene_->ir.Row8(y)) &&
           std::equal(again.vis.Row8(y), again.vis.Row8(y) + again.vis.Width(), scene_->vis.Row8(y));
  }
  EXPECT_TRUE(same);
}

}  // namespace
}  // namespace palettor
