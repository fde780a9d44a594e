// Colour-vision simulation against the published matrices worked out in single precision
// (ReferenceScene.h), over the colours of real tables and a grid through the whole RGB cube.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ReferenceScene.h"
#include "VisionSimulation.h"

namespace palettor {
namespace {

constexpr VisionSimulation kSimulated[] = {VisionSimulation::Protanopia, VisionSimulation::Deuteranopia,
                                           VisionSimulation::Tritanopia, VisionSimulation::Greyscale};

int LargestChannelDifference(VisionSimulation simulation, PackedColour in) {
  const PackedColour got = SimulateVision(in, simulation);
  const PackedColour want = test::ReferenceSimulation(in, simulation);
  return std::max({std::abs(RedOf(got) - RedOf(want)), std::abs(GreenOf(got) - GreenOf(want)),
                   std::abs(BlueOf(got) - BlueOf(want))});
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
  for (const VisionSimulation simulation : kSimulated) {
    int largest = 0;
    for (const PackedColour c : colours) largest = std::max(largest, LargestChannelDifference(simulation, c));
    EXPECT_LE(largest, 1) << VisionSimulationName(simulation);
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
