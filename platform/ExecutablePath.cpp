#include "ExecutablePath.h"

#include <unistd.h>

#include <string_view>

namespace palettor {

std::string RunningExecutablePath() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(kRunningExecutableFile, path.data(), path.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(static_cast<std::size_t>(n));
      break;
    }
    path.resize(path.size() * 2);
  }
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  return path;
}

}  // namespace palettor
