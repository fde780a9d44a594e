#include "GimpPaletteWriter.h"

#include "AnchorPalette.h"

namespace palettor {

QString AnchorLabel(int index) {
  if (index == kBlueTailAnchor) return QStringLiteral("Blue tail");
  const int celsius = index * 10;
  return (celsius > 0 ? QStringLiteral("+%1 °C") : QStringLiteral("%1 °C")).arg(celsius);
}

QByteArray GimpPaletteWriter::Encode(const Palette& palette, const QString& name) {
  const QString title = name.simplified();
  QByteArray out = "GIMP Palette\nName: " + (title.isEmpty() ? QStringLiteral("Palettor") : title).toUtf8() + "\n";
  // One row for the temperatures, the blue tail on its own below them.
  out += "Columns: " + QByteArray::number(kLastAnchor - kBlueTailAnchor) + "\n#\n";
  const AnchorColours colours = DeriveAnchorColours(palette.anchors);
  auto line = [&](int index) {
    const PackedColour colour = colours[AnchorSlot(index)];
    out += QStringLiteral("%1 %2 %3\t%4\n")
               .arg(RedOf(colour), 3)
               .arg(GreenOf(colour), 3)
               .arg(BlueOf(colour), 3)
               .arg(AnchorLabel(index))
               .toUtf8();
  };
  for (int index = kBlueTailAnchor + 1; index <= kLastAnchor; ++index) line(index);
  line(kBlueTailAnchor);
  return out;
}

bool GimpPaletteWriter::Write(const Palette& palette, const QString& name, const QString& target) {
  return WriteBytes(Encode(palette, name), target);
}

}  // namespace palettor
