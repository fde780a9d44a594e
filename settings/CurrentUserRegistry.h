#pragma once
// The current user's registry (HKEY_CURRENT_USER) as a program works on it: the store the
// program's main (or a palettor-cli command) opened and owns, and the executable whose settings
// key and register entry it works on. Whatever loads or stores settings is handed one.
#include <string>

#include "RegistryBackend.h"

namespace palettor {

class CurrentUserRegistry {
 public:
  // `programPath` is the executable whose settings key and register entry the program works
  // on (GetExeName); empty means the running executable. `store` must outlive every copy.
  explicit CurrentUserRegistry(RegistryBackend& store, std::string programPath = {})
      : store_(&store), programPath_(std::move(programPath)) {}

  RegistryBackend& Store() const { return *store_; }
  const std::string& ProgramPath() const { return programPath_; }
  void SetProgramPath(std::string path) { programPath_ = std::move(path); }

 private:
  RegistryBackend* store_;
  std::string programPath_;
};

}  // namespace palettor
