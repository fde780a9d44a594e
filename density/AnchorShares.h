#pragma once
// How much of a scene each of the twelve anchors colours: the pixels of the cells it governs,
// by the rule a click on the scene selects an anchor with (CellAnchors.h: the blue tail in its
// cells; else, without Smooth colours, the anchor the column takes its colour from; with it,
// the one of the larger weight, the colder on a tie).
#include <array>
#include <cstdint>

#include "AnchorPalette.h"
#include "Palette.h"
#include "SceneDensity.h"

namespace palettor {

class AnchorShares {
 public:
  AnchorShares(const SceneDensity& density, const Palette& palette);

  std::uint64_t Pixels(int anchor) const { return pixels_[AnchorSlot(anchor)]; }
  // Percent of the pixels with data, 0 for a scene without any.
  double Percent(int anchor) const;

 private:
  std::array<std::uint64_t, kAnchorCount> pixels_{};
  std::uint64_t total_ = 0;
};

// -6 ... 4 and then -7: coldest first, the blue tail last, as summaries list them.
constexpr std::array<int, kAnchorCount> kAnchorsInSummaryOrder{-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, kBlueTailAnchor};

}  // namespace palettor
