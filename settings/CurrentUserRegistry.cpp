#include "CurrentUserRegistry.h"

namespace palettor {

namespace {
// Set and cleared only by the installing objects, which the program's main thread owns.
CurrentUserRegistry* gInstalled = nullptr;
}  // namespace

CurrentUserRegistry::CurrentUserRegistry(RegistryBackend& store, std::string programPath)
    : store_(store), programPath_(std::move(programPath)), previous_(gInstalled) {
  gInstalled = this;
}

CurrentUserRegistry::~CurrentUserRegistry() { gInstalled = previous_; }

CurrentUserRegistry* CurrentUserRegistry::Installed() { return gInstalled; }

RegistryBackend& CurrentUserStore() {
  if (!gInstalled) throw ERegistryException("no settings store is open");
  return gInstalled->Store();
}

}  // namespace palettor
