#pragma once
// A scene's density over the table as a 16-bit grey PNG laid out as the table bitmap: 100 × 256,
// column x for temperature x - 60, the top row for brightness 255; each pixel the cell's count,
// held to 65535.
#include <QByteArray>
#include <QString>

#include "FileWriter.h"
#include "SceneDensity.h"

namespace palettor {

class DensityImageWriter final : public FileWriter {
 public:
  // Empty when the image could not be encoded.
  static QByteArray Encode(const SceneDensity& density);

  bool Write(const SceneDensity& density, const QString& target);
};

}  // namespace palettor
