#pragma once
// The panel's table: a DensityPicture on screen, one cell marked (the one under the pointer in
// the scene), reporting the cell under the pointer and a click on one.
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "DensityPicture.h"
#include "SceneDensity.h"
#include "TableCell.h"

namespace palettor {

class DensityTableView : public QWidget {
  Q_OBJECT
 public:
  explicit DensityTableView(QWidget* parent = nullptr);

  void SetTable(const LutPixels& table);
  // nullptr: no scene. The counts are read here and not kept.
  void SetCounts(const SceneDensity* counts);
  const DensityPicture& Density() const { return density_; }

  void MarkCell(std::optional<TableCell> cell);
  std::optional<TableCell> MarkedCell() const { return marked_; }

  // Where a cell's middle is on the widget, and the cell at a point of it.
  static QPoint PointOfCell(TableCell cell);
  static std::optional<TableCell> CellAt(QPoint point);

  std::uint64_t PaintCount() const { return paints_; }
  QSize sizeHint() const override { return {DensityPicture::kWidth, DensityPicture::kHeight}; }

 signals:
  void CellHovered(TableCell cell);
  void CellClicked(TableCell cell);
  void HoverLeft();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Redraw();
  void LeaveCell();

  LutPixels table_{};
  DensityPicture density_;
  QImage picture_;
  std::optional<TableCell> marked_;
  std::optional<TableCell> hovered_;
  std::uint64_t paints_ = 0;
};

}  // namespace palettor
