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

#include "CellColouring.h"
#include "CellSampling.h"
#include "PreviewSettings.h"
#include "SceneReader.h"

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

// Finer cells are read with this much of the scene around the part in view on every side (a
// fraction of the part), so that a short scroll finds them already there.
constexpr double kReadMargin = 0.5;

int Samples(int pixels, double scale) { return std::max(1, static_cast<int>(std::ceil(pixels * scale - 1e-9))); }

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

SceneView::~SceneView() = default;

void SceneView::SetScene(QSize size, std::shared_ptr<const SceneCells> whole, std::unique_ptr<SceneReader> reader) {
  reader_ = std::move(reader);
  if (reader_) connect(reader_.get(), &SceneReader::CellsRead, this, &SceneView::FinerCellsRead);
  whole_ = std::move(whole);
  finer_.reset();
  requested_.reset();
  const bool resized = size != sceneSize_;
  sceneSize_ = size;
  if (resized) {
    ApplyZoom(percent_, fit_, QRectF(viewport()->rect()).center());  // takes the cells in view
  } else {
    TakeCellsInView();
  }
}

void SceneView::SetColouriser(const SceneColouriser* colouriser) {
  colouriser_ = colouriser;
  Recolour();
}

void SceneView::Recolour() {
  const QRect all(0, 0, inView_.width, inView_.height);
  if (colouriser_) {
    ColourCells(inView_, all, *colouriser_, shown_);
  } else {
    shown_ = QImage();
  }
  if (right_) ColourCells(inView_, all, *right_, shownRight_);
  viewport()->update();
}

void SceneView::SetSplit(const SceneColouriser* right, int column) {
  right_ = right;
  split_ = column;
  shownRight_ = QImage();
  Recolour();
}

// The first viewport pixel whose centre lies in the column, as PixelAt() reads the view.
int SceneView::ViewportXOfColumn(int column) const {
  return static_cast<int>(std::ceil(Origin().x() + column * factor_ - 0.5));
}

int SceneView::ColumnEdgeNearest(int viewportX) const {
  return std::clamp(static_cast<int>(std::lround((viewportX - Origin().x()) / factor_)), 0, sceneSize_.width());
}

PixelWindow SceneView::RegionInView() const {
  if (sceneSize_.isEmpty()) return {};
  const QPointF origin = Origin();
  const QSizeF view = viewport()->size();
  const int left = std::max(0, static_cast<int>(std::floor(-origin.x() / factor_)));
  const int top = std::max(0, static_cast<int>(std::floor(-origin.y() / factor_)));
  const int right = std::min(sceneSize_.width(), static_cast<int>(std::ceil((view.width() - origin.x()) / factor_)));
  const int bottom = std::min(sceneSize_.height(), static_cast<int>(std::ceil((view.height() - origin.y()) / factor_)));
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

void SceneView::TakeCellsInView() {
  const PixelWindow region = RegionInView();
  if (!whole_ || region.width <= 0) {
    source_ = whole_.get();
    inView_ = SceneCells{};
    Recolour();
    return;
  }
  // Drawn reduced, a sample per screen pixel is enough; enlarged, every scene pixel.
  const double scale = std::min(1.0, factor_);
  const int width = Samples(region.width, scale), height = Samples(region.height, scale);
  const auto fineEnough = [&](const SceneCells& cells) {
    return cells.width >= Samples(cells.region.width, scale) && cells.height >= Samples(cells.region.height, scale);
  };
  if (finer_ && Covers(finer_->region, region) && fineEnough(*finer_)) {
    source_ = finer_.get();
  } else {
    source_ = whole_.get();
    const bool asked = requested_ && Covers(requested_->region, region) && fineEnough(*requested_);
    if (reader_ && !fineEnough(*whole_) && !asked) {
      const int marginX = static_cast<int>(region.width * kReadMargin);
      const int marginY = static_cast<int>(region.height * kReadMargin);
      SceneCells wanted;
      wanted.region.x = std::max(0, region.x - marginX);
      wanted.region.y = std::max(0, region.y - marginY);
      wanted.region.width = std::min(sceneSize_.width(), region.x + region.width + marginX) - wanted.region.x;
      wanted.region.height = std::min(sceneSize_.height(), region.y + region.height + marginY) - wanted.region.y;
      wanted.width = Samples(wanted.region.width, scale);
      wanted.height = Samples(wanted.region.height, scale);
      reader_->Request(wanted.region, wanted.width, wanted.height);
      requested_ = wanted;
    }
  }
  inView_ = ResampleCells(*source_, region, width, height);
  Recolour();
  emit CellsInViewChanged();
}

void SceneView::SetOverlay(const QImage* overlay) {
  overlay_ = overlay;
  viewport()->update();
}

void SceneView::FinerCellsRead(std::shared_ptr<const SceneCells> cells) {
  finer_ = std::move(cells);
  TakeCellsInView();
  if (source_ == finer_.get()) emit FinerCellsShown();
}

QSize SceneView::ContentSize() const {
  if (sceneSize_.isEmpty()) return {};
  return {static_cast<int>(std::ceil(sceneSize_.width() * factor_)),
          static_cast<int>(std::ceil(sceneSize_.height() * factor_))};
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
  if (sceneSize_.isEmpty()) return 1.0;
  const QSize view = maximumViewportSize();  // without scroll bars: fitting needs none
  return std::max(0.01, std::min(static_cast<double>(view.width()) / sceneSize_.width(),
                                 static_cast<double>(view.height()) / sceneSize_.height()));
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
  laying_ = true;  // the cells in view are taken once, at the end
  UpdateScrollBars();
  // Keep the image point under the anchor where it was (the scroll bars clamp at the edges).
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(imagePoint.x() * factor_ - anchor.x())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(imagePoint.y() * factor_ - anchor.y())));
  laying_ = false;
  TakeCellsInView();
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
  if (sceneSize_.isEmpty()) return std::nullopt;
  const QPointF at = (QPointF(viewportPoint) + QPointF(0.5, 0.5) - Origin()) / factor_;
  const QPoint pixel(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
  if (!QRect(QPoint(0, 0), sceneSize_).contains(pixel)) return std::nullopt;
  return pixel;
}

