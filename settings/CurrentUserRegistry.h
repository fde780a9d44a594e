#pragma once
// The current user's registry (HKEY_CURRENT_USER): the store that a TRegistry created without
// arguments works on. A program's main (or a palettor-cli command) owns the store and installs
// it for as long as it runs; nothing is installed by itself.
#include <string>

#include "RegistryBackend.h"

namespace palettor {

class CurrentUserRegistry {
 public:
  // Installs `store` until this object is destroyed, when the one installed before comes back.
  // `programPath` is the executable whose settings key and register entry the program works
  // on (GetExeName); empty means the running executable.
  explicit CurrentUserRegistry(RegistryBackend& store, std::string programPath = {});
  ~CurrentUserRegistry();
  CurrentUserRegistry(const CurrentUserRegistry&) = delete;
  CurrentUserRegistry& operator=(const CurrentUserRegistry&) = delete;

  RegistryBackend& Store() const { return store_; }
  const std::string& ProgramPath() const { return programPath_; }
  void SetProgramPath(std::string path) { programPath_ = std::move(path); }

  // The installed registry, or nullptr when none is.
  static CurrentUserRegistry* Installed();

 private:
  RegistryBackend& store_;
  std::string programPath_;
  CurrentUserRegistry* previous_;
};

// The installed registry's store; throws ERegistryException when none is installed.
RegistryBackend& CurrentUserStore();

}  // namespace palettor
