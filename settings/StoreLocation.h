#pragma once
// Where the current user's store lives and how long a process waits for it.
#include <string>

namespace palettor {

// $XDG_CONFIG_HOME/Quillon/registry.sqlite3 (~/.config when the variable is unset); "" when
// neither XDG_CONFIG_HOME nor the home folder is known. A relative XDG_CONFIG_HOME is ignored,
// as the base-directory convention requires.
std::string RegistryStorePath();

// How long a process waits for a store that another holds: 5 s, or the milliseconds in
// PALETTOR_STORE_BUSY_TIMEOUT_MS (for tests that hold the store on purpose).
int RegistryBusyTimeoutMs();

}  // namespace palettor
