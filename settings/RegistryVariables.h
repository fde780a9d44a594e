#pragma once
// Settings that load themselves from the registry when created and store themselves when freed,
// and the maker's shared register of program locations.
//
// No failure of the registry reaches the creator or the user through these objects: a value
// that cannot be read leaves the default, a value that cannot be written is simply not written.
// A transaction around them (RegistryTransaction) learns of such failures all the same.
#include <cstdint>
#include <optional>
#include <string>

#include "CurrentUserRegistry.h"

namespace palettor {

// "\Software\Quillon\" + ProgramBaseName(): where a program keeps its settings.
extern const char* const kSettingsKeyPrefix;
// The shared register: one REG_SZ per program, named by its base name, holding its full path.
extern const char* const kAppPathsKey;

// The file name of the executable `registry` works for, without folder and last extension
// ("a.b.exe" gives "a.b"), worked out anew on every call.
std::string ProgramBaseName(const CurrentUserRegistry& registry);
std::string SettingsKeyPath(const CurrentUserRegistry& registry);  // kSettingsKeyPrefix + ProgramBaseName()

class TRegistryVariable {
 public:
  virtual ~TRegistryVariable();
  TRegistryVariable(const TRegistryVariable&) = delete;
  TRegistryVariable& operator=(const TRegistryVariable&) = delete;

  std::string KeyPath;
  std::string ValueName;
  // When set, freeing removes the value (after the subclass has written it). Nothing sets it.
  bool DeleteOnFree = false;
  // When cleared, freeing leaves the store as it is: for a setting whose stored value could not
  // be read, so that a default never replaces it.
  bool StoreOnFree = true;

  // Marks a setting created with a value loaded beforehand (the window loads all of its
  // settings as one snapshot of the store), which it does not load again.
  struct AlreadyLoaded {};

 protected:
  // A value in `registry`'s settings key.
  TRegistryVariable(const CurrentUserRegistry& registry, std::string valueName);
  RegistryBackend& Store() const { return store_; }

 private:
  RegistryBackend& store_;
};

class TRegistryBoolean : public TRegistryVariable {
 public:
  TRegistryBoolean(const CurrentUserRegistry& registry, std::string valueName, bool defaultValue);  // loads
  TRegistryBoolean(const CurrentUserRegistry& registry, std::string valueName, bool value, AlreadyLoaded);
  ~TRegistryBoolean() override;  // stores 0 or 1
  bool Value;
};

class TRegistryInteger : public TRegistryVariable {
 public:
  TRegistryInteger(const CurrentUserRegistry& registry, std::string valueName, std::int32_t defaultValue);  // loads
  TRegistryInteger(const CurrentUserRegistry& registry, std::string valueName, std::int32_t value, AlreadyLoaded);
  ~TRegistryInteger() override;  // stores
  std::int32_t Value;
};

// The loading step of the settings: the stored number, or std::nullopt when the key or value
// is missing or of another type. Throws ERegistryException when the store cannot be read (busy
// beyond the wait, an I/O error). Never creates anything. (TRegistryBoolean reads the same
// number; any non-zero is true.)
std::optional<std::int32_t> LoadRegistryInteger(RegistryBackend& store, const std::string& keyPath,
                                                const std::string& valueName);

// Writes the entry of the program `registry` works for in the register. Never fails towards
// the caller.
void RegisterAppPath(const CurrentUserRegistry& registry);
// The same, for a caller that wants to know: throws ERegistryException when the store cannot be
// written (EStoreBusy when it is held past the wait).
void WriteAppPath(const CurrentUserRegistry& registry);
// The stored path of the named program, or "" when it is not registered (or not as text).
// Never creates anything.
std::string ReadAppPath(const CurrentUserRegistry& registry, const std::string& name);

}  // namespace palettor
