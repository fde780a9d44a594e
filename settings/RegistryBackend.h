#pragma once
// The store behind TRegistry: keys addressed by path, each holding named, typed values.
// On Linux it is a per-user SQLite database; a Windows build can put the real registry
// behind the same few operations.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace palettor {

// The registry's own type codes.
enum class RegDataType : std::uint32_t { String = 1 /* REG_SZ */, Dword = 4 /* REG_DWORD */ };

struct RegistryData {
  RegDataType type = RegDataType::Dword;
  std::int32_t dword = 0;  // REG_DWORD, its 32 bits read as signed
  std::string text;        // REG_SZ
};

// Every failure of a registry operation: missing or mistyped value, unreadable or unwritable
// store. what() carries the reason (the store's or the operating system's).
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One short-lived session with the store. Key paths are canonical: names joined by '\',
// no leading or trailing separator, "" being the root. Names compare ignoring ASCII case;
// the spelling under which a key or value was first created is kept.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // Never creates anything; an unreadable store has no keys.
  virtual bool KeyExists(const std::string& key) = 0;
  // Creates the key and any missing parent; throws when the store cannot be written.
  virtual void CreateKey(const std::string& key) = 0;
  // std::nullopt when the value (or its key) does not exist; throws when the store cannot be read.
  virtual std::optional<RegistryData> ReadValue(const std::string& key, const std::string& name) = 0;
  // Replaces any value of that name, atomically and durably; throws on failure.
  virtual void WriteValue(const std::string& key, const std::string& name, const RegistryData& data) = 0;
  // False when there was no such value; throws when the store cannot be written.
  virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
  // Names of the values in a key, in the order they were first written; throws when unreadable.
  virtual std::vector<std::string> ValueNames(const std::string& key) = 0;
};

// A session with the current user's store (HKEY_CURRENT_USER). Opening does not touch the store.
std::unique_ptr<RegistryBackend> OpenCurrentUserRegistry();

}  // namespace palettor
