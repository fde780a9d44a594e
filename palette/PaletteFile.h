#pragma once
// Reading palette files (the format is in PaletteFileWriter.h, which writes them).
//
// Reading needs every anchor (by its suffix) and all three options: hues, saturations and the
// tail percent whole numbers within the catalogue's ranges (12.0 counts as whole, 12.5 does
// not), the options true or false. The night floor may be left out (then it is 0), and is
// likewise a whole number within its range when it is given. Unknown members anywhere are ignored, so later versions
// can add members that this one skips. Anything else is refused with the first fault found, named by the member's
// dotted path ("anchors.M30.hue") where there is one.
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <optional>

#include "Palette.h"
#include "PaletteFileError.h"

namespace palettor {

// Far more than any palette needs (about 1 KB), little enough to read at once.
inline constexpr qsizetype kMaxPaletteFileBytes = 1024 * 1024;

struct PaletteDocument {
  Palette palette;
  QString name;  // as the file gives it; "" when it gives none
  friend bool operator==(const PaletteDocument&, const PaletteDocument&) = default;
};

struct PaletteReadResult {
  std::optional<PaletteDocument> document;
  PaletteFileError error;  // meaningful only without a document
};

PaletteReadResult ParsePalette(QByteArrayView text);

// What a palette file named by its path may be besides a regular file.
enum class SpecialFiles {
  Read,    // a FIFO or a device is read as it is (palettor-cli --palette <(...), /dev/stdin)
  Refuse,  // refused unread and unopened, so that reading never waits: for the window
};

// At most kMaxPaletteFileBytes are read; a larger file is refused as invalid. `path` is a
// file name as DecodeFileName gives it (NativeFileName.h): any bytes the system takes.
PaletteReadResult ReadPaletteFile(const QString& path, SpecialFiles specials = SpecialFiles::Read);
// The same from an open device, such as standard input; `source` names it in messages.
PaletteReadResult ReadPalette(QIODevice& device, const QString& source);

}  // namespace palettor
