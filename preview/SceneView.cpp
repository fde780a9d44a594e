#include "SceneView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "PreviewSettings.h"

namespace palettor {

namespace {

constexpr int kZoomSteps[] = {5, 10, 25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800, 1200, 1600, 2400, 3200};
static_assert(kZoomSteps[0] == kMinZoomPercent && std::size(kZoomSteps) > 1 &&
              kZoomSteps[std::size(kZoomSteps) - 1] == kMaxZoomPercent);

// Around an image, as most image viewers show it: a neutral dark grey that no colour of the
// table is mistaken for at the image's edge.
const QColor kBackground(0x3A, 0x3A, 0x3A);

// The step after `now` percent, up or down; the last step when there is none further.
int NextZoomStep(double now, bool up) {
  if (up) {
    for (const int step : kZoomSteps) {
      if (step > now + 0.01) return step;
    }
    return kZoomSteps[std::size(kZoomSteps) - 1];
  }
  for (auto step = std::rbegin(kZoomSteps); step != std::rend(kZoomSteps); ++step) {
    if (*step < now - 0.01) return *step;
  }
  return kZoomSteps[0];
}

}  // namespace

SceneView::SceneView(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName(QStringLiteral("SceneView"));
  setAccessibleName(tr("Coloured scene"));
  setAccessibleDescription(
      tr("The scene coloured with the table. Plus and minus zoom, 0 shows it at 100 percent, F fits it "
         "to the window, the arrow keys scroll."));
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::CrossCursor);
  // The view paints every pixel of the viewport itself.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  horizontalScrollBar()->setSingleStep(24);
  verticalScrollBar()->setSingleStep(24);
}

void SceneView::SetImage(const QImage* image) {
  image_ = image;
  ImageChanged();
}

void SceneView::ImageChanged() {
  const QSize size = image_ ? image_->size() : QSize();
  if (size != imageSize_) {
    ApplyZoom(percent_, fit_, QRectF(viewport()->rect()).center());
    imageSize_ = size;
  }
  viewport()->update();
}

QSize SceneView::ContentSize() const {
  if (!image_) return {};
  return {static_cast<int>(std::ceil(image_->width() * factor_)),
          static_cast<int>(std::ceil(image_->height() * factor_))};
}

QPointF SceneView::Origin() const {
  const QSize content = ContentSize();
  const QSize view = viewport()->size();
  const int x = content.width() < view.width() ? (view.width() - content.width()) / 2 : -horizontalScrollBar()->value();
  const int y =
      content.height() < view.height() ? (view.height() - content.height()) / 2 : -verticalScrollBar()->value();
  return QPointF(x, y);
}

double SceneView::FitFactor() const {
  if (!image_ || image_->isNull()) return 1.0;
  const QSize view = maximumViewportSize();  // without scroll bars: fitting needs none
  return std::max(0.01, std::min(static_cast<double>(view.width()) / image_->width(),
                                 static_cast<double>(view.height()) / image_->height()));
}

void SceneView::UpdateScrollBars() {
  const QSize content = ContentSize();
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
  verticalScrollBar()->setPageStep(view.height());
}

void SceneView::ApplyZoom(int percent, bool fit, QPointF anchor) {
  const QPointF before = Origin();
  const QPointF imagePoint = (anchor - before) / factor_;
  percent_ = std::clamp(percent, kMinZoomPercent, kMaxZoomPercent);
  fit_ = fit;
  factor_ = fit_ ? FitFactor() : percent_ / 100.0;
  UpdateScrollBars();
  // Keep the image point under the anchor where it was (the scroll bars clamp at the edges).
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(imagePoint.x() * factor_ - anchor.x())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(imagePoint.y() * factor_ - anchor.y())));
  viewport()->update();
  emit ZoomChanged();
  emit Moved();
}

void SceneView::SetZoomPercent(int percent) {
  ApplyZoom(percent == kZoomToFit ? percent_ : percent, percent == kZoomToFit, QRectF(viewport()->rect()).center());
}

void SceneView::ZoomIn() { ApplyZoom(NextZoomStep(factor_ * 100.0, true), false, QRectF(viewport()->rect()).center()); }

void SceneView::ZoomOut() {
  ApplyZoom(NextZoomStep(factor_ * 100.0, false), false, QRectF(viewport()->rect()).center());
}

