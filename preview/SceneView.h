#pragma once
// A zoomable, scrollable view of one image, as an image viewer shows it: pixels as sharp blocks
// when enlarged, smoothed when reduced; the wheel and the keys +, - and 0 (100 %) zoom, a drag
// pans, the arrow keys scroll. It reports the image pixel under the pointer and a click on one.
//
// The image belongs to the caller, who may write into it and then calls ImageChanged(); the
// view paints straight from it, so a repaint after a change allocates nothing.
#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <cstdint>
#include <optional>

class QPainter;

namespace palettor {

class SceneView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit SceneView(QWidget* parent = nullptr);

  // nullptr shows nothing. The image must outlive the view or be replaced first.
  void SetImage(const QImage* image);
  // The pixels (or the size) of the image changed.
  void ImageChanged();
  // An image of the same size multiplied into the shown one (white keeps a pixel, darker dims
  // it); nullptr for none. It must outlive the view or be replaced first.
  void SetOverlay(const QImage* overlay);
  const QImage* Overlay() const { return overlay_; }
  // From scene column `column` on, `right` (an image of the same size) is shown in place of the
  // image; nullptr: the image alone. It must outlive the view or be replaced first.
  void SetSplit(const QImage* right, int column);
  const QImage* SplitImage() const { return right_; }
  int SplitColumn() const { return split_; }
  // The viewport x of a scene column's left edge, and the column edge nearest a viewport x.
  int ViewportXOfColumn(int column) const;
  int ColumnEdgeNearest(int viewportX) const;

  // Percent of the image's size; kZoomToFit (0) while it fits the window.
  int ZoomPercent() const { return fit_ ? 0 : percent_; }
  // The scale the image is drawn at now (for fit too).
  double ScaleFactor() const { return factor_; }
  // Percent within the view's limits, or kZoomToFit; anything else takes the nearest limit.
  void SetZoomPercent(int percent);
  // To the next step up or down (5 % ... 3200 %), about the middle of the view.
  void ZoomIn();
  void ZoomOut();

  // The image pixel at a point of the viewport, if the image lies there.
  std::optional<QPoint> PixelAt(QPoint viewportPoint) const;
  // Where a pixel's centre is on the viewport (it may lie outside it).
  QPoint ViewportPointOf(QPoint pixel) const;

  // Completed paints of the viewport, for timing a change until it is on screen.
  std::uint64_t PaintCount() const { return paints_; }

 signals:
  void PixelHovered(QPoint pixel);
  void HoverLeft();
  void PixelClicked(QPoint pixel);
  void ZoomChanged();
  // Zoomed, scrolled or resized: where the image lies on the viewport changed.
  void Moved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // Sets the scale, keeping the image point under `anchor` (viewport coordinates) in place.
  void ApplyZoom(int percent, bool fit, QPointF anchor);
  void UpdateScrollBars();
  QSize ContentSize() const;
  // The top left corner of the image on the viewport.
  QPointF Origin() const;
  double FitFactor() const;
  void ReportHover(QPoint viewportPoint);

  void DrawScaled(QPainter& painter, const QImage& image, const QRect& exposed) const;

  const QImage* image_ = nullptr;
  const QImage* overlay_ = nullptr;
  const QImage* right_ = nullptr;
  int split_ = 0;
  QSize imageSize_;  // of the image last laid out
  int percent_ = 100;
  bool fit_ = false;
  double factor_ = 1.0;
  int wheelAngle_ = 0;  // wheel turn not yet used, in eighths of a degree
  std::optional<QPoint> pressedAt_;
  bool panning_ = false;
  QPoint lastDragPoint_;
  std::uint64_t paints_ = 0;
};

}  // namespace palettor
