#pragma once
// The current user's registry on Linux: one SQLite database shared by every program of the
// maker, at $XDG_CONFIG_HOME/Quillon/registry.sqlite3 (~/.config when the variable is unset).
//
// The file is created on the first write, never by a read. Each write is its own transaction
// (rollback journal, full sync), so a process killed at any point leaves every value either old
// or new. Several processes may use the store at once; a busy store is waited for up to
// kRegistryBusyTimeoutMs before the operation fails.
//
// A file that is not a store or is damaged is moved aside as "registry.sqlite3.damaged-<UTC time>"
// and a fresh store takes its place, with one line on standard error saying so.
//
// Tables (for anyone inspecting the file):
//   registry_keys(path)                                    every key, parents included
//   registry_values(key_path, name, type, data, write_seq) type 4 = REG_DWORD (integer data),
//                                                          1 = REG_SZ (text data); write_seq
//                                                          increases with every write in the store
#include <functional>
#include <memory>
#include <string>

#include "RegistryBackend.h"

namespace palettor {

constexpr int kRegistryBusyTimeoutMs = 5000;

// The store of the current user; "" when neither XDG_CONFIG_HOME nor the home folder is known.
// A relative XDG_CONFIG_HOME is ignored, as the base-directory convention requires.
std::string RegistryStorePath();

// For a process that only reports (palettor-cli render, palettor-cli settings): nothing is ever
// written, and a damaged store is left where it is (the process runs on defaults).
void SetRegistryReadOnly(bool readOnly);
bool RegistryReadOnly();

// Receives the one line about a damaged store. The default writes "<program>: <line>" to
// standard error; an empty handler restores it.
void SetRegistryNoticeHandler(std::function<void(const std::string&)> handler);

// Held by a process for a whole load-change-store session (palettor-cli settings set), so that
// concurrent sessions run one after the other and none writes back a value another has just
// changed. Creates the store's folder when needed, but not the store. One per process at a time.
class RegistrySessionLock {
 public:
  RegistrySessionLock();
  ~RegistrySessionLock();
  RegistrySessionLock(const RegistrySessionLock&) = delete;
  RegistrySessionLock& operator=(const RegistrySessionLock&) = delete;
  bool Held() const { return impl_ != nullptr; }
  const std::string& Error() const { return error_; }  // why it is not held

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string error_;
};

// A session with the store at `path` (OpenCurrentUserRegistry uses RegistryStorePath()).
std::unique_ptr<RegistryBackend> OpenSqliteRegistry(std::string path);

}  // namespace palettor