QPoint SceneView::ViewportPointOf(QPoint pixel) const {
  const QPointF centre = Origin() + (QPointF(pixel) + QPointF(0.5, 0.5)) * factor_;
  return QPoint(static_cast<int>(std::floor(centre.x())), static_cast<int>(std::floor(centre.y())));
}

void SceneView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect exposed = event->rect();
  if (shown_.isNull()) {
    painter.fillRect(exposed, kBackground);
    ++paints_;
    return;
  }
  const PixelWindow& region = inView_.region;
  const QPointF origin = Origin();
  const QRectF target(origin.x() + region.x * factor_, origin.y() + region.y * factor_, region.width * factor_,
                      region.height * factor_);
  const QRect covered = target.toAlignedRect();
  // The background only where the scene surely does not cover whole pixels.
  const QPoint innerTopLeft(static_cast<int>(std::ceil(target.left())), static_cast<int>(std::ceil(target.top())));
  const QPoint innerEnd(static_cast<int>(std::floor(target.right())), static_cast<int>(std::floor(target.bottom())));
  for (const QRect& around : QRegion(exposed).subtracted(QRegion(QRect(innerTopLeft, innerEnd - QPoint(1, 1)))))
    painter.fillRect(around, kBackground);
  const auto draw = [&](const QImage& image, const QRect& within) {
    if (target.size() == QSizeF(image.size()) && target.topLeft() == QPointF(covered.topLeft())) {
      // One sample per screen pixel: copy only the exposed part, no scaling.
      const QRect part = covered & within;
      if (!part.isEmpty()) painter.drawImage(part.topLeft(), image, part.translated(-covered.topLeft()));
    } else {
      // Enlarged: sharp blocks, so that single pixels can be told apart; reduced: smoothed.
      painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < image.width());
      painter.setClipRect(within);
      painter.drawImage(target, image);
    }
  };
  if (right_ && shownRight_.size() == shown_.size()) {
    // Two tables: the colouriser's left of the split column, the other one's from it on.
    const int x = ViewportXOfColumn(split_);
    draw(shown_, exposed & QRect(QPoint(exposed.left(), exposed.top()), QPoint(x - 1, exposed.bottom())));
    draw(shownRight_, exposed & QRect(QPoint(x, exposed.top()), QPoint(exposed.right(), exposed.bottom())));
  } else {
    draw(shown_, exposed);
  }
  if (overlay_ && overlay_->size() == shown_.size()) {
    painter.setClipRect(exposed);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.drawImage(target, *overlay_);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  ++paints_;
}

void SceneView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (fit_) {
    ApplyZoom(percent_, true, QRectF(viewport()->rect()).center());
  } else {
    UpdateScrollBars();
    TakeCellsInView();
  }
  emit Moved();
}

void SceneView::scrollContentsBy(int, int) {
  if (!laying_) TakeCellsInView();
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
