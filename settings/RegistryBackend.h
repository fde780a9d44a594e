#pragma once
// The store behind TRegistry: keys addressed by path, each holding named, typed values.
// On Linux it is a per-user SQLite database; a Windows build can put the real registry
// behind the same few operations.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace palettor {

// The registry's own type codes. None stands for stored data that is neither a 32-bit number
// nor text (a hand-edited store), which no read of either type accepts.
enum class RegDataType : std::uint32_t { None = 0 /* REG_NONE */, String = 1 /* REG_SZ */, Dword = 4 /* REG_DWORD */ };

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

// The store is held by another program for longer than the store waits.
class EStoreBusy : public ERegistryException {
 public:
  using ERegistryException::ERegistryException;
};

enum class RegistryTransactionMode { Read, Write };

// Key paths are canonical: names joined by '\', no leading or trailing separator, "" being the
// root. Names compare ignoring ASCII case; the spelling under which a key or value was first
// created is kept.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // Never creates anything. A store that does not exist (or is damaged, and so set aside or
  // ignored) has no keys; one that cannot be read throws.
  virtual bool KeyExists(const std::string& key) = 0;
  // Creates the key and any missing parent; throws when the store cannot be written.
  virtual void CreateKey(const std::string& key) = 0;
  // std::nullopt when the value (or its key) does not exist; throws when the store cannot be read.
  virtual std::optional<RegistryData> ReadValue(const std::string& key, const std::string& name) = 0;
  // Replaces any value of that name; throws on failure. Outside a transaction each write is
  // atomic and durable by itself.
  virtual void WriteValue(const std::string& key, const std::string& name, const RegistryData& data) = 0;
  // False when there was no such value; throws when the store cannot be written.
  virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
  // Removes the key with its values and every key below it. False when there was no such key;
  // throws when the store cannot be written.
  virtual bool DeleteKey(const std::string& key) = 0;
  // Names of the values in a key, ordered by name ignoring case; throws when unreadable.
  virtual std::vector<std::string> ValueNames(const std::string& key) = 0;

  // Groups the operations up to the matching Commit or Rollback: reads see one state of the
  // store, writes reach it all together or not at all. Transactions nest; only the outermost
  // one counts. Begin throws when the store cannot be read (or, for Write, written).
  virtual void BeginTransaction(RegistryTransactionMode mode) = 0;
  // Throws the first failure that any operation inside met, even one its caller ignored (a
  // setting never reports a failed load or store); a write transaction is then rolled back.
  virtual void CommitTransaction() = 0;
  virtual void RollbackTransaction() noexcept = 0;
};

}  // namespace palettor
