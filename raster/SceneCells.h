#pragma once
// A region of a scene sampled as table cells: what a viewer keeps of the part it shows, so that
// a new table colours it again without reading anything.
//
// Each sample holds the infrared key (its level under the level rule, which the scale turns
// into a column; else the column in the low byte and its TableSide in the high one) and the
// visible row counted from the bottom, or kNoDataRow where either channel has no data.
#include <cstdint>
#include <optional>
#include <vector>

#include "GreyImage.h"
#include "SceneChannel.h"

namespace palettor {

struct SceneCells {
  static constexpr std::uint16_t kNoDataRow = 0x100;

  PixelWindow region;         // the scene's pixels the samples cover
  int width = 0, height = 0;  // samples across and down
  // The level rule's depth; nothing when the keys are columns already.
  std::optional<GreyDepth> irLevels;
  std::vector<std::uint16_t> ir, vis;  // width × height each, row by row

  // Samples per scene pixel across: 1 at full resolution.
  double Scale() const { return region.width > 0 ? static_cast<double>(width) / region.width : 0.0; }
};

}  // namespace palettor
