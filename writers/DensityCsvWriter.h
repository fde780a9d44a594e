#pragma once
// A scene's density over the table as CSV, lined up with the table's own CSV (TableCsvWriter.h):
//
//   temperature_c,brightness,pixels
//   -60,0,12
//   ...
//   39,255,0
//
// One line per cell, 25,600 after the header, in the same order: line 2 + (t + 60) * 256 + b
// holds the pixels of temperature t at brightness b.
#include <QByteArray>
#include <QString>

#include "FileWriter.h"
#include "SceneDensity.h"

namespace palettor {

inline constexpr char kDensityCsvHeader[] = "temperature_c,brightness,pixels";

class DensityCsvWriter final : public FileWriter {
 public:
  static QByteArray Encode(const SceneDensity& density);

  bool Write(const SceneDensity& density, const QString& target);
};

}  // namespace palettor
