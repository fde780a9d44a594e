#include "StoreRecovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "FileNames.h"
#include "SqliteConnection.h"
#include "StoreFiles.h"
#include "StoreSchema.h"

namespace palettor {

namespace {

// An exclusive lock on the store's folder while a damaged file is moved aside, so that only one
// process moves it and none moves a fresh store another has just started.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder) {
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        error_ = errno;
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FolderLock() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return fd_ >= 0; }
  int Error() const { return error_; }
  void Sync() const { ::fsync(fd_); }

 private:
  int fd_ = -1;
  int error_ = 0;
};

// Whether the file at `path` is still damaged, judged by a fresh connection.
bool StillDamaged(const std::string& path) {
  if (!FileExists(path)) return false;
  try {
    SqliteConnection db;
    db.Open(path, SQLITE_OPEN_READONLY, 0);
    switch (InspectStore(db).condition) {
      case StoreCondition::Damaged: return true;
      case StoreCondition::Ours: return !PassesQuickCheck(db);
      case StoreCondition::Empty:
      case StoreCondition::Newer: return false;
    }
  } catch (const EStoreDamaged&) {
    return true;
  } catch (const ERegistryException&) {
    return false;
  }
  return false;
}

}  // namespace

SetAsideOutcome SetAsideDamagedStore(const std::string& path, const std::string& reason) {
  const FolderLock lock(ExtractFilePath(path));
  if (!lock.Held()) {
    return {false, "settings store " + path + " is damaged (" + reason + ") and its folder cannot be locked (" +
                       ErrnoText(lock.Error()) + "); running on defaults"};
  }
  if (!StillDamaged(path)) return {true, {}};
  const std::string base = path + ".damaged-" + UtcStamp();
  std::string aside = base;
  for (int n = 2; FileExists(aside); ++n) aside = base + "-" + std::to_string(n);
  if (::rename(path.c_str(), aside.c_str()) != 0) {
    return {false, "settings store " + path + " is damaged (" + reason + ") and cannot be moved aside (" +
                       ErrnoText(errno) + "); running on defaults"};
  }
  // A journal left beside the damaged file belongs to it; applied to the fresh store it would
  // damage that too.
  for (const char* companion : {"-journal", "-wal", "-shm"}) {
    const std::string from = path + companion;
    if (FileExists(from)) ::rename(from.c_str(), (aside + companion).c_str());
  }
  lock.Sync();
  return {true,
          "settings store " + path + " was damaged (" + reason + "); kept it as " + aside + " and started a fresh one"};
}

}  // namespace palettor
