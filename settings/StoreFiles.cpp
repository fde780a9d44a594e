#include "StoreFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "RegistryBackend.h"

namespace palettor {

std::string ErrnoText(int error) { return std::strerror(error); }

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

void MakeFolders(const std::string& folder) {
  std::size_t pos = 0;
  while (pos <= folder.size()) {
    const auto end = folder.find('/', pos);
    const std::string built = folder.substr(0, end == std::string::npos ? folder.size() : end);
    if (!built.empty() && ::mkdir(built.c_str(), 0700) != 0) {
      if (errno != EEXIST) throw ERegistryException("cannot create " + built + ": " + ErrnoText(errno));
      // Otherwise the folder below would be refused as "Permission denied" or "Not a directory".
      struct stat info {};
      if (::stat(built.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
        throw ERegistryException(built + " is a file, not a folder");
      }
    }
    if (end == std::string::npos) break;
    pos = end + 1;
  }
}

void RequireWritableFolder(const std::string& folder) {
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    throw ERegistryException("cannot create files in " + folder + ": " + ErrnoText(errno));
  }
}

void RequireWritableFile(const std::string& path) {
  if (::access(path.c_str(), W_OK) != 0) throw ERegistryException("cannot write " + path + ": " + ErrnoText(errno));
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string UtcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

}  // namespace palettor
