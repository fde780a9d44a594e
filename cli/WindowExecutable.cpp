#include "WindowExecutable.h"

#include "ExecutablePath.h"
#include "FileNames.h"

namespace palettor::cli {

WindowSettingsStore::WindowSettingsStore(bool readOnly)
    : store_(RegistryStorePath()), registry_(store_, ExtractFilePath(RunningExecutablePath()) + kWindowExecutableName) {
  store_.SetReadOnly(readOnly);
}

}  // namespace palettor::cli
