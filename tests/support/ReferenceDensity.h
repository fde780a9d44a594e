#pragma once
// Where a scene's pixels fall in the table and which anchor governs each cell, worked out one
// pixel at a time from the rules as a user reads them: the yardstick for the scene's density,
// in the library and on the command line.
#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace palettor::test {

// One pixel as a test generates it: its temperature in degrees Celsius and its table row
// (0 ... 255 from the bottom); a NaN temperature or a negative row is no data.
struct ReferencePixel {
  double celsius;
  int row;
};

struct ReferenceDensity {
  std::map<std::pair<int, int>, std::uint64_t> cells;  // (temperature -60 ... 39, row) -> pixels
  std::uint64_t pixels = 0, noData = 0, belowTable = 0, aboveTable = 0;
  // Pixels per anchor: M60 ... P40, then M70.
  std::array<std::uint64_t, 12> anchorPixels{};
};

// The anchor a click on the cell selects, as -7 (blue tail) ... 4 (+40 degrees).
int ReferenceGoverningAnchor(int celsius, int row, int tailPercent, bool smooth);

ReferenceDensity ReferenceDensityOf(const std::vector<ReferencePixel>& pixels, int tailPercent, bool smooth);

// The temperature an infrared level stands for: black + (white - black) * level / top.
double ReferenceLevelCelsius(double black, double white, int level, int top);

}  // namespace palettor::test
