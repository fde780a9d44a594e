#include "PrivateHome.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace palettor::test {

namespace fs = std::filesystem;

namespace {

fs::path MakeFolder(const fs::path& path, fs::perms mode) {
  fs::create_directories(path);
  fs::permissions(path, mode);
  return path;
}

void Point(const char* variable, const fs::path& folder) { ::setenv(variable, folder.c_str(), 1); }

}  // namespace

PrivateHome::PrivateHome() : owner_(::getpid()) {
  // Named after the program, so that a folder left by a killed test says whose it was.
  std::string pattern =
      (fs::temp_directory_path() / (std::string(program_invocation_short_name) + "-home-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("cannot make the tests' private home");
    std::exit(125);
  }
  root_ = pattern;
  // Open to everyone below: a test run as root hands folders in here to an unprivileged child.
  constexpr fs::perms kOpen = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(root_, kOpen);
  const fs::path home = MakeFolder(root_ / "home", kOpen);
  Point("HOME", home);
  Point("XDG_CONFIG_HOME", MakeFolder(home / ".config", kOpen));
  Point("XDG_DATA_HOME", MakeFolder(home / ".local/share", kOpen));
  Point("XDG_CACHE_HOME", MakeFolder(home / ".cache", kOpen));
  // Qt accepts a runtime folder only when it is its user's alone.
  Point("XDG_RUNTIME_DIR", MakeFolder(root_ / "runtime", fs::perms::owner_all));
  Point("TMPDIR", MakeFolder(root_ / "tmp", fs::perms::all | fs::perms::sticky_bit));
}

PrivateHome::~PrivateHome() {
  if (::getpid() != owner_) return;
  std::error_code error;
  // Tests leave folders read-only to check refusals; their owner may still open them up.
  for (auto entry = fs::recursive_directory_iterator(root_, error); !error && entry != fs::end(entry);
       entry.increment(error)) {
    if (entry->is_directory(error) && !entry->is_symlink(error)) {
      fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
  }
  error.clear();
  fs::remove_all(root_, error);
  if (error) std::fprintf(stderr, "cannot remove %s: %s\n", root_.c_str(), error.message().c_str());
}

}  // namespace palettor::test
