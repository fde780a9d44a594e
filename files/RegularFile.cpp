#include "RegularFile.h"

#include <sys/stat.h>

#include "NativeFileName.h"

namespace palettor {

QString NotRegularFileReason(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return QStringLiteral("is a folder");
  if (S_ISFIFO(mode)) return QStringLiteral("is a FIFO, not a regular file");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("is a device, not a regular file");
  if (S_ISSOCK(mode)) return QStringLiteral("is a socket, not a regular file");
  return QStringLiteral("is not a regular file");
}

QString NotRegularFileReason(const QString& path) {
  struct stat info {};
  if (::stat(EncodeFileName(path).constData(), &info) != 0) return {};
  return NotRegularFileReason(info.st_mode);
}

}  // namespace palettor
