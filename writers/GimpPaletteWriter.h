#pragma once
// The anchor colours as a GIMP palette (.gpl), which GIMP, Inkscape and Krita read, so the
// colours a palette shows on its patches can be picked in those programs:
//
//   GIMP Palette
//   Name: NAME
//   Columns: 11
//   #
//   255 237 252	-60 °C
//   ...
//    77 136 255	Blue tail
//
// One line per anchor, "RED GREEN BLUE<TAB>LABEL": the temperature anchors from -60 to +40 °C,
// then the blue tail. UTF-8, a trailing newline.
#include <QByteArray>
#include <QString>

#include "FileWriter.h"
#include "Palette.h"

namespace palettor {

// "-60 °C", "0 °C", "+10 °C" ... and "Blue tail" for the anchor index (-7 ... 4).
QString AnchorLabel(int index);

class GimpPaletteWriter final : public FileWriter {
 public:
  // `name` goes on one line with its runs of white space folded into single spaces; an empty or
  // blank name becomes "Palettor".
  static QByteArray Encode(const Palette& palette, const QString& name);

  bool Write(const Palette& palette, const QString& name, const QString& target);
};

}  // namespace palettor
