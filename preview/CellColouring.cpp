#include "CellColouring.h"

#include <array>
#include <cstdint>
#include <memory>

namespace palettor {

namespace {

// Cells indexed by (row << 7) | column: 256 rows of the table and a last row of no data.
constexpr unsigned kColumnBits = 7;
constexpr std::size_t kRows = SceneCells::kNoDataRow + 1;
using CellColours = std::array<QRgb, kRows << kColumnBits>;

void FillCellColours(const SceneColouriser& colouriser, CellColours& colours) {
  const auto rgb = [](PackedColour p) { return qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF); };
  colours.fill(rgb(colouriser.NoDataColour()));
  for (int row = 0; row < kTableHeight; ++row) {
    for (int column = 0; column < kTableWidth; ++column) {
      colours[(static_cast<std::size_t>(row) << kColumnBits) | static_cast<std::size_t>(column)] =
          rgb(colouriser.ColourAt(column, row));
    }
  }
}

}  // namespace

void ColourCells(const SceneCells& cells, const QRect& part, const SceneColouriser& colouriser, QImage& target) {
  const QRect inside = part & QRect(0, 0, cells.width, cells.height);
  if (inside.isEmpty()) {
    target = QImage();
    return;
  }
  if (target.size() != inside.size() || target.format() != QImage::Format_RGB32) {
    target = QImage(inside.size(), QImage::Format_RGB32);
    if (target.isNull()) return;
  }
  const auto colours = std::make_unique<CellColours>();
  FillCellColours(colouriser, *colours);
  // Under the level rule a key is a level, which the scale puts in a column.
  const std::uint8_t* columns = cells.irLevels ? colouriser.ColumnMapOf(*cells.irLevels).Data() : nullptr;
  for (int y = 0; y < inside.height(); ++y) {
    const auto from = static_cast<std::size_t>(inside.y() + y) * static_cast<std::size_t>(cells.width) +
                      static_cast<std::size_t>(inside.x());
    const std::uint16_t* ir = cells.ir.data() + from;
    const std::uint16_t* vis = cells.vis.data() + from;
    auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
    if (columns) {
      for (int x = 0; x < inside.width(); ++x)
        out[x] = (*colours)[(std::size_t{vis[x]} << kColumnBits) | columns[ir[x]]];
    } else {
      for (int x = 0; x < inside.width(); ++x)
        out[x] = (*colours)[(std::size_t{vis[x]} << kColumnBits) | (ir[x] & 0xFFu)];
    }
  }
}

}  // namespace palettor
