#include "AnchorShares.h"

#include "CellAnchors.h"

namespace palettor {

AnchorShares::AnchorShares(const SceneDensity& density, const Palette& palette) : total_(density.Pixels()) {
  const TableInputs table = TableInputsOf(palette);
  for (int column = 0; column < kTableWidth; ++column) {
    for (int brightness = 0; brightness < kTableHeight; ++brightness) {
      const std::uint64_t count = density.Count(column, brightness);
      if (count != 0) pixels_[AnchorSlot(AnchorsOfCell(column, brightness, table).selected)] += count;
    }
  }
}

double AnchorShares::Percent(int anchor) const {
  return total_ == 0 ? 0.0 : 100.0 * static_cast<double>(Pixels(anchor)) / static_cast<double>(total_);
}

}  // namespace palettor
