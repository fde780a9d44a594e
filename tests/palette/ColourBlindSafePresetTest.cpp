// The colour-blind-safe palette seen as people with protanopia or deuteranopia see it: its
// anchors must stay apart and in order. Measured on the table it gives (the anchor columns
// -60, -50 ... +30 and +39 degrees) at every brightness from 128 up, through the colour-vision
// simulation, with differences in CIELAB (CIE76 delta E, computed here on its own):
// - every two anchor columns differ by at least 8, about three and a half just-noticeable
//   differences (2.3 each), so no two temperatures ten or more degrees apart look alike;
// - from the 0 degree column outwards, each anchor on either side is further from it than the
//   one before, so colder still reads as colder and warmer as warmer.
// Below brightness 128 every palette darkens towards black and nothing stays apart.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "BuiltInPalettes.h"
#include "VisionSimulation.h"

namespace palettor {
namespace {

struct Lab {
  double L, a, b;
};

// sRGB (D65) to CIELAB.
Lab ToLab(PackedColour colour) {
  const auto linear = [](int level) {
    const double c = level / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double r = linear(RedOf(colour)), g = linear(GreenOf(colour)), b = linear(BlueOf(colour));
  const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
  const auto f = [](double t) { return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0; };
  return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
}

double DeltaE(PackedColour p, PackedColour q) {
  const Lab a = ToLab(p), b = ToLab(q);
  return std::hypot(a.L - b.L, a.a - b.a, a.b - b.b);
}

constexpr double kMinDifference = 8.0;
// The columns of the anchors -60 ... +30 degrees; +40 lies beyond the table, +39 stands for it.
constexpr int kAnchorColumns[] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 99};
constexpr int kZeroColumn = 6;  // index into kAnchorColumns

class ColourBlindSafePreset : public testing::TestWithParam<VisionSimulation> {};

TEST_P(ColourBlindSafePreset, AnchorsStayApartAndInOrder) {
  const NamedPalette* safe = nullptr;
  for (const NamedPalette& p : BuiltInPalettes()) {
    if (p.name == QStringLiteral("colour-blind-safe")) safe = &p;
  }
  ASSERT_NE(safe, nullptr);
  auto table = std::make_unique<LutPixels>();
  auto seen = std::make_unique<LutPixels>();
  GenerateTable(TableInputsOf(safe->palette), *table);
  SimulateVision(*table, GetParam(), *seen);

  for (int brightness = 128; brightness <= 255; ++brightness) {
    const auto cell = [&](int anchor) {
      return (*seen)[static_cast<std::size_t>((255 - brightness) * kTableWidth + kAnchorColumns[anchor])];
    };
    for (int i = 0; i < 11; ++i) {
      for (int j = i + 1; j < 11; ++j) {
        EXPECT_GE(DeltaE(cell(i), cell(j)), kMinDifference)
            << "columns " << kAnchorColumns[i] << " and " << kAnchorColumns[j] << " at brightness " << brightness;
      }
    }
    for (int i = kZeroColumn + 1; i < 11; ++i)
      EXPECT_GT(DeltaE(cell(i), cell(kZeroColumn)), DeltaE(cell(i - 1), cell(kZeroColumn)))
          << "brightness " << brightness;
    for (int i = kZeroColumn - 1; i >= 0; --i)
      EXPECT_GT(DeltaE(cell(i), cell(kZeroColumn)), DeltaE(cell(i + 1), cell(kZeroColumn)))
          << "brightness " << brightness;
  }
}

INSTANTIATE_TEST_SUITE_P(Vision, ColourBlindSafePreset,
                         testing::Values(VisionSimulation::Normal, VisionSimulation::Protanopia,
                                         VisionSimulation::Deuteranopia),
                         [](const auto& param) { return std::string(VisionSimulationName(param.param)); });

}  // namespace
}  // namespace palettor
