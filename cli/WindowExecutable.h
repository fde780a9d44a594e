#pragma once
// palettor-cli works on the window's settings and reads the window's version resource.
#include "CurrentUserRegistry.h"
#include "SqliteRegistryStore.h"

namespace palettor::cli {

// The window's executable is named "palettor": its settings key and register entry follow that
// name, and version-info reads it by default.
constexpr const char* kWindowExecutableName = "palettor";

// The current user's store, opened for one command, acting for the window's executable beside
// palettor-cli whatever this program's own file name is.
class WindowSettingsStore {
 public:
  // A reading command never creates, changes or moves the store.
  explicit WindowSettingsStore(bool readOnly);
  WindowSettingsStore(const WindowSettingsStore&) = delete;
  WindowSettingsStore& operator=(const WindowSettingsStore&) = delete;

  SqliteRegistryStore& Store() { return store_; }
  // The store as the window's: what the command hands whatever loads or stores settings.
  const CurrentUserRegistry& Registry() const { return registry_; }

 private:
  SqliteRegistryStore store_;
  CurrentUserRegistry registry_;
};

}  // namespace palettor::cli
