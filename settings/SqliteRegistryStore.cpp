#include "SqliteRegistryStore.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "FileNames.h"
#include "StoreRecovery.h"

namespace palettor {

namespace {

std::string FolderOf(const std::string& path) {
  std::string folder = ExtractFilePath(path);
  if (folder.size() > 1) folder.pop_back();
  return folder;
}

// A REG_DWORD holds 32 bits, read as signed as ReadInteger returns them; anything else in a
// row (a hand-edited store) is data of no type the program reads.
RegistryData Decode(Statement& row) {
  const std::int64_t type = row.Int(0);
  if (type == static_cast<std::int64_t>(RegDataType::Dword)) {
    const std::int64_t number = row.Int(1);
    if (row.ColumnType(1) == SQLITE_INTEGER && number >= INT32_MIN && number <= static_cast<std::int64_t>(UINT32_MAX)) {
      return {RegDataType::Dword, static_cast<std::int32_t>(static_cast<std::uint32_t>(number)), {}};
    }
  } else if (type == static_cast<std::int64_t>(RegDataType::String) && row.ColumnType(1) == SQLITE_TEXT) {
    return {RegDataType::String, 0, row.Text(1)};
  }
  return {RegDataType::None, 0, {}};
}

}  // namespace

SqliteRegistryStore::SqliteRegistryStore(std::string path, int busyTimeoutMs)
    : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs) {}

SqliteRegistryStore::~SqliteRegistryStore() { CloseConnection(); }

void SqliteRegistryStore::Notice(const std::string& line) const {
  if (notices_) {
    notices_(line);
  } else {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, line.c_str());
  }
}

void SqliteRegistryStore::CloseConnection() noexcept {
  RollbackSql();
  db_.Close();
  writable_ = false;
  file_.reset();
}

void SqliteRegistryStore::ForgetConnectionIfStale() noexcept {
  if (!db_.IsOpen()) return;
  if (openedBy_ != ::getpid()) {
    // Inherited through fork: the parent still uses it.
    db_.Abandon();
    writable_ = false;
    sqlOpen_ = false;
    file_.reset();
    return;
  }
  // Between transactions the file may have been set aside or removed by another program; the
  // connection would go on using the old one.
  if (!sqlOpen_ && IdentityOf(path_) != file_) CloseConnection();
}

bool SqliteRegistryStore::OpenForRead() {
  if (path_.empty()) throw ERegistryException("settings store: no home folder is known");
  ForgetConnectionIfStale();
  if (db_.IsOpen()) return true;
  const auto file = IdentityOf(path_);
  if (!file || file == damagedLeftInPlace_) return false;
  // Read-write even for a reading process: a write cut short by a killed process leaves a
  // journal that only a read-write connection can roll back, which restores the last complete
  // state rather than changing it. Nothing else is ever written through a read.
  db_.Open(path_, SQLITE_OPEN_READWRITE, busyTimeoutMs_);
  openedBy_ = ::getpid();
  file_ = file;
  const StoreInspection inspection = InspectStore(db_);
  switch (inspection.condition) {
    case StoreCondition::Ours: return true;
    case StoreCondition::Empty: CloseConnection(); return false;
    case StoreCondition::Damaged: throw EStoreDamaged(inspection.reason);
    case StoreCondition::Newer:
      CloseConnection();
      throw ERegistryException("settings store " + path_ + " is " + inspection.reason);
  }
  return false;
}

void SqliteRegistryStore::OpenForWrite() {
  if (readOnly_) throw ERegistryException("settings store: this program only reads it");
  if (path_.empty()) throw ERegistryException("settings store: no home folder is known");
  ForgetConnectionIfStale();
  if (db_.IsOpen() && writable_) return;
  CloseConnection();
  // SQLite reports a file or folder it may not write as a read-only database, without the
  // operating system's reason; these checks give it. The journal is created beside the store.
  const std::string folder = FolderOf(path_);
  if (!FileExists(path_)) {
    MakeFolders(folder);
    createdFile_ = true;
  } else {
    RequireWritableFile(path_);
  }
  RequireWritableFolder(folder);
  db_.Open(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, busyTimeoutMs_);
  openedBy_ = ::getpid();
  file_ = IdentityOf(path_);
  const StoreInspection inspection = InspectStore(db_);
  switch (inspection.condition) {
    case StoreCondition::Ours:
    case StoreCondition::Empty:  // gets its tables in its first write transaction
      writable_ = true;
      return;
    case StoreCondition::Damaged: throw EStoreDamaged(inspection.reason);
    case StoreCondition::Newer:
      CloseConnection();
      throw ERegistryException("settings store " + path_ + " is " + inspection.reason);
  }
}

