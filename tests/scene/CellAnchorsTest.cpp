// The anchor a click on a pixel selects, at the edges of the bands and of the blue tail.
#include <gtest/gtest.h>

#include "CaseName.h"
#include "CellAnchors.h"

namespace palettor {
namespace {

struct SelectCase {
  bool smooth;
  int tailPercent;
  int celsius;
  int brightness;
  int selected;
};

void PrintTo(const SelectCase& c, std::ostream* os) {
  *os << (c.smooth ? "smooth" : "flat") << " P" << c.tailPercent << " " << c.celsius << "C k" << c.brightness;
}

class SelectedAnchor : public testing::TestWithParam<SelectCase> {};

TEST_P(SelectedAnchor, IsTheOneThatGovernsTheCell) {
  const SelectCase c = GetParam();
  const TableInputs table = FactoryTableInputs(c.tailPercent, true, c.smooth);
  EXPECT_EQ(AnchorsOfCell(c.celsius + 60, c.brightness, table).selected, c.selected);
}

INSTANTIATE_TEST_SUITE_P(BlueTail, SelectedAnchor,
                         testing::Values(SelectCase{true, 12, 2, 30, -7},     // +2 degrees, last tail row
                                         SelectCase{true, 12, 2, 31, 0},      // first row above the tail
                                         SelectCase{true, 12, 1, 0, 0},       // +1 degree never takes the tail
                                         SelectCase{false, 12, 39, 0, -7},    // whatever Smooth colours says
                                         SelectCase{true, 0, 39, 0, 4},       // no tail at 0 percent
                                         SelectCase{true, 100, 20, 254, -7},  // 100 percent: all but the top row
                                         SelectCase{true, 100, 20, 255, 2},
                                         SelectCase{true, 1, 20, 2, -7},  // 1 percent: rows 0 ... 2
                                         SelectCase{true, 1, 20, 3, 2}),
                         test::CaseName<SelectCase>);

INSTANTIATE_TEST_SUITE_P(SmoothColours, SelectedAnchor,
                         testing::Values(SelectCase{true, 12, -60, 200, -6},  // the -60 anchor alone
                                         SelectCase{true, 12, -56, 200, -6},  // 0.4 of the warmer one
                                         SelectCase{true, 12, -55, 200, -6},  // exactly halfway: the colder
                                         SelectCase{true, 12, -54, 200, -5},  // 0.6 of the warmer one
                                         SelectCase{true, 12, -45, 200, -5}, SelectCase{true, 12, -5, 200, -1},
                                         SelectCase{true, 12, -2, 200, 0},  // 0.8 of the 0 degree anchor
                                         SelectCase{true, 12, -1, 200, 0}, SelectCase{true, 12, 1, 200, 0},
                                         SelectCase{true, 12, 5, 200, 0},  // halfway between 0 and +10
                                         SelectCase{true, 12, 6, 200, 1}, SelectCase{true, 12, 35, 200, 3},
                                         SelectCase{true, 12, 36, 200, 4}, SelectCase{true, 12, 39, 200, 4}),
                         test::CaseName<SelectCase>);

INSTANTIATE_TEST_SUITE_P(FlatBands, SelectedAnchor,
                         testing::Values(SelectCase{false, 12, -60, 200, -6}, SelectCase{false, 12, -51, 200, -6},
                                         SelectCase{false, 12, -50, 200, -5}, SelectCase{false, 12, -11, 200, -2},
                                         SelectCase{false, 12, -10, 200, -1}, SelectCase{false, 12, -2, 200, -1},
                                         SelectCase{false, 12, -1, 200, 0}, SelectCase{false, 12, 0, 200, 0},
                                         SelectCase{false, 12, 1, 200, 0}, SelectCase{false, 12, 2, 200, 1},
                                         SelectCase{false, 12, 9, 200, 1}, SelectCase{false, 12, 10, 200, 2},
                                         SelectCase{false, 12, 39, 200, 4}),
                         test::CaseName<SelectCase>);

TEST(GoverningAnchors, ABlendNamesBothAnchorsWithTheirShares) {
  const TableInputs smooth = FactoryTableInputs(12, true, true);
  const CellAnchors blend = AnchorsOfCell(-3 + 60, 128, smooth);
  ASSERT_EQ(blend.count, 2);
  EXPECT_EQ(blend.anchors[0], -1);
  EXPECT_EQ(blend.anchors[1], 0);
  EXPECT_EQ(blend.tenths[0], 3);
  EXPECT_EQ(blend.tenths[1], 7);
  EXPECT_FALSE(blend.blueTail);

  EXPECT_EQ(AnchorsOfCell(-20 + 60, 128, smooth).count, 1);  // weight 0: the colder anchor alone
  EXPECT_EQ(AnchorsOfCell(0 + 60, 128, smooth).count, 1);
  EXPECT_EQ(AnchorsOfCell(-3 + 60, 128, FactoryTableInputs(12, true, false)).count, 1);
  const CellAnchors tail = AnchorsOfCell(30 + 60, 0, smooth);
  EXPECT_TRUE(tail.blueTail);
  EXPECT_EQ(tail.count, 1);
  EXPECT_EQ(tail.anchors[0], kBlueTailAnchor);
}

}  // namespace
}  // namespace palettor
