#pragma once
// The table as the viewer reads it: an uncompressed 24-bit Windows bitmap, 100 x 256, rows
// stored bottom-up, 54 + 256 * 300 = 76854 bytes.
#include <QByteArray>
#include <QImage>
#include <QString>

#include "FileWriter.h"
#include "LutTable.h"

namespace palettor {

constexpr qsizetype kTableBitmapFileSize = 76854;
// The header's resolution fields: 96 dots per inch. Stated here rather than left to Qt, whose
// default depends on the screen (or on there being none), so that every front writes the same
// bytes for the same table.
constexpr int kTableBitmapPixelsPerMetre = 3780;

QImage TableImage(const LutPixels& pixels);

class TableBitmapWriter final : public FileWriter {
 public:
  // The file's bytes; empty only if the encoder fails.
  static QByteArray Encode(const LutPixels& pixels);

  bool Write(const LutPixels& pixels, const QString& target);
};

}  // namespace palettor