void SqliteRegistryStore::BeginSql(RegistryTransactionMode mode) {
  if (mode == RegistryTransactionMode::Write) {
    db_.Exec("BEGIN IMMEDIATE");
    sqlOpen_ = true;
    try {
      Statement objects(db_, "SELECT count(*) FROM sqlite_schema");
      objects.Step();
      // A new store gets its tables in the same transaction as its first values.
      if (objects.Int(0) == 0) CreateStoreSchema(db_);
    } catch (...) {
      RollbackSql();
      throw;
    }
    return;
  }
  db_.Exec("BEGIN");
  sqlOpen_ = true;
  try {
    // Takes the read lock now, so that every value read until the commit comes from this one
    // state of the store and a busy store is found here.
    Statement objects(db_, "SELECT count(*) FROM sqlite_schema");
    objects.Step();
  } catch (...) {
    RollbackSql();
    throw;
  }
}

void SqliteRegistryStore::CommitSql() {
  try {
    db_.Exec("COMMIT");
  } catch (...) {
    RollbackSql();
    throw;
  }
  sqlOpen_ = false;
  if (createdFile_) {
    SyncFolder(FolderOf(path_));
    createdFile_ = false;
  }
}

void SqliteRegistryStore::RollbackSql() noexcept {
  if (sqlOpen_ && db_.IsOpen()) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  sqlOpen_ = false;
}

void SqliteRegistryStore::NoteFailure(std::exception_ptr failure) noexcept {
  if (depth_ > 0 && !failure_) failure_ = std::move(failure);
}

void SqliteRegistryStore::Damaged(const std::string& reason) {
  if (depth_ > 0 && mode_ == RegistryTransactionMode::Write) {
    NoteFailure(std::make_exception_ptr(ERegistryException("settings store " + path_ + " is damaged: " + reason)));
  }
  CloseConnection();
  if (readOnly_) {
    damagedLeftInPlace_ = IdentityOf(path_);
    if (!damageNoticed_) {
      damageNoticed_ = true;
      Notice("settings store " + path_ + " is damaged (" + reason + "); running on defaults and leaving it as it is");
    }
    return;
  }
  const SetAsideOutcome outcome = SetAsideDamagedStore(path_, reason);
  if (outcome.pathIsFree) {
    damagedLeftInPlace_.reset();
    if (!outcome.notice.empty()) Notice(outcome.notice);
    return;
  }
  damagedLeftInPlace_ = IdentityOf(path_);
  if (!damageNoticed_) {
    damageNoticed_ = true;
    Notice(outcome.notice);
  }
}

template <typename Body, typename Result>
Result SqliteRegistryStore::Read(Body body, Result nothing) {
  try {
    if (!OpenForRead()) return nothing;
    if (depth_ > 0 && !sqlOpen_ && mode_ == RegistryTransactionMode::Read) BeginSql(mode_);
    return body();
  } catch (const EStoreDamaged& damage) {
    Damaged(damage.what());
    return nothing;
  } catch (const ERegistryException&) {
    NoteFailure(std::current_exception());
    throw;
  }
}

template <typename Body>
void SqliteRegistryStore::Write(Body body) {
  if (depth_ == 0) {  // a write of its own: atomic and durable by itself
    BeginTransaction(RegistryTransactionMode::Write);
    try {
      Write(body);
    } catch (...) {
      RollbackTransaction();
      throw;
    }
    CommitTransaction();
    return;
  }
  if (mode_ != RegistryTransactionMode::Write) {
    throw ERegistryException("settings store: a write inside a transaction that only reads");
  }
  try {
    if (!sqlOpen_) {  // the store was set aside since the transaction began
      OpenForWrite();
      BeginSql(mode_);
    }
    body();
  } catch (const EStoreDamaged& damage) {
    Damaged(damage.what());
    throw ERegistryException("settings store " + path_ + " is damaged: " + damage.what());
  } catch (const ERegistryException&) {
    NoteFailure(std::current_exception());
    throw;
  }
}

void SqliteRegistryStore::BeginTransaction(RegistryTransactionMode mode) {
  if (depth_ > 0) {
    if (mode == RegistryTransactionMode::Write && mode_ != mode) {
      throw ERegistryException("settings store: a write transaction inside one that only reads");
    }
    ++depth_;
    return;
  }
  failure_ = nullptr;
  mode_ = mode;
  if (mode == RegistryTransactionMode::Read) {
    try {
      if (OpenForRead()) BeginSql(mode);
    } catch (const EStoreDamaged& damage) {
      Damaged(damage.what());
    }
  } else {
    for (int attempt = 0;; ++attempt) {
      try {
        OpenForWrite();
        BeginSql(mode);
        break;
      } catch (const EStoreDamaged& damage) {
        Damaged(damage.what());
        if (attempt > 0) throw ERegistryException("settings store " + path_ + " is damaged: " + damage.what());
      } catch (const ERegistryException&) {
        CloseConnection();
        throw;
      }
    }
  }
  depth_ = 1;
}

void SqliteRegistryStore::CommitTransaction() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (failure_) {
    RollbackSql();
    std::exception_ptr failure = std::exchange(failure_, nullptr);
    std::rethrow_exception(failure);
  }
  if (!sqlOpen_) return;
  try {
    CommitSql();
  } catch (const EStoreDamaged& damage) {
    CloseConnection();
    throw ERegistryException("settings store " + path_ + " is damaged: " + damage.what());
  } catch (...) {
    CloseConnection();
    throw;
  }
}

