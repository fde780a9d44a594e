#pragma once
// Settings that load themselves from the registry when created and store themselves when freed,
// and the maker's shared register of program locations.
//
// No failure of the registry ever reaches the caller or the user: a value that cannot be read
// leaves the default, a value that cannot be written is simply not written.
#include <cstdint>
#include <optional>
#include <string>

namespace palettor {

// "\Software\Quillon\" + ProgramBaseName(): where a program keeps its settings.
extern const char* const kSettingsKeyPrefix;
// The shared register: one REG_SZ per program, named by its base name, holding its full path.
extern const char* const kAppPathsKey;

// The executable's file name without folder and last extension ("a.b.exe" gives "a.b"),
// worked out anew on every call.
std::string ProgramBaseName();
std::string SettingsKeyPath();  // kSettingsKeyPrefix + ProgramBaseName()

class TRegistryVariable {
 public:
  virtual ~TRegistryVariable();
  TRegistryVariable(const TRegistryVariable&) = delete;
  TRegistryVariable& operator=(const TRegistryVariable&) = delete;

  std::string KeyPath;
  std::string ValueName;
  // When set, freeing removes the value (after the subclass has written it). Nothing sets it.
  bool DeleteOnFree = false;

 protected:
  explicit TRegistryVariable(std::string valueName);
};

class TRegistryBoolean : public TRegistryVariable {
 public:
  TRegistryBoolean(std::string valueName, bool defaultValue);  // loads
  ~TRegistryBoolean() override;                                // stores 0 or 1
  bool Value;
};

class TRegistryInteger : public TRegistryVariable {
 public:
  TRegistryInteger(std::string valueName, std::int32_t defaultValue);  // loads
  ~TRegistryInteger() override;                                        // stores
  std::int32_t Value;
};

// The loading step of the settings without an object that would store on release: the stored
// number, or std::nullopt when the key or value is missing, of another type or unreadable.
// Never creates anything. (TRegistryBoolean reads the same number; any non-zero is true.)
std::optional<std::int32_t> LoadRegistryInteger(const std::string& keyPath, const std::string& valueName);

// Writes the running program's own entry in the register. Never fails towards the caller.
void RegisterAppPath();
// The stored path of the named program, or "" when it is not registered (or not as text).
// Never creates anything.
std::string ReadAppPath(const std::string& name);

}  // namespace palettor
