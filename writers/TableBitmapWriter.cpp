#include "TableBitmapWriter.h"

#include <QBuffer>

namespace palettor {

QImage TableImage(const LutPixels& pixels) {
  QImage image(kTableWidth, kTableHeight, QImage::Format_RGB32);
  image.setDotsPerMeterX(kTableBitmapPixelsPerMetre);
  image.setDotsPerMeterY(kTableBitmapPixelsPerMetre);
  for (int y = 0; y < kTableHeight; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const PackedColour* row = pixels.data() + static_cast<std::ptrdiff_t>(y) * kTableWidth;
    for (int x = 0; x < kTableWidth; ++x) line[x] = qRgb(RedOf(row[x]), GreenOf(row[x]), BlueOf(row[x]));
  }
  return image;
}

QByteArray TableBitmapWriter::Encode(const LutPixels& pixels) {
  QByteArray bytes;
  bytes.reserve(kTableBitmapFileSize);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  // Qt writes a 32-bit-per-pixel image without alpha as a plain 24-bit BITMAPINFOHEADER file.
  if (!TableImage(pixels).save(&buffer, "BMP")) return {};
  return bytes;
}

bool TableBitmapWriter::Write(const LutPixels& pixels, const QString& target) {
  const QByteArray bytes = Encode(pixels);
  if (bytes.size() != kTableBitmapFileSize) return Fail(QStringLiteral("could not encode the bitmap"));
  return WriteBytes(bytes, target);
}

}  // namespace palettor
