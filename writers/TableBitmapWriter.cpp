#include "TableBitmapWriter.h"

#include <QBuffer>

#include "TableCells.h"

namespace palettor {

QImage TableImage(const LutPixels& pixels) {
  QImage image(kTableWidth, kTableHeight, QImage::Format_RGB32);
  image.setDotsPerMeterX(kTableBitmapPixelsPerMetre);
  image.setDotsPerMeterY(kTableBitmapPixelsPerMetre);
  for (int y = 0; y < kTableHeight; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const int brightness = kTableMaxBrightness - y;
    for (int x = 0; x < kTableWidth; ++x) {
      const PackedColour cell = CellColour(pixels, x, brightness);
      line[x] = qRgb(RedOf(cell), GreenOf(cell), BlueOf(cell));
    }
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
