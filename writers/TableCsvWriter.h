#pragma once
// The table as CSV, for pipelines that take a colour map as numbers:
//
//   temperature_c,brightness,red,green,blue
//   -60,0,0,0,0
//   -60,1,1,1,1
//   ...
//   39,255,255,255,255
//
// One line per cell, 25,600 after the header: temperatures -60 ... 39 ascending, and within
// each temperature the brightness levels 0 ... 255 ascending, so line 2 + (t + 60) * 256 + b
// holds temperature t at brightness b. Plain ASCII, "\n" line ends, no quoting needed.
#include <QByteArray>
#include <QString>

#include "FileWriter.h"
#include "LutTable.h"

namespace palettor {

inline constexpr char kTableCsvHeader[] = "temperature_c,brightness,red,green,blue";

class TableCsvWriter final : public FileWriter {
 public:
  static QByteArray Encode(const LutPixels& pixels);

  bool Write(const LutPixels& pixels, const QString& target);
};

}  // namespace palettor
