// The engine's generator against the literal pixel-by-pixel reference, over palettes and
// options that no table lists.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "ReferenceTable.h"

namespace palettor {
namespace {

::testing::AssertionResult SameTable(const TableInputs& in) {
  auto fast = std::make_unique<LutPixels>();
  auto slow = std::make_unique<LutPixels>();
  GenerateTable(in, *fast);
  test::ReferenceTable(in, *slow);
  for (std::size_t i = 0; i < fast->size(); ++i) {
    if ((*fast)[i] != (*slow)[i]) {
      return ::testing::AssertionFailure() << "pixel (" << i % 100 << ", " << i / 100 << "): 0x" << std::hex
                                           << (*fast)[i] << " instead of 0x" << (*slow)[i];
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(TableAgainstReference, FactoryPaletteWithEveryOptionCombination) {
  for (const int percent : {0, 1, 12, 37, 50, 99, 100}) {
    for (const bool whiteTop : {false, true}) {
      for (const bool smooth : {false, true}) {
        for (const int nightFloor : {0, 10, 30, 50}) {
          TableInputs in = FactoryTableInputs(percent, whiteTop, smooth);
          in.nightFloorPercent = nightFloor;
          EXPECT_TRUE(SameTable(in)) << percent << " " << whiteTop << " " << smooth << " night floor " << nightFloor;
        }
      }
    }
  }
}

TEST(TableAgainstReference, RandomPalettes) {
  std::mt19937 random(20011212);
  std::uniform_int_distribution<int> hue(0, 360), sat(0, 100), coin(0, 1);
  // Night floors come from a generator of their own, so the palettes stay those of earlier runs.
  std::mt19937 floors(18);
  std::uniform_int_distribution<int> nightFloor(0, 50);
  for (int round = 0; round < 300; ++round) {
    AnchorValues values;
    for (auto& v : values) v = {hue(random), sat(random)};
    TableInputs in =
        MakeTableInputs(DeriveAnchorColours(values), values[0], sat(random), coin(random) == 1, coin(random) == 1);
    in.nightFloorPercent = nightFloor(floors);
    ASSERT_TRUE(SameTable(in)) << "round " << round;
  }
}

TEST(TableAgainstReference, SaturatedAndGreyPalettes) {
  for (const int s : {0, 1, 50, 99, 100}) {
    for (int h = 0; h <= 360; h += 15) {
      AnchorValues values;
      for (std::size_t i = 0; i < values.size(); ++i) values[i] = {(h + static_cast<int>(i) * 31) % 361, s};
      EXPECT_TRUE(SameTable(MakeTableInputs(DeriveAnchorColours(values), values[0], 12, true, true))) << h << " " << s;
    }
  }
}

TEST(TableAgainstReference, ArbitraryAnchorColours) {
  // Colours that no hue and saturation derive to (not every channel at full strength).
  std::mt19937 random(7);
  std::uniform_int_distribution<int> channel(0, 255), percent(0, 100), coin(0, 1);
  std::mt19937 floors(19);
  std::uniform_int_distribution<int> nightFloor(0, 50);
  for (int round = 0; round < 100; ++round) {
    TableInputs in;
    for (auto& c : in.anchorColours) c = PackRGB(channel(random), channel(random), channel(random));
    in.tailHue = channel(random);
    in.tailSaturation = percent(random);
    in.tailPercent = percent(random);
    in.whiteTop = coin(random) == 1;
    in.smoothColours = coin(random) == 1;
    in.nightFloorPercent = nightFloor(floors);
    ASSERT_TRUE(SameTable(in)) << "round " << round;
  }
}

}  // namespace
}  // namespace palettor
