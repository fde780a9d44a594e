// Colour-vision simulation against the published matrices worked out here in single
// precision, over the colours of real tables and a grid through the whole RGB cube.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "VisionSimulation.h"

namespace palettor {
namespace {

struct Expected {
  VisionSimulation simulation;
  float m[3][3];
};

const Expected kExpected[] = {
    {VisionSimulation::Protanopia,
     {{0.152286f, 1.052583f, -0.204868f}, {0.114503f, 0.786281f, 0.099216f}, {-0.003882f, -0.048116f, 1.051998f}}},
    {VisionSimulation::Deuteranopia,
     {{0.367322f, 0.860646f, -0.227968f}, {0.280085f, 0.672501f, 0.047413f}, {-0.011820f, 0.042940f, 0.968881f}}},
    {VisionSimulation::Tritanopia,
     {{1.255528f, -0.076749f, -0.178779f}, {-0.078411f, 0.930809f, 0.147602f}, {0.004733f, 0.691367f, 0.303900f}}},
    {VisionSimulation::Greyscale,
     {{0.2126f, 0.7152f, 0.0722f}, {0.2126f, 0.7152f, 0.0722f}, {0.2126f, 0.7152f, 0.0722f}}},
};

float ToLinear(int level) {
  const float c = static_cast<float>(level) / 255.0f;
  return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

int ToLevel(float l) {
  l = std::fmin(std::fmax(l, 0.0f), 1.0f);
  const float c = l <= 0.0031308f ? 12.92f * l : 1.055f * std::pow(l, 1.0f / 2.4f) - 0.055f;
  return static_cast<int>(std::lround(c * 255.0f));
}

int LargestChannelDifference(const Expected& e, PackedColour in) {
  const float rgb[3] = {ToLinear(RedOf(in)), ToLinear(GreenOf(in)), ToLinear(BlueOf(in))};
  const PackedColour got = SimulateVision(in, e.simulation);
  const int gotChannels[3] = {RedOf(got), GreenOf(got), BlueOf(got)};
  int largest = 0;
  for (int i = 0; i < 3; ++i) {
    const int want = ToLevel(e.m[i][0] * rgb[0] + e.m[i][1] * rgb[1] + e.m[i][2] * rgb[2]);
    largest = std::max(largest, std::abs(gotChannels[i] - want));
  }
  return largest;
}

std::vector<PackedColour> TestColours() {
  std::vector<PackedColour> colours;
  auto table = std::make_unique<LutPixels>();
  for (const bool whiteTop : {false, true}) {
    GenerateTable(FactoryTableInputs(12, whiteTop, true), *table);
    colours.insert(colours.end(), table->begin(), table->end());
  }
  for (int r = 0; r < 256; r += 17) {
    for (int g = 0; g < 256; g += 17) {
      for (int b = 0; b < 256; b += 17) colours.push_back(PackRGB(r, g, b));
    }
  }
  return colours;
}

TEST(VisionSimulation, WithinOneLevelOfTheMatricesForEveryColour) {
  const std::vector<PackedColour> colours = TestColours();
  for (const Expected& e : kExpected) {
    int largest = 0;
    for (const PackedColour c : colours) largest = std::max(largest, LargestChannelDifference(e, c));
    EXPECT_LE(largest, 1) << VisionSimulationName(e.simulation);
  }
}

TEST(VisionSimulation, GreyscaleIsGreyAndKeepsGreysAndNormalChangesNothing) {
  for (const PackedColour c : TestColours()) {
    const PackedColour grey = SimulateVision(c, VisionSimulation::Greyscale);
    ASSERT_TRUE(RedOf(grey) == GreenOf(grey) && GreenOf(grey) == BlueOf(grey)) << std::hex << c;
    ASSERT_EQ(SimulateVision(c, VisionSimulation::Normal), c);
  }
  for (int level = 0; level < 256; ++level) {
    // The three weights add up to 1, so a grey stays itself.
    EXPECT_EQ(SimulateVision(PackRGB(level, level, level), VisionSimulation::Greyscale), PackRGB(level, level, level));
  }
}

TEST(VisionSimulation, AWholeTableIsSimulatedColourByColour) {
  auto table = std::make_unique<LutPixels>();
  auto simulated = std::make_unique<LutPixels>();
  GenerateTable(FactoryTableInputs(), *table);
  SimulateVision(*table, VisionSimulation::Deuteranopia, *simulated);
  for (std::size_t i = 0; i < table->size(); i += 97) {
    EXPECT_EQ((*simulated)[i], SimulateVision((*table)[i], VisionSimulation::Deuteranopia));
  }
}

TEST(VisionSimulation, NamesAsTheCommandLineTakesThem) {
  EXPECT_EQ(VisionSimulationNamed("normal"), VisionSimulation::Normal);
  EXPECT_EQ(VisionSimulationNamed("protanopia"), VisionSimulation::Protanopia);
  EXPECT_EQ(VisionSimulationNamed("deuteranopia"), VisionSimulation::Deuteranopia);
  EXPECT_EQ(VisionSimulationNamed("tritanopia"), VisionSimulation::Tritanopia);
  EXPECT_EQ(VisionSimulationNamed("greyscale"), VisionSimulation::Greyscale);
  EXPECT_FALSE(VisionSimulationNamed("grayscale"));
  EXPECT_FALSE(VisionSimulationNamed("Protanopia"));
  EXPECT_FALSE(VisionSimulationNamed(""));
}

}  // namespace
}  // namespace palettor
