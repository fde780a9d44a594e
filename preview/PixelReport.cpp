#include "PixelReport.h"

#include <cmath>

#include "AnchorPalette.h"

namespace palettor {

namespace {

QString Anchor(int index) { return QString::fromStdString(AnchorName(index)); }

}  // namespace

QString FormatCelsius(double celsius) {
  if (std::isnan(celsius)) return QStringLiteral("? \u00b0C");
  // Scales far beyond the table give temperatures far beyond any fixed-point field.
  const bool huge = std::fabs(celsius) >= 1e6;
  QString digits = QString::number(std::fabs(celsius), huge ? 'g' : 'f', huge ? 6 : 1);
  const bool zero = !huge && digits == QLatin1String("0.0");
  const QString sign = zero ? QString() : celsius < 0 ? QStringLiteral("\u2212") : QStringLiteral("+");
  return sign + digits + QStringLiteral(" \u00b0C");
}

QString DescribePixel(const PixelProbe& probe) {
  const CellAnchors& cell = probe.anchors;
  QString anchors;
  if (cell.blueTail) {
    anchors = QStringLiteral("blue tail: a click selects it");
  } else if (cell.count == 1) {
    anchors = Anchor(cell.anchors[0]) + QStringLiteral(" alone: a click selects it");
  } else {
    anchors = QStringLiteral("%1 %2 % and %3 %4 %: a click selects %5")
                  .arg(Anchor(cell.anchors[0]))
                  .arg(cell.tenths[0] * 10)
                  .arg(Anchor(cell.anchors[1]))
                  .arg(cell.tenths[1] * 10)
                  .arg(Anchor(cell.selected));
  }
  return QStringLiteral("x %1, y %2 | IR %3: %4 | VIS %5 | column %6, row %7 | %8")
      .arg(probe.x)
      .arg(probe.y)
      .arg(probe.irLevel)
      .arg(FormatCelsius(probe.celsius))
      .arg(probe.visLevel)
      .arg(probe.column)
      .arg(probe.tableRow)
      .arg(anchors);
}

}  // namespace palettor