void SqliteRegistryStore::RollbackTransaction() noexcept {
  if (depth_ == 0) return;
  if (--depth_ > 0) {
    NoteFailure(std::make_exception_ptr(ERegistryException("settings store: part of a transaction was abandoned")));
    return;
  }
  RollbackSql();
  failure_ = nullptr;
}

bool SqliteRegistryStore::KeyExists(const std::string& key) {
  if (key.empty()) return true;
  return Read(
      [&] {
        Statement query(db_, "SELECT 1 FROM registry_keys WHERE path = ?1");
        query.Bind(1, key);
        return query.Step();
      },
      false);
}

void SqliteRegistryStore::CreateKey(const std::string& key) {
  Write([&] { InsertKeyChain(key); });
}

std::optional<RegistryData> SqliteRegistryStore::ReadValue(const std::string& key, const std::string& name) {
  return Read(
      [&]() -> std::optional<RegistryData> {
        Statement query(db_, "SELECT type, data FROM registry_values WHERE key_path = ?1 AND name = ?2");
        query.Bind(1, key).Bind(2, name);
        if (!query.Step()) return std::nullopt;
        return Decode(query);
      },
      std::optional<RegistryData>());
}

void SqliteRegistryStore::WriteValue(const std::string& key, const std::string& name, const RegistryData& data) {
  Write([&] {
    // The key was created when it was opened; it is made again in case the store was set
    // aside and started afresh since.
    InsertKeyChain(key);
    Statement counter(db_, "UPDATE write_counter SET last = last + 1 WHERE id = 1 RETURNING last");
    if (!counter.Step()) throw ERegistryException("settings store: the write counter is missing");
    const std::int64_t seq = counter.Int(0);
    while (counter.Step()) {
    }
    Statement upsert(db_,
                     "INSERT INTO registry_values (key_path, name, type, data, write_seq)"
                     " VALUES ((SELECT path FROM registry_keys WHERE path = ?1), ?2, ?3, ?4, ?5)"
                     " ON CONFLICT (key_path, name) DO UPDATE SET"
                     " type = excluded.type, data = excluded.data, write_seq = excluded.write_seq");
    upsert.Bind(1, key).Bind(2, name).Bind(3, static_cast<std::int64_t>(data.type));
    if (data.type == RegDataType::String) {
      upsert.Bind(4, data.text);
    } else {
      upsert.Bind(4, std::int64_t{data.dword});
    }
    upsert.Bind(5, seq);
    upsert.Step();
  });
}

bool SqliteRegistryStore::DeleteValue(const std::string& key, const std::string& name) {
  bool deleted = false;
  Write([&] {
    Statement erase(db_, "DELETE FROM registry_values WHERE key_path = ?1 AND name = ?2");
    erase.Bind(1, key).Bind(2, name);
    erase.Step();
    deleted = db_.Changes() > 0;
  });
  return deleted;
}

bool SqliteRegistryStore::DeleteKey(const std::string& key) {
  if (key.empty()) throw ERegistryException("settings store: the root key cannot be removed");
  bool deleted = false;
  Write([&] {
    // The key and those below it: the paths that begin with the key and a separator, which sort
    // (ignoring case, as paths compare) after the key and '\' and before the key and ']', the
    // character that follows the separator.
    for (const char* sql : {"DELETE FROM registry_values WHERE key_path = ?1 OR (key_path > ?1 || '\\' AND "
                            "key_path < ?1 || ']')",
                            "DELETE FROM registry_keys WHERE path = ?1 OR (path > ?1 || '\\' AND path < ?1 || ']')"}) {
      Statement erase(db_, sql);
      erase.Bind(1, key);
      erase.Step();
    }
    deleted = db_.Changes() > 0;
  });
  return deleted;
}

std::vector<std::string> SqliteRegistryStore::ValueNames(const std::string& key) {
  return Read(
      [&] {
        std::vector<std::string> names;
        Statement query(db_, "SELECT name FROM registry_values WHERE key_path = ?1 ORDER BY name");
        query.Bind(1, key);
        while (query.Step()) names.push_back(query.Text(0));
        return names;
      },
      std::vector<std::string>());
}

void SqliteRegistryStore::InsertKeyChain(const std::string& key) {
  std::string spelled;  // the path as the store spells it so far
  std::size_t pos = 0;
  while (pos < key.size()) {
    const auto end = key.find('\\', pos);
    const std::string part = key.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    const std::string wanted = spelled.empty() ? part : spelled + "\\" + part;
    Statement find(db_, "SELECT path FROM registry_keys WHERE path = ?1");
    find.Bind(1, wanted);
    if (find.Step()) {
      spelled = find.Text(0);
    } else {
      Statement insert(db_, "INSERT INTO registry_keys (path) VALUES (?1)");
      insert.Bind(1, wanted);
      insert.Step();
      spelled = wanted;
    }
    if (end == std::string::npos) break;
    pos = end + 1;
  }
}

}  // namespace palettor
