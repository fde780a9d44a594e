#include "Palette.h"

namespace palettor {

TableInputs TableInputsOf(const Palette& palette) {
  TableInputs inputs =
      MakeTableInputs(DeriveAnchorColours(palette.anchors), palette.anchors[AnchorSlot(kBlueTailAnchor)],
                      palette.tailPercent, palette.whiteTop, palette.smoothColours);
  inputs.nightFloorPercent = palette.nightFloorPercent;
  return inputs;
}

}  // namespace palettor
