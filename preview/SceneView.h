#pragma once
// A zoomable, scrollable view of a coloured scene, as an image viewer shows it: pixels as sharp
// blocks when enlarged, smoothed when reduced; the wheel and the keys +, - and 0 (100 %) zoom, a
// drag pans, the arrow keys scroll. It reports the scene pixel under the pointer and a click on one.
//
// It colours only what it shows: the scene's cells in view, sampled at the resolution they are
// drawn at, whatever the scene's size. It is given the cells of the whole scene (at full
// resolution for a scene that fits in memory, else reduced) and, for a large scene, a reader
// of finer cells: the part in view is shown from the whole scene's cells until the finer ones
// arrive.
#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <cstdint>
#include <memory>
#include <optional>

#include "SceneCells.h"
#include "SceneColouriser.h"

namespace palettor {

class SceneReader;

class SceneView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit SceneView(QWidget* parent = nullptr);
  ~SceneView() override;

  // A scene of `size` pixels, `whole` its cells all over it; `reader` (may be null) reads
  // finer cells of the part in view when `whole` lacks the detail the zoom needs.
  void SetScene(QSize size, std::shared_ptr<const SceneCells> whole, std::unique_ptr<SceneReader> reader);
  // The table, scale and no-data colour; it must outlive the view or be replaced first.
  void SetColouriser(const SceneColouriser* colouriser);
  // The colouriser's table (or scale) changed: the cells in view coloured again at once,
  // painted in the next frame.
  void Recolour();

  QSize SceneSize() const { return sceneSize_; }
  // The coloured part in view, and the scene's pixels it covers.
  const QImage& Shown() const { return shown_; }
  const SceneCells& CellsInView() const { return inView_; }
  // The whole scene's cells, at full or reduced resolution; nullptr without a scene.
  const std::shared_ptr<const SceneCells>& WholeCells() const { return whole_; }
  // An image of the shown part's size multiplied into it (white keeps a pixel, darker dims it);
  // nullptr for none. It must outlive the view or be replaced first.
  void SetOverlay(const QImage* overlay);
  const QImage* Overlay() const { return overlay_; }
  // From scene column `column` on, the scene coloured by `right` (another table) in place of
  // the colouriser's; nullptr: one table. It must outlive the view or be replaced first.
  void SetSplit(const SceneColouriser* right, int column);
  // The part in view coloured by the right half's colouriser; nullptr without a split.
  const QImage* SplitImage() const { return right_ ? &shownRight_ : nullptr; }
  int SplitColumn() const { return split_; }
  // The viewport x of a scene column's left edge, and the column edge nearest a viewport x.
  int ViewportXOfColumn(int column) const;
  int ColumnEdgeNearest(int viewportX) const;
  // Samples per scene pixel of the cells the part in view is taken from: 1 at full resolution.
  double SourceScale() const { return source_ ? source_->Scale() : 0.0; }

  // Percent of the image's size; kZoomToFit (0) while it fits the window.
  int ZoomPercent() const { return fit_ ? 0 : percent_; }
  // The scale the image is drawn at now (for fit too).
  double ScaleFactor() const { return factor_; }
  // Percent within the view's limits, or kZoomToFit; anything else takes the nearest limit.
  void SetZoomPercent(int percent);
  // To the next step up or down (5 % ... 3200 %), about the middle of the view.
  void ZoomIn();
  void ZoomOut();

  // The scene pixel at a point of the viewport, if the scene lies there.
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
  // Finer cells of the part in view arrived and are shown.
  void FinerCellsShown();
  // Other cells are in view (scrolled, zoomed, finer): an overlay must follow them.
  void CellsInViewChanged();
  // Zoomed, scrolled or resized: where the scene lies on the viewport changed.
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
  // The scene's pixels in view, and the cells for them at the resolution they are drawn at.
  PixelWindow RegionInView() const;
  void TakeCellsInView();
  void FinerCellsRead(std::shared_ptr<const SceneCells> cells);

  QSize sceneSize_;
  std::shared_ptr<const SceneCells> whole_, finer_;
  const SceneCells* source_ = nullptr;  // whole_ or finer_: where the cells in view come from
  std::unique_ptr<SceneReader> reader_;
  std::optional<SceneCells> requested_;  // the region and size last asked of the reader, no cells
  SceneCells inView_;
  const SceneColouriser* colouriser_ = nullptr;
  QImage shown_;
  const QImage* overlay_ = nullptr;
  const SceneColouriser* right_ = nullptr;
  QImage shownRight_;
  int split_ = 0;
  int percent_ = 100;
  bool fit_ = false;
  bool laying_ = false;  // zooming: scrolling on the way does not take new cells
  double factor_ = 1.0;
  int wheelAngle_ = 0;  // wheel turn not yet used, in eighths of a degree
  std::optional<QPoint> pressedAt_;
  bool panning_ = false;
  QPoint lastDragPoint_;
  std::uint64_t paints_ = 0;
};

}  // namespace palettor
