#include "DensityImageWriter.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cstdint>

#include "TableCells.h"

namespace palettor {

QByteArray DensityImageWriter::Encode(const SceneDensity& density) {
  QImage image(kTableWidth, kTableHeight, QImage::Format_Grayscale16);
  if (image.isNull()) return {};
  for (int y = 0; y < kTableHeight; ++y) {
    auto* row = reinterpret_cast<std::uint16_t*>(image.scanLine(y));
    const int brightness = kTableMaxBrightness - y;
    for (int column = 0; column < kTableWidth; ++column) {
      row[column] = static_cast<std::uint16_t>(std::min<std::uint64_t>(density.Count(column, brightness), 0xFFFF));
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return bytes;
}

bool DensityImageWriter::Write(const SceneDensity& density, const QString& target) {
  const QByteArray bytes = Encode(density);
  if (bytes.isEmpty()) return Fail(QStringLiteral("the density image could not be encoded"));
  return WriteBytes(bytes, target);
}

}  // namespace palettor
