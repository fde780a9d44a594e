#include "TableLegendWriter.h"

#include <QBuffer>
#include <algorithm>

#include "AnchorPalette.h"
#include "OutputFile.h"
#include "PixelFont.h"
#include "TableBitmapWriter.h"
#include "TableCells.h"

namespace palettor {

namespace {

constexpr QRgb kPaper = 0xFFFFFFFF;
constexpr QRgb kInk = 0xFF000000;
constexpr int kDefaultCellWidth = 3;  // as the window shows the table
constexpr int kDefaultCellHeight = 1;
constexpr int kMaxTextScale = 8;
constexpr int kBrightnessTicks[] = {0, 64, 128, 192, 255};

const QString kBrightnessTitle = QStringLiteral("brightness");
const QString kCelsiusTitle = QStringLiteral("\u00b0C");

// The window's scale labels: "-60" ... "-10", "0", "+10" ... "+40".
QString ScaleLabel(int anchor) {
  const int celsius = anchor * 10;
  return celsius > 0 ? QStringLiteral("+%1").arg(celsius) : QString::number(celsius);
}

// Everything around the bar, for text scale t (all in pixels):
//   left:   margin, the upright title, gap, the widest brightness label, gap, tick, frame
//   right:  frame and half the "+40" label, gap, "°C", margin
//   top:    margin and half a label
//   bottom: frame, tick, gap, the temperature labels, margin
struct Margins {
  int left, right, top, bottom;
};

Margins MarginsFor(int t) {
  const int margin = 6 * t;
  const int frame = t, tick = 3 * t, gap = 2 * t;
  const int left =
      margin + kGlyphCellHeight * t + 2 * gap + PixelTextWidth(QStringLiteral("255"), t) + gap + tick + frame;
  const int right =
      (PixelTextWidth(ScaleLabel(kLastAnchor), t) + 1) / 2 + 2 * gap + PixelTextWidth(kCelsiusTitle, t) + margin;
  const int top = margin + (kGlyphHeight * t + 1) / 2 + frame;
  const int bottom = frame + tick + gap + kGlyphHeight * t + margin;
  return {left, right, top, bottom};
}

void FillRect(QImage& image, int left, int top, int width, int height, QRgb colour) {
  for (int y = std::max(top, 0); y < std::min(top + height, image.height()); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line + std::max(left, 0), line + std::min(left + width, image.width()), colour);
  }
}

}  // namespace

TableLegendWriter::TableLegendWriter() { SetSize(std::nullopt, std::nullopt); }

bool TableLegendWriter::SetSize(std::optional<int> width, std::optional<int> height) {
  for (const auto side : {width, height}) {
    if (side && (*side < 1 || *side > kMaxLegendSide))
      return Fail(QStringLiteral("a side of the legend must be from 1 to %1 pixels").arg(kMaxLegendSide));
  }
  // The largest text that the cells carry: text scale t needs cells at least 3t wide and t high.
  for (int t = kMaxTextScale; t >= 1; --t) {
    const Margins m = MarginsFor(t);
    const int cellWidth = width ? (*width - m.left - m.right) / kTableWidth : kDefaultCellWidth;
    const int cellHeight = height ? (*height - m.top - m.bottom) / kTableHeight : kDefaultCellHeight;
    if (cellWidth < 1 || cellHeight < 1) continue;
    if (t > std::max(1, std::min(cellWidth / 3, cellHeight))) continue;
    LegendLayout layout;
    layout.textScale = t;
    layout.cellWidth = cellWidth;
    layout.cellHeight = cellHeight;
    const int barWidth = cellWidth * kTableWidth, barHeight = cellHeight * kTableHeight;
    layout.width = width.value_or(m.left + barWidth + m.right);
    layout.height = height.value_or(m.top + barHeight + m.bottom);
    layout.barLeft = m.left + (layout.width - m.left - barWidth - m.right) / 2;
    layout.barTop = m.top + (layout.height - m.top - barHeight - m.bottom) / 2;
    layout_ = layout;
    return Succeed();
  }
  const Margins m = MarginsFor(1);
  return Fail(QStringLiteral("the legend needs at least %1 x %2 pixels (one pixel per table cell)")
                  .arg(m.left + kTableWidth + m.right)
                  .arg(m.top + kTableHeight + m.bottom));
}

