#include "WindowExecutable.h"

#include "ApplicationExe.h"
#include "FileNames.h"

namespace palettor::cli {

void ActAsWindowExecutable() {
  SetExeNameOverride({});
  SetExeNameOverride(ExtractFilePath(GetExeName()) + kWindowExecutableName);
}

}  // namespace palettor::cli
