#pragma once
// The current user's registry on Linux: one SQLite database shared by every program of the
// maker (StoreLocation.h says where). A program opens it once, keeps the connection and groups
// what belongs together in one transaction (a rollback journal, synced with its folder), so a process
// killed at any point leaves each group of values all old or all new. Several processes may use
// the store at once; a busy store is waited for (RegistryBusyTimeoutMs) before an operation
// fails with EStoreBusy.
//
// The file is created by the first write, never by a read. A file that is not a store or is
// damaged is kept aside (StoreRecovery.h) and a fresh store takes its place, with one line to
// the notice sink saying so; to everything that reads it, a damaged store holds nothing.
#include <sys/types.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "RegistryBackend.h"
#include "SqliteConnection.h"
#include "StoreFiles.h"
#include "StoreLocation.h"
#include "StoreSchema.h"

namespace palettor {

class SqliteRegistryStore final : public RegistryBackend {
 public:
  using NoticeSink = std::function<void(const std::string& line)>;

  // Opening does not touch the file; the first operation does.
  explicit SqliteRegistryStore(std::string path, int busyTimeoutMs = RegistryBusyTimeoutMs());
  ~SqliteRegistryStore() override;
  SqliteRegistryStore(const SqliteRegistryStore&) = delete;
  SqliteRegistryStore& operator=(const SqliteRegistryStore&) = delete;

  const std::string& Path() const { return path_; }

  // For a process that only reports (palettor-cli render, palettor-cli settings): every write
  // fails, and a damaged store is left where it is.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }

  // Receives the lines about a damaged store. Without one they go to standard error as
  // "<program>: <line>".
  void SetNoticeSink(NoticeSink sink) { notices_ = std::move(sink); }

  bool KeyExists(const std::string& key) override;
  void CreateKey(const std::string& key) override;
  std::optional<RegistryData> ReadValue(const std::string& key, const std::string& name) override;
  void WriteValue(const std::string& key, const std::string& name, const RegistryData& data) override;
  bool DeleteValue(const std::string& key, const std::string& name) override;
  bool DeleteKey(const std::string& key) override;
  std::vector<std::string> ValueNames(const std::string& key) override;

  void BeginTransaction(RegistryTransactionMode mode) override;
  void CommitTransaction() override;
  void RollbackTransaction() noexcept override;

 private:
  template <typename Body, typename Result>
  Result Read(Body body, Result nothing);
  template <typename Body>
  void Write(Body body);

  bool OpenForRead();
  void OpenForWrite();
  void CloseConnection() noexcept;
  void ForgetConnectionIfStale() noexcept;
  void BeginSql(RegistryTransactionMode mode);
  void CommitSql();
  void RollbackSql() noexcept;
  void Damaged(const std::string& reason);
  void NoteFailure(std::exception_ptr failure) noexcept;
  void Notice(const std::string& line) const;
  void InsertKeyChain(const std::string& key);

  const std::string path_;
  const int busyTimeoutMs_;
  bool readOnly_ = false;
  NoticeSink notices_;

  SqliteConnection db_;
  bool writable_ = false;                           // opened to write, and a store of ours (or to become one)
  std::optional<FileIdentity> file_;                // the file the connection has open
  pid_t openedBy_ = 0;                              // a child process (fork) opens its own connection
  bool createdFile_ = false;                        // its folder is synced once the first commit is on disk
  std::optional<FileIdentity> damagedLeftInPlace_;  // a damaged file this process leaves alone
  bool damageNoticed_ = false;

  int depth_ = 0;  // nesting of BeginTransaction
  RegistryTransactionMode mode_ = RegistryTransactionMode::Read;
  bool sqlOpen_ = false;        // a transaction is open on the connection
  std::exception_ptr failure_;  // the first failure inside the current transaction
};

}  // namespace palettor
