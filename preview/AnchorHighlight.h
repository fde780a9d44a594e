#pragma once
// The pixels of a scene that one anchor governs, as an overlay the view multiplies into the
// coloured scene: white over those pixels (they stay as they are), a quarter grey elsewhere (the
// rest of the scene dims). Made by colouring the scene with a table of those two colours, so a
// pixel is highlighted exactly when its cell is one the anchor governs (CellAnchors.h).
#include <QImage>
#include <memory>
#include <optional>

#include "ColumnMap.h"
#include "GreyImage.h"
#include "LutTable.h"

namespace palettor {

class SceneColouriser;

class AnchorHighlight {
 public:
  static constexpr int kDimmedGrey = 64;

  AnchorHighlight();
  ~AnchorHighlight();

  void Show(int anchor, const TableInputs& inputs, IrScale scale, const GreyImage& ir, const GreyImage& vis);
  void Clear();
  std::optional<int> Anchor() const { return anchor_; }
  // nullptr when nothing is highlighted.
  const QImage* Overlay() const { return anchor_ ? &overlay_ : nullptr; }

 private:
  std::unique_ptr<SceneColouriser> colouriser_;
  std::unique_ptr<LutPixels> table_;
  QImage overlay_;
  std::optional<int> anchor_;
};

}  // namespace palettor
