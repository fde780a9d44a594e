#include "ReferenceDensity.h"

#include <cmath>

namespace palettor::test {

int ReferenceGoverningAnchor(int celsius, int row, int tailPercent, bool smooth) {
  // The blue tail: +2 degrees and warmer, in the rows below the tail percent.
  if (celsius >= 2 && row * 100 / 255 < tailPercent) return -7;
  // -1, 0 and +1 degrees have the 0 degree anchor alone.
  if (celsius >= -1 && celsius <= 1) return 0;
  const int below = static_cast<int>(std::floor(celsius / 10.0));  // the anchor at or below
  if (!smooth) return celsius <= 0 ? below : below + 1;            // flat bands: up to 0 the lower one
  // Blended: the nearer anchor, the colder one halfway.
  const int past = celsius - below * 10;
  return past > 5 ? below + 1 : below;
}

double ReferenceLevelCelsius(double black, double white, int level, int top) {
  return black + ((white - black) * level) / top;
}

ReferenceDensity ReferenceDensityOf(const std::vector<ReferencePixel>& pixels, int tailPercent, bool smooth) {
  ReferenceDensity density;
  for (const ReferencePixel& pixel : pixels) {
    if (std::isnan(pixel.celsius) || pixel.row < 0) {
      ++density.noData;
      continue;
    }
    double degree = std::floor(pixel.celsius + 0.5);
    if (degree < -60) {
      ++density.belowTable;
      degree = -60;
    } else if (degree > 39) {
      ++density.aboveTable;
      degree = 39;
    }
    const int celsius = static_cast<int>(degree);
    ++density.cells[{celsius, pixel.row}];
    ++density.pixels;
    const int anchor = ReferenceGoverningAnchor(celsius, pixel.row, tailPercent, smooth);
    ++density.anchorPixels[static_cast<std::size_t>(anchor == -7 ? 11 : anchor + 6)];
  }
  return density;
}

}  // namespace palettor::test
