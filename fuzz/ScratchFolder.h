#pragma once
// A folder of the fuzz run's own that stands in for the home and every XDG folder, so that
// nothing a target runs reaches the user's files. Emptied before each input, removed at exit.
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace palettor::fuzz {

inline std::filesystem::path& ScratchFolder() {
  static std::filesystem::path folder;
  return folder;
}

// Creates the folder (in shared memory when there is some: the settings store syncs every
// commit) and points HOME and the XDG folders into it.
inline void MakeScratchFolder(const char* name) {
  const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : P_tmpdir;
  std::string folder = std::string(base) + "/" + name + "-XXXXXX";
  if (!::mkdtemp(folder.data())) std::abort();
  ScratchFolder() = folder;
  for (const char* variable :
       {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"})
    ::setenv(variable, folder.c_str(), 1);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder(), ignored);
  });
}

inline void EmptyScratchFolder() {
  for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder()))
    std::filesystem::remove_all(entry.path());
}

}  // namespace palettor::fuzz
