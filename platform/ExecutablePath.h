#pragma once
// The running executable: its name, and a way to read its bytes.
#include <string>

namespace palettor {

// Full path of the running executable, or "" when the system cannot tell. An executable replaced
// or removed while it runs (a package upgrade) keeps the path it was started from, without the
// " (deleted)" mark the system adds.
std::string RunningExecutablePath();

// A name that opens the running executable's own file, even after it was replaced or removed.
inline constexpr const char* kRunningExecutableFile = "/proc/self/exe";

}  // namespace palettor
