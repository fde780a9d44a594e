#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "NativeFileName.h"
#include "WriteRefusal.h"

namespace palettor {

namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file the bytes end up in: `path` with its symlinks followed, also to a file that does not
// exist yet (a dangling symlink names the file to create). Empty, with errno ELOOP, for a
// chain of symlinks that never ends.
std::string FollowSymlinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return path;
    target.resize(static_cast<std::size_t>(length));
    path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
  }
  errno = ELOOP;
  return {};
}

// A new, empty file beside `path`, its name unused until now; -1 and errno on failure. Created
// with mode 0666, so that the umask shapes it as it shapes any new file.
int CreateFileBeside(const std::string& path, std::string& created) {
  static std::mt19937 random{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = path + '.';
    for (int i = 0; i < 6; ++i) created += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t done = ::write(fd, data, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

}  // namespace

// The names the system gives standard output. Opened by name, a redirected standard output
// would be truncated or replaced by a new file; written through the descriptor it is used as the
// shell set it up (appended to with >>, a socket or pipe as it is), exactly as "-".
bool NamesStandardOutput(const QString& target) {
  return target == QLatin1String("-") || target == QLatin1String("/dev/stdout") ||
         target == QLatin1String("/dev/fd/1") || target == QLatin1String("/proc/self/fd/1");
}

OutputFile::OutputFile(QString target) : target_(std::move(target)) {}

OutputFile::~OutputFile() { Abandon(); }

void OutputFile::Abandon() {
  if (fd_ >= 0 && fd_ != STDOUT_FILENO) ::close(fd_);
  if (way_ == Way::Replace) ::unlink(temporary_.c_str());
  fd_ = -1;
  way_ = Way::None;
}

bool OutputFile::Fail(QString reason) {
  errorString_ = std::move(reason);
  Abandon();
  return false;
}

bool OutputFile::FailWithSystemReason() { return Fail(SystemReason(errno)); }

bool OutputFile::WritesInPlace() const {
  if (NamesStandardOutput(target_)) return true;
  const std::string native = EncodeFileName(target_).toStdString();
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0) return false;  // a new file
  if (!S_ISREG(info.st_mode)) return true;
  // Where no file can be made beside the target, the target itself is written.
  return ::access(FolderOf(FollowSymlinks(native)).c_str(), W_OK | X_OK) != 0;
}

bool OutputFile::Open() {
  Abandon();
  errorString_.clear();
  inPlace_.clear();
  if (target_.isEmpty()) return Fail(SystemReason(ENOENT));
  if (NamesStandardOutput(target_)) {
    fd_ = STDOUT_FILENO;
    way_ = Way::Stream;
    return true;
  }

  // stat follows symlinks: what counts is the entry the bytes would end up in.
  const std::string native = EncodeFileName(target_).toStdString();
  struct stat info {};
  if (::stat(native.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return Fail(SystemReason(EISDIR));
    // Renaming a regular file over a device node or a FIFO would break whatever uses it.
    fd_ = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return FailWithSystemReason();
    way_ = Way::Stream;
    return true;
  }
  // A symlink loop names no file: replacing the link would lose it, as the shell refuses to.
  final_ = FollowSymlinks(native);
  if (final_.empty()) return FailWithSystemReason();

  const bool exists = ::stat(final_.c_str(), &info) == 0;
  if (exists && ::access(final_.c_str(), W_OK) != 0)
    return Fail(QStringLiteral("Existing file %1 is not writable").arg(target_));
  fd_ = CreateFileBeside(final_, temporary_);
  if (fd_ >= 0) {
    way_ = Way::Replace;
    // The new file takes the old one's mode.
    if (exists && ::fchmod(fd_, info.st_mode & 07777) != 0) return FailWithSystemReason();
    return true;
  }
  // A shared install: the folder is not ours, the file is; it is written where it is.
  if (errno != EACCES || !exists) return FailWithSystemReason();
  fd_ = ::open(final_.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd_ < 0) return FailWithSystemReason();
  way_ = Way::InPlace;
  return true;
}

std::optional<QString> OutputFile::FileName() const {
  if (way_ != Way::Replace) return std::nullopt;
  return QStringLiteral("/proc/self/fd/%1").arg(fd_);
}

std::optional<QString> OutputFile::RefusalOfFileName() const {
  return way_ == Way::Replace ? WriteRefusal(fd_) : std::nullopt;
}

bool OutputFile::Write(const QByteArray& bytes) {
  if (fd_ < 0) return Fail(SystemReason(EBADF));
  if (way_ == Way::InPlace) {
    inPlace_ += bytes;
    return true;
  }
  return WriteAll(fd_, bytes.constData(), static_cast<std::size_t>(bytes.size())) || FailWithSystemReason();
}

bool OutputFile::Commit() {
  if (fd_ < 0) return Fail(SystemReason(EBADF));
  switch (way_) {
    case Way::Stream: break;
    case Way::InPlace: {
      // Room for all the new bytes first: on a full disk or past a size limit the old file
      // stays whole. A longer old file then loses its tail.
      const auto size = static_cast<off_t>(inPlace_.size());
      if (const int error = size > 0 ? ::posix_fallocate(fd_, 0, size) : 0;
          error != 0 && error != EOPNOTSUPP && error != EINVAL)
        return Fail(SystemReason(error));
      if (!WriteAll(fd_, inPlace_.constData(), static_cast<std::size_t>(size)) || ::ftruncate(fd_, size) != 0 ||
          ::fsync(fd_) != 0)
        return FailWithSystemReason();
      break;
    }
    case Way::Replace: {
      // On disk before it takes the old file's place: a crash then leaves one or the other.
      const bool synced = ::fsync(fd_) == 0 && ::close(fd_) == 0;
      fd_ = -1;
      if (!synced || ::rename(temporary_.c_str(), final_.c_str()) != 0) return FailWithSystemReason();
      way_ = Way::None;
      return true;
    }
    case Way::None: return Fail(SystemReason(EBADF));
  }
  const bool closed = fd_ == STDOUT_FILENO || ::close(fd_) == 0;
  fd_ = -1;
  way_ = Way::None;
  return closed || FailWithSystemReason();
}

}  // namespace palettor
