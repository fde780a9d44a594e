#include "ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace palettor {

namespace {

bool RangeInside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace

bool MemoryByteSource::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!RangeInside(offset, out.size(), bytes_.size())) return false;
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

FileByteSource::~FileByteSource() {
  if (fd_ >= 0) ::close(fd_);
}

std::string FileByteSource::Open(const std::string& path) {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
    size_ = 0;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const std::string reason = std::strerror(errno);
    ::close(fd);
    return reason;
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    return std::strerror(EISDIR);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return "not a regular file";
  }
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
  return {};
}

bool FileByteSource::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (fd_ < 0 || !RangeInside(offset, out.size(), size_)) return false;
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // an error, or the file shrank since it was opened
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace palettor
