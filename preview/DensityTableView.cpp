#include "DensityTableView.h"

#include <QMouseEvent>
#include <QPainter>

namespace palettor {

DensityTableView::DensityTableView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("DensityTable"));
  setAccessibleName(tr("The table with the scene's pixels over it"));
  setFixedSize(sizeHint());
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  Redraw();
}

void DensityTableView::SetTable(const LutPixels& table) {
  table_ = table;
  Redraw();
}

void DensityTableView::SetCounts(const SceneDensity* counts) {
  density_.SetCounts(counts);
  Redraw();
}

void DensityTableView::Redraw() {
  density_.Draw(table_, picture_);
  update();
}

void DensityTableView::MarkCell(std::optional<TableCell> cell) {
  if (cell == marked_) return;
  marked_ = cell;
  update();
}

QPoint DensityTableView::PointOfCell(TableCell cell) {
  return {cell.column * DensityPicture::kColumnWidth + 1, kTableHeight - 1 - cell.brightness};
}

std::optional<TableCell> DensityTableView::CellAt(QPoint point) {
  if (point.x() < 0 || point.y() < 0 || point.x() >= DensityPicture::kWidth || point.y() >= DensityPicture::kHeight)
    return std::nullopt;
  return TableCell{point.x() / DensityPicture::kColumnWidth, kTableHeight - 1 - point.y()};
}

void DensityTableView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
  if (marked_) {
    // A ring a pixel clear of the cell, white inside black, seen on any colour.
    const QPoint at = PointOfCell(*marked_);
    const QRect cell(at.x() - 1, at.y(), DensityPicture::kColumnWidth, 1);
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(cell.adjusted(-2, -2, 1, 1));
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(cell.adjusted(-3, -3, 2, 2));
  }
  ++paints_;
}

void DensityTableView::mouseMoveEvent(QMouseEvent* event) {
  const std::optional<TableCell> cell = CellAt(event->position().toPoint());
  if (cell == hovered_) return;
  if (cell) {
    hovered_ = cell;
    emit CellHovered(*cell);
  } else {
    LeaveCell();
  }
}

// Said once, and only after a cell was hovered: the scene may be what the pointer is over now.
void DensityTableView::LeaveCell() {
  if (!hovered_) return;
  hovered_.reset();
  emit HoverLeft();
}

void DensityTableView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (const auto cell = CellAt(event->position().toPoint())) emit CellClicked(*cell);
}

void DensityTableView::leaveEvent(QEvent*) { LeaveCell(); }

}  // namespace palettor
