#pragma once
// The twelve anchors' shares of a scene as bars, coldest first and the blue tail last, each
// with the anchor's name, its colour and its percent; reports the bar under the pointer and a
// click on one.
#include <QWidget>
#include <array>
#include <optional>

#include "AnchorPalette.h"

namespace palettor {

// Percent of the scene's pixels per anchor, indexed by AnchorSlot.
using SharePercents = std::array<double, kAnchorCount>;

class AnchorShareBars : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRowHeight = 17;

  explicit AnchorShareBars(QWidget* parent = nullptr);

  // Nothing: no scene, every bar empty and no percent.
  void SetShares(const std::optional<SharePercents>& shares);
  void SetColours(const AnchorColours& colours);
  // The anchor shown on the row at a point, top row first.
  static std::optional<int> AnchorAt(QPoint point, int width);
  QRect BarRect(int anchor) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void AnchorHovered(int anchor);
  void AnchorClicked(int anchor);
  void HoverLeft();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  std::optional<SharePercents> shares_;
  AnchorColours colours_{};
  std::optional<int> hovered_;
};

// The row of an anchor: -6 ... 4 on rows 0 ... 10, the blue tail on row 11.
int ShareRowOf(int anchor);

}  // namespace palettor
