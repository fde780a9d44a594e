#include "SplitDivider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "SceneView.h"

namespace palettor {

SplitDivider::SplitDivider(SceneView& view) : QWidget(view.viewport()), view_(view) {
  setObjectName(QStringLiteral("SplitDivider"));
  setAccessibleName(tr("Divider between the two tables"));
  setAccessibleDescription(tr("Left and Right move it a column, with Shift ten columns."));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::SplitHCursor);
  connect(&view_, &SceneView::Moved, this, &SplitDivider::Place);
  Place();
}

void SplitDivider::SetColumn(int column) {
  column = std::clamp(column, 0, sceneWidth_);
  if (column == column_) return;
  column_ = column;
  Place();
  emit ColumnChanged(column_);
}

void SplitDivider::SetSceneWidth(int width) {
  sceneWidth_ = std::max(0, width);
  SetColumn(column_);
}

void SplitDivider::Place() {
  const QWidget* port = view_.viewport();
  setGeometry(view_.ViewportXOfColumn(column_) - kWidth / 2, 0, kWidth, port->height());
}

void SplitDivider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int middle = kWidth / 2;
  // White between dark edges: seen on any colour of either table.
  painter.fillRect(middle - 1, 0, 3, height(), QColor(0, 0, 0));
  painter.fillRect(middle, 0, 1, height(), hasFocus() ? palette().highlight().color() : QColor(255, 255, 255));
  const int grip = height() / 2;
  painter.fillRect(0, grip - 12, kWidth, 24, QColor(0, 0, 0));
  painter.fillRect(1, grip - 11, kWidth - 2, 22, QColor(255, 255, 255));
}

void SplitDivider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  setFocus(Qt::MouseFocusReason);
}

void SplitDivider::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  SetColumn(view_.ColumnEdgeNearest(mapToParent(event->position().toPoint()).x()));
}

void SplitDivider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void SplitDivider::keyPressEvent(QKeyEvent* event) {
  const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
  switch (event->key()) {
    case Qt::Key_Left: SetColumn(column_ - step); return;
    case Qt::Key_Right: SetColumn(column_ + step); return;
    default: QWidget::keyPressEvent(event);
  }
}

}  // namespace palettor