std::optional<QPoint> SceneView::PixelAt(QPoint viewportPoint) const {
  if (!image_ || image_->isNull()) return std::nullopt;
  const QPointF at = (QPointF(viewportPoint) + QPointF(0.5, 0.5) - Origin()) / factor_;
  const QPoint pixel(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
  if (!image_->rect().contains(pixel)) return std::nullopt;
  return pixel;
}

QPoint SceneView::ViewportPointOf(QPoint pixel) const {
  const QPointF centre = Origin() + (QPointF(pixel) + QPointF(0.5, 0.5)) * factor_;
  return QPoint(static_cast<int>(std::floor(centre.x())), static_cast<int>(std::floor(centre.y())));
}

void SceneView::SetOverlay(const QImage* overlay) {
  overlay_ = overlay;
  viewport()->update();
}

void SceneView::SetSplit(const QImage* right, int column) {
  right_ = right;
  split_ = column;
  viewport()->update();
}

// The first viewport pixel whose centre lies in the column, as PixelAt() reads the view.
int SceneView::ViewportXOfColumn(int column) const {
  return static_cast<int>(std::ceil(Origin().x() + column * factor_ - 0.5));
}

int SceneView::ColumnEdgeNearest(int viewportX) const {
  const int width = image_ ? image_->width() : 0;
  return std::clamp(static_cast<int>(std::lround((viewportX - Origin().x()) / factor_)), 0, width);
}

void SceneView::DrawScaled(QPainter& painter, const QImage& image, const QRect& exposed) const {
  const QPoint at = Origin().toPoint();
  if (percent_ == 100 && !fit_) {
    // One image pixel per pixel: copy only the exposed part, no scaling.
    const QRect target = QRect(at, image.size()) & exposed;
    if (!target.isEmpty()) painter.drawImage(target.topLeft(), image, target.translated(-at));
    return;
  }
  // Enlarged: sharp blocks, so that single pixels can be told apart; reduced: smoothed.
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, factor_ < 1.0);
  painter.setClipRect(exposed);
  painter.translate(at);
  painter.scale(factor_, factor_);
  painter.drawImage(QPointF(0, 0), image);
  painter.restore();
}

void SceneView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect exposed = event->rect();
  painter.fillRect(exposed, kBackground);
  if (image_ && !image_->isNull()) {
    if (right_ && right_->size() == image_->size()) {
      const int x = ViewportXOfColumn(split_);
      DrawScaled(painter, *image_,
                 exposed & QRect(QPoint(exposed.left(), exposed.top()), QPoint(x - 1, exposed.bottom())));
      DrawScaled(painter, *right_,
                 exposed & QRect(QPoint(x, exposed.top()), QPoint(exposed.right(), exposed.bottom())));
    } else {
      DrawScaled(painter, *image_, exposed);
    }
    if (overlay_ && overlay_->size() == image_->size()) {
      painter.setCompositionMode(QPainter::CompositionMode_Multiply);
      DrawScaled(painter, *overlay_, exposed);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
  }
  ++paints_;
}

void SceneView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (fit_) {
    ApplyZoom(percent_, true, QRectF(viewport()->rect()).center());
  } else {
    UpdateScrollBars();
  }
  emit Moved();
}

void SceneView::scrollContentsBy(int, int) {
  viewport()->update();
  emit Moved();
}

void SceneView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::ControlModifier) {
    QAbstractScrollArea::wheelEvent(event);  // Shift+wheel and the like scroll
    return;
  }
  wheelAngle_ += event->angleDelta().y();
  // One step per notch of a mouse wheel; a touchpad's small turns add up to one.
  while (std::abs(wheelAngle_) >= 120) {
    const bool in = wheelAngle_ > 0;
    wheelAngle_ -= in ? 120 : -120;
    ApplyZoom(NextZoomStep(factor_ * 100.0, in), false, event->position());
  }
  event->accept();
}

void SceneView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  pressedAt_ = event->position().toPoint();
  lastDragPoint_ = *pressedAt_;
  panning_ = false;
  event->accept();
}

void SceneView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (pressedAt_ && (event->buttons() & Qt::LeftButton)) {
    if (!panning_ && (at - *pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
      panning_ = true;
      viewport()->setCursor(Qt::ClosedHandCursor);
    }
    if (panning_) {
      const QPoint moved = at - lastDragPoint_;
      horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
      verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
      lastDragPoint_ = at;
    }
  }
  ReportHover(at);
  event->accept();
}

void SceneView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressedAt_) {
    QAbstractScrollArea::mouseReleaseEvent(event);
    return;
  }
  const bool wasPanning = panning_;
  pressedAt_.reset();
  panning_ = false;
  viewport()->setCursor(Qt::CrossCursor);
  if (!wasPanning) {
    if (const auto pixel = PixelAt(event->position().toPoint())) emit PixelClicked(*pixel);
  }
  event->accept();
}

void SceneView::keyPressEvent(QKeyEvent* event) {
  if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal: ZoomIn(); return;
      case Qt::Key_Minus: ZoomOut(); return;
      case Qt::Key_0: SetZoomPercent(100); return;
      case Qt::Key_F: SetZoomPercent(kZoomToFit); return;
      default: break;
    }
  }
  QAbstractScrollArea::keyPressEvent(event);
}

bool SceneView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) emit HoverLeft();
  return QAbstractScrollArea::viewportEvent(event);
}

void SceneView::ReportHover(QPoint viewportPoint) {
  if (const auto pixel = PixelAt(viewportPoint)) {
    emit PixelHovered(*pixel);
  } else {
    emit HoverLeft();
  }
}

}  // namespace palettor
