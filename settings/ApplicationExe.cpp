#include "ApplicationExe.h"

#include <mutex>
#include <string_view>
#include <system_error>
#include <filesystem>

namespace palettor {

namespace {

std::mutex& OverrideMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& Override() {
  static std::string path;
  return path;
}

}  // namespace

std::string GetExeName() {
  {
    std::lock_guard lock(OverrideMutex());
    if (!Override().empty()) return Override();
  }
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error) return {};
  // An executable replaced while it runs (a package upgrade) reads back with this mark; its
  // settings still belong to the name it was started under.
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.size() > kDeleted.size() && path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0) {
    path.resize(path.size() - kDeleted.size());
  }
  return path;
}

void SetExeNameOverride(std::string path) {
  std::lock_guard lock(OverrideMutex());
  Override() = std::move(path);
}

}  // namespace palettor
