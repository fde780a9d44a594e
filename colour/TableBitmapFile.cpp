#include "TableBitmapFile.h"

#include <QBuffer>
#include <QSaveFile>

namespace palettor {

QImage TableImage(const LutPixels& pixels) {
  QImage image(kTableWidth, kTableHeight, QImage::Format_RGB32);
  for (int y = 0; y < kTableHeight; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const PackedColour* row = pixels.data() + static_cast<std::ptrdiff_t>(y) * kTableWidth;
    for (int x = 0; x < kTableWidth; ++x) line[x] = qRgb(RedOf(row[x]), GreenOf(row[x]), BlueOf(row[x]));
  }
  return image;
}

QByteArray EncodeTableBitmap(const LutPixels& pixels) {
  QByteArray bytes;
  bytes.reserve(kTableBitmapFileSize);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  // Qt writes a 32-bit-per-pixel image without alpha as a plain 24-bit BITMAPINFOHEADER file.
  if (!TableImage(pixels).save(&buffer, "BMP")) return {};
  return bytes;
}

QString SaveBitmapBytes(const QByteArray& bytes, const QString& path) {
  if (bytes.size() != kTableBitmapFileSize) return QStringLiteral("could not encode the bitmap");
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

QString SaveTableBitmap(const LutPixels& pixels, const QString& path) {
  return SaveBitmapBytes(EncodeTableBitmap(pixels), path);
}

}  // namespace palettor
