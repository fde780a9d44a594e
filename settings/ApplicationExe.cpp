#include "ApplicationExe.h"

#include <mutex>
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
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

void SetExeNameOverride(std::string path) {
  std::lock_guard lock(OverrideMutex());
  Override() = std::move(path);
}

}  // namespace palettor