bool TableLegendWriter::AcceptsTarget(const QString& target) {
  if (NamesStandardOutput(target) || target.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) return Succeed();
  return Fail(QStringLiteral("the legend is a PNG image; name a file ending in .png"));
}

QImage DrawLegend(const LutPixels& pixels, const LegendLayout& layout) {
  QImage image(layout.width, layout.height, QImage::Format_RGB32);
  // Fixed, so that the window and palettor-cli write the same file whatever the screen.
  image.setDotsPerMeterX(kTableBitmapPixelsPerMetre);
  image.setDotsPerMeterY(kTableBitmapPixelsPerMetre);
  image.fill(kPaper);
  const int t = layout.textScale;
  const int barLeft = layout.barLeft, barTop = layout.barTop;
  const int barWidth = layout.cellWidth * kTableWidth, barHeight = layout.cellHeight * kTableHeight;
  const int barRight = barLeft + barWidth, barBottom = barTop + barHeight;

  for (int y = 0; y < barHeight; ++y) {
    const int brightness = kTableMaxBrightness - y / layout.cellHeight;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(barTop + y)) + barLeft;
    for (int column = 0; column < kTableWidth; ++column) {
      const PackedColour cell = CellColour(pixels, column, brightness);
      std::fill_n(line + column * layout.cellWidth, layout.cellWidth, qRgb(RedOf(cell), GreenOf(cell), BlueOf(cell)));
    }
  }
  // A frame just outside the bar, so that white top rows still end somewhere.
  FillRect(image, barLeft - t, barTop - t, barWidth + 2 * t, t, kInk);
  FillRect(image, barLeft - t, barBottom, barWidth + 2 * t, t, kInk);
  FillRect(image, barLeft - t, barTop, t, barHeight, kInk);
  FillRect(image, barRight, barTop, t, barHeight, kInk);

  // Temperature: a tick at the left edge of every tenth column, as the window's scale has them.
  const int tickTop = barBottom + t, labelTop = tickTop + 3 * t + 2 * t;
  for (int anchor = kFirstAnchor + 1; anchor <= kLastAnchor; ++anchor) {
    const int x = barLeft + (anchor + 6) * 10 * layout.cellWidth;
    FillRect(image, x - t / 2, tickTop, t, 3 * t, kInk);
    const QString label = ScaleLabel(anchor);
    DrawPixelText(image, x - PixelTextWidth(label, t) / 2, labelTop, label, kInk, t);
    if (anchor == kLastAnchor) {
      DrawPixelText(image, x + (PixelTextWidth(label, t) + 1) / 2 + 4 * t, labelTop, kCelsiusTitle, kInk, t);
    }
  }

  // Brightness: a tick at the middle of the rows of a few levels, the numbers right-aligned.
  const int tickLeft = barLeft - t - 3 * t, labelRight = tickLeft - 2 * t;
  for (const int level : kBrightnessTicks) {
    const int y = barTop + (kTableMaxBrightness - level) * layout.cellHeight + layout.cellHeight / 2;
    FillRect(image, tickLeft, y - t / 2, 3 * t, t, kInk);
    const QString label = QString::number(level);
    DrawPixelText(image, labelRight - PixelTextWidth(label, t), y - (kGlyphHeight * t) / 2, label, kInk, t);
  }
  const int titleLeft = labelRight - PixelTextWidth(QStringLiteral("255"), t) - 4 * t - kGlyphCellHeight * t;
  DrawPixelTextUpwards(image, titleLeft, barTop + (barHeight + PixelTextWidth(kBrightnessTitle, t)) / 2,
                       kBrightnessTitle, kInk, t);
  return image;
}

QByteArray TableLegendWriter::Encode(const LutPixels& pixels, const LegendLayout& layout) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!DrawLegend(pixels, layout).save(&buffer, "PNG")) return {};
  return bytes;
}

bool TableLegendWriter::Write(const LutPixels& pixels, const QString& target) {
  if (!AcceptsTarget(target)) return false;
  const QByteArray bytes = Encode(pixels, layout_);
  if (bytes.isEmpty()) return Fail(QStringLiteral("could not encode the legend"));
  return WriteBytes(bytes, target);
}

}  // namespace palettor
