#pragma once
// The executable whose settings the program works on: it names the settings key and the
// program's entry in the program-location register.
#include <string>

#include "CurrentUserRegistry.h"

namespace palettor {

// The program path `registry` names when it names one (palettor-cli works on the window's
// settings), else the running executable's full path. Empty when the operating system cannot
// tell (the settings then live under an empty program name).
std::string GetExeName(const CurrentUserRegistry& registry);

}  // namespace palettor
