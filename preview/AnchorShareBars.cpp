#include "AnchorShareBars.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace palettor {

namespace {

constexpr int kNameWidth = 64;
constexpr int kPercentWidth = 52;

int AnchorOfRow(int row) { return row == kAnchorCount - 1 ? kBlueTailAnchor : row + kFirstAnchor + 1; }

QColor ColourOf(PackedColour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

int ShareRowOf(int anchor) { return anchor == kBlueTailAnchor ? kAnchorCount - 1 : anchor - kFirstAnchor - 1; }

AnchorShareBars::AnchorShareBars(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("AnchorShares"));
  setAccessibleName(tr("Each anchor's share of the scene"));
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
}

QSize AnchorShareBars::sizeHint() const { return {kNameWidth + 120 + kPercentWidth, kRowHeight * kAnchorCount}; }

void AnchorShareBars::SetShares(const std::optional<SharePercents>& shares) {
  shares_ = shares;
  update();
}

void AnchorShareBars::SetColours(const AnchorColours& colours) {
  if (colours == colours_) return;
  colours_ = colours;
  update();
}

std::optional<int> AnchorShareBars::AnchorAt(QPoint point, int width) {
  if (point.x() < 0 || point.x() >= width || point.y() < 0) return std::nullopt;
  const int row = point.y() / kRowHeight;
  if (row >= kAnchorCount) return std::nullopt;
  return AnchorOfRow(row);
}

QRect AnchorShareBars::BarRect(int anchor) const {
  return {kNameWidth, ShareRowOf(anchor) * kRowHeight + 2, width() - kNameWidth - kPercentWidth, kRowHeight - 4};
}

void AnchorShareBars::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QColor text = palette().windowText().color();
  for (int row = 0; row < kAnchorCount; ++row) {
    const int anchor = AnchorOfRow(row);
    const QRect line(0, row * kRowHeight, width(), kRowHeight);
    if (hovered_ == anchor) painter.fillRect(line, palette().highlight());
    painter.setPen(hovered_ == anchor ? palette().highlightedText().color() : text);
    painter.drawText(line.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromStdString(AnchorName(anchor)));
    const QRect bar = BarRect(anchor);
    painter.setPen(text);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    if (!shares_) continue;
    const double percent = (*shares_)[AnchorSlot(anchor)];
    const int filled = static_cast<int>(std::lround(std::clamp(percent, 0.0, 100.0) / 100.0 * (bar.width() - 2)));
    painter.fillRect(QRect(bar.left() + 1, bar.top() + 1, filled, bar.height() - 2),
                     ColourOf(colours_[AnchorSlot(anchor)]));
    painter.setPen(hovered_ == anchor ? palette().highlightedText().color() : text);
    painter.drawText(QRect(bar.right() + 1, line.top(), kPercentWidth - 4, kRowHeight),
                     Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("%1 %").arg(percent, 0, 'f', 1));
  }
}

void AnchorShareBars::mouseMoveEvent(QMouseEvent* event) {
  const std::optional<int> anchor = AnchorAt(event->position().toPoint(), width());
  if (anchor == hovered_) return;
  hovered_ = anchor;
  update();
  if (anchor) {
    emit AnchorHovered(*anchor);
  } else {
    emit HoverLeft();
  }
}

void AnchorShareBars::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (const auto anchor = AnchorAt(event->position().toPoint(), width())) emit AnchorClicked(*anchor);
}

void AnchorShareBars::leaveEvent(QEvent*) {
  if (!hovered_) return;
  hovered_.reset();
  update();
  emit HoverLeft();
}

}  // namespace palettor
