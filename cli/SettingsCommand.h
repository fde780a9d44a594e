#pragma once
#include "CliCommand.h"
#include "CurrentUserRegistry.h"
#include "SqliteRegistryStore.h"

namespace palettor::cli {

extern const CliCommand kSettingsCommand;

// The window's executable is named "palettor": its settings key and register entry follow that
// name, so palettor-cli acts under it whatever its own file name is.
constexpr const char* kWindowExecutableName = "palettor";

// The current user's store, opened for one command and installed as the registry for as long
// as the command runs, acting for the window's executable beside palettor-cli.
class WindowSettingsStore {
 public:
  // A reading command never creates, changes or moves the store.
  explicit WindowSettingsStore(bool readOnly);
  SqliteRegistryStore& Store() { return store_; }

 private:
  SqliteRegistryStore store_;
  CurrentUserRegistry installed_;
};

}  // namespace palettor::cli
