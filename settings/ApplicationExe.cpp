#include "ApplicationExe.h"

#include "CurrentUserRegistry.h"
#include "ExecutablePath.h"

namespace palettor {

std::string GetExeName() {
  if (const CurrentUserRegistry* registry = CurrentUserRegistry::Installed();
      registry && !registry->ProgramPath().empty()) {
    return registry->ProgramPath();
  }
  return RunningExecutablePath();
}

}  // namespace palettor
