#include "WriteRefusal.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace palettor {

std::optional<QString> WriteRefusal(int fd) {
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const auto error = [](int code) { return QString::fromLocal8Bit(std::strerror(code)); };
  // Only read, never tried: growing past the limit would raise SIGXFSZ.
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<rlim_t>(info.st_size) >= limit.rlim_cur)
    return error(EFBIG);
  // A block past the end, reserved without changing the file's size: on a full file system
  // there is none to give.
  const off_t block = info.st_blksize > 0 ? info.st_blksize : 4096;
  if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, info.st_size, block) != 0 && (errno == ENOSPC || errno == EDQUOT))
    return error(errno);
  return std::nullopt;
}

}  // namespace palettor
