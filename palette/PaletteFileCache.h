#pragma once
// The user's palette files as last read, so that listing them again (each time the window's
// Palettes menu opens) reads only the files that changed. A file counts as unchanged while its
// size, modification time and inode are the ones it had when it was read.
#include <QHash>
#include <QSet>
#include <QString>
#include <cstdint>

#include "PaletteFile.h"

namespace palettor {

class PaletteFileCache {
 public:
  // What ReadPaletteFile(path) gives, read again only when the file changed.
  PaletteReadResult Read(const QString& path);
  // Forgets every file not read since the last call, such as files that were removed.
  void ForgetUnread();

 private:
  struct Stamp {
    std::int64_t size = -1, modifiedSeconds = 0, modifiedNanoseconds = 0;
    std::uint64_t device = 0, inode = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  struct Entry {
    Stamp stamp;
    PaletteReadResult result;
  };
  QHash<QString, Entry> entries_;
  QSet<QString> read_;
};

}  // namespace palettor
