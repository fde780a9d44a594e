#pragma once
// TRegistry: a registry object with the current user's root (the store it is handed), used for
// one operation and freed.
// Answers are results (whether a key or value exists, its type); every failure, a store that
// cannot be read or written included, is an ERegistryException.
// Key paths are '\'-separated; a leading '\' makes a path absolute from the root, otherwise it
// is relative to the open key (or the root when none is open).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RegistryBackend.h"

namespace palettor {

// Access rights, as the registry defines them.
constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr std::uint32_t KEY_NOTIFY = 0x0010;
constexpr std::uint32_t KEY_CREATE_LINK = 0x0020;
constexpr std::uint32_t STANDARD_RIGHTS_READ = 0x00020000;
constexpr std::uint32_t KEY_READ = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
constexpr std::uint32_t KEY_WRITE = STANDARD_RIGHTS_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
constexpr std::uint32_t KEY_ALL_ACCESS = 0x000F003F;

// The only root the program uses.
enum class RegistryRoot { HKEY_CURRENT_USER };

class TRegistry {
 public:
  // Root HKEY_CURRENT_USER of `store`, no key open.
  explicit TRegistry(RegistryBackend& store, std::uint32_t access = KEY_ALL_ACCESS);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  RegistryRoot RootKey() const { return RegistryRoot::HKEY_CURRENT_USER; }
  // Rights asked for when a key is opened: reading values needs KEY_QUERY_VALUE, writing and
  // deleting them KEY_SET_VALUE.
  std::uint32_t Access = KEY_ALL_ACCESS;

  // True when the key exists; false for a path that names no key. Never creates it.
  bool KeyExists(std::string_view key);
  // Makes the key current; with canCreate a missing key and its missing parents are created.
  // False (and no key current) when it does not exist and may not be created, or the path
  // names no key.
  bool OpenKey(std::string_view key, bool canCreate);
  void CloseKey();
  bool HasCurrentKey() const { return current_.has_value(); }
  // Canonical path of the current key ("" for the root), or "" when none is open.
  std::string CurrentPath() const { return current_.value_or(std::string()); }

  // False when no key is current or it holds no such value.
  bool ValueExists(std::string_view name);
  // Type of the value, or std::nullopt when no key is current or it holds no such value.
  std::optional<RegDataType> GetDataType(std::string_view name);
  std::vector<std::string> GetValueNames();  // throws ERegistryException when no key is current

  // Each throws ERegistryException when no key is current, the access mask forbids it, or the
  // value is missing or of another type.
  bool ReadBool(std::string_view name);  // any non-zero REG_DWORD is true
  std::int32_t ReadInteger(std::string_view name);
  std::string ReadString(std::string_view name);
  void WriteBool(std::string_view name, bool value);  // REG_DWORD 0 or 1
  void WriteInteger(std::string_view name, std::int32_t value);
  void WriteString(std::string_view name, std::string_view value);
  bool DeleteValue(std::string_view name);  // false when there was nothing to delete
  // Removes the key, its values and every key below it; false when there was no such key or the
  // path names none (the root included). Throws ERegistryException when the access mask
  // forbids it (KEY_SET_VALUE) or the store cannot be written. A current key that goes with it
  // is closed.
  bool DeleteKey(std::string_view key);

 private:
  RegistryBackend& Backend() { return backend_; }
  // Canonical path of `key`, or std::nullopt when it is not a valid key path.
  std::optional<std::string> Resolve(std::string_view key) const;
  const std::string& RequireKey(std::uint32_t right, std::string_view operation, std::string_view name) const;
  RegistryData ReadTyped(std::string_view name, RegDataType type);
  void Write(std::string_view name, RegistryData data);

  RegistryBackend& backend_;
  std::optional<std::string> current_;
};

}  // namespace palettor
