#pragma once
// The running program's executable path, which names its settings key and its entry in the
// program-location register.
#include <string>

namespace palettor {

// Full path of the running executable, or the override when one is set. Empty when the
// operating system cannot tell (the settings then live under an empty program name).
std::string GetExeName();

// Makes GetExeName report `path` instead, so that a tool can act on another program's settings
// (palettor-cli works on the window's). An empty path restores the real one. Thread-safe.
void SetExeNameOverride(std::string path);

}  // namespace palettor
