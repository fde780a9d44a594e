#include "ApplicationExe.h"

#include "ExecutablePath.h"

namespace palettor {

std::string GetExeName(const CurrentUserRegistry& registry) {
  if (!registry.ProgramPath().empty()) return registry.ProgramPath();
  return RunningExecutablePath();
}

}  // namespace palettor
