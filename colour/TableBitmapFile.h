#pragma once
// The table as the viewer reads it: an uncompressed 24-bit Windows bitmap, 100 x 256,
// rows stored bottom-up, 54 + 256 * 300 = 76854 bytes.
#include <QByteArray>
#include <QImage>
#include <QString>

#include "LutTable.h"

namespace palettor {

constexpr qsizetype kTableBitmapFileSize = 76854;

QImage TableImage(const LutPixels& pixels);

// The file's bytes; empty only if the encoder fails.
QByteArray EncodeTableBitmap(const LutPixels& pixels);

// Writes the file so that it is either entirely the new table or untouched: the bytes go to
// a temporary file beside the target, which is renamed over it only once complete.
// Returns an empty string on success, otherwise the reason, with the system's own words.
QString SaveTableBitmap(const LutPixels& pixels, const QString& path);
QString SaveBitmapBytes(const QByteArray& bytes, const QString& path);

}  // namespace palettor
