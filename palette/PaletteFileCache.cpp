#include "PaletteFileCache.h"

#include <sys/stat.h>

#include "NativeFileName.h"

namespace palettor {

PaletteReadResult PaletteFileCache::Read(const QString& path) {
  read_.insert(path);
  struct stat info {};
  // Without a stamp there is nothing to compare with: read it and keep nothing.
  if (::stat(EncodeFileName(path).constData(), &info) != 0) {
    entries_.remove(path);
    return ReadPaletteFile(path, SpecialFiles::Refuse);
  }
  const Stamp stamp{info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec, info.st_dev, info.st_ino};
  if (const auto known = entries_.constFind(path); known != entries_.constEnd() && known->stamp == stamp)
    return known->result;
  PaletteReadResult result = ReadPaletteFile(path, SpecialFiles::Refuse);
  entries_.insert(path, {stamp, result});
  return result;
}

void PaletteFileCache::ForgetUnread() {
  entries_.removeIf([this](const auto& entry) { return !read_.contains(entry.key()); });
  read_.clear();
}

}  // namespace palettor
