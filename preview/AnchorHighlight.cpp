#include "AnchorHighlight.h"

#include "CellAnchors.h"
#include "SceneColouriser.h"
#include "SceneImage.h"

namespace palettor {

AnchorHighlight::AnchorHighlight()
    : colouriser_(std::make_unique<SceneColouriser>()), table_(std::make_unique<LutPixels>()) {}

AnchorHighlight::~AnchorHighlight() = default;

void AnchorHighlight::Show(int anchor, const TableInputs& inputs, IrScale scale, const GreyImage& ir,
                           const GreyImage& vis) {
  const PackedColour kept = PackRGB(255, 255, 255), dimmed = PackRGB(kDimmedGrey, kDimmedGrey, kDimmedGrey);
  for (int y = 0; y < kTableHeight; ++y) {
    for (int column = 0; column < kTableWidth; ++column) {
      const bool governed = AnchorsOfCell(column, kTableHeight - 1 - y, inputs).selected == anchor;
      (*table_)[static_cast<std::size_t>(y * kTableWidth + column)] = governed ? kept : dimmed;
    }
  }
  colouriser_->SetTable(*table_);
  colouriser_->SetScale(scale);
  ColouriseInto(*colouriser_, ir, vis, overlay_);
  anchor_ = overlay_.isNull() ? std::nullopt : std::optional<int>(anchor);
}

void AnchorHighlight::Clear() { anchor_.reset(); }

}  // namespace palettor
