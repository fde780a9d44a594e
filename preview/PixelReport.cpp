#include "PixelReport.h"

#include <QRegularExpression>
#include <cmath>

#include "AnchorPalette.h"

namespace palettor {

namespace {

QString Anchor(int index) { return QString::fromStdString(AnchorName(index)); }

// A value with `decimals` decimals and the typographic minus.
QString Number(double value, int decimals) {
  const QString digits = QString::number(std::fabs(value), 'f', decimals);
  return value < 0 && digits.contains(QRegularExpression(QStringLiteral("[1-9]"))) ? QStringLiteral("\u2212") + digits
                                                                                   : digits;
}

QString AnchorsText(const CellAnchors& cell) {
  if (cell.blueTail) return QStringLiteral("blue tail: a click selects it");
  if (cell.count == 1) return Anchor(cell.anchors[0]) + QStringLiteral(" alone: a click selects it");
  return QStringLiteral("%1 %2 % and %3 %4 %: a click selects %5")
      .arg(Anchor(cell.anchors[0]))
      .arg(cell.tenths[0] * 10)
      .arg(Anchor(cell.anchors[1]))
      .arg(cell.tenths[1] * 10)
      .arg(Anchor(cell.selected));
}

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
  return QStringLiteral("x %1, y %2 | IR %3: %4 | VIS %5 | column %6, row %7 | %8")
      .arg(probe.x)
      .arg(probe.y)
      .arg(probe.irLevel)
      .arg(FormatCelsius(probe.celsius))
      .arg(probe.visLevel)
      .arg(probe.column)
      .arg(probe.tableRow)
      .arg(AnchorsText(probe.anchors));
}

QString DescribeScenePixel(int x, int y, const ScenePixel& pixel, const InfraredRule& irRule,
                           const VisibleRule& visRule, const TableInputs& table) {
  QString ir = QStringLiteral("IR no data");
  if (pixel.ir && pixel.celsius) {
    if (!irRule.unit) {
      ir = QStringLiteral("IR %1: %2").arg(static_cast<int>(*pixel.ir)).arg(FormatCelsius(*pixel.celsius));
    } else if (*irRule.unit == TemperatureUnit::Kelvin) {
      ir = QStringLiteral("IR %1 K = %2").arg(Number(*pixel.ir, 1), FormatCelsius(*pixel.celsius));
    } else {
      ir = QStringLiteral("IR ") + FormatCelsius(*pixel.celsius);
    }
  }
  QString vis = QStringLiteral("VIS no data");
  if (pixel.vis) {
    if (!visRule.unit) {
      vis = QStringLiteral("VIS %1").arg(static_cast<int>(*pixel.vis));
    } else if (*visRule.unit == ReflectanceUnit::Percent) {
      vis = QStringLiteral("VIS %1 %").arg(Number(*pixel.vis, 1));
    } else {
      vis = QStringLiteral("VIS ") + Number(*pixel.vis, 2);
    }
  }
  QString cell = QStringLiteral("no data");
  if (pixel.column && pixel.row) {
    cell = QStringLiteral("column %1, row %2 | %3")
               .arg(*pixel.column)
               .arg(kTableHeight - 1 - *pixel.row)
               .arg(AnchorsText(AnchorsOfCell(*pixel.column, *pixel.row, table)));
  }
  return QStringLiteral("x %1, y %2 | %3 | %4 | %5").arg(x).arg(y).arg(ir, vis, cell);
}

}  // namespace palettor
