#include "Palette.h"

namespace palettor {

TableInputs TableInputsOf(const Palette& palette) {
  return MakeTableInputs(DeriveAnchorColours(palette.anchors), palette.anchors[AnchorSlot(kBlueTailAnchor)],
                         palette.tailPercent, palette.whiteTop, palette.smoothColours);
}

}  // namespace palettor
