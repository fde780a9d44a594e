#include "SqliteRegistryStore.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
#include <pwd.h>
#include <utility>

#include "FileNames.h"

namespace palettor {

namespace {

// "QREG": marks the file as this kind of store; user_version is its layout.
constexpr std::int64_t kApplicationId = 0x51524547;
constexpr std::int64_t kSchemaVersion = 1;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS registry_keys("
    "  path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS registry_values("
    "  key_path TEXT NOT NULL COLLATE NOCASE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL CHECK (type IN (1, 4)),"
    "  data BLOB,"  // no affinity: text that looks like a number stays text
    "  write_seq INTEGER NOT NULL,"
    "  PRIMARY KEY (key_path, name)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS write_counter("
    "  id INTEGER PRIMARY KEY CHECK (id = 1),"
    "  last INTEGER NOT NULL);"
    "INSERT OR IGNORE INTO write_counter VALUES (1, 0);"
    "PRAGMA application_id = 1364346183;"  // kApplicationId
    "PRAGMA user_version = 1;";             // kSchemaVersion
static_assert(kApplicationId == 1364346183);

std::atomic<bool> gReadOnly{false};

std::mutex& NoticeMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<void(const std::string&)>& NoticeHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}

void Notice(const std::string& line) {
  std::function<void(const std::string&)> handler;
  {
    std::lock_guard lock(NoticeMutex());
    handler = NoticeHandler();
  }
  if (handler) {
    handler(line);
  } else {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, line.c_str());
  }
}

// A damaged store that stays where it is would be noticed again by every setting of a session;
// it is reported once per process.
bool FirstNoticeFor(const std::string& path) {
  static std::mutex mutex;
  static std::set<std::string> noticed;
  std::lock_guard lock(mutex);
  return noticed.insert(path).second;
}

std::string ErrnoText(int error) { return std::strerror(error); }

// Raised inside a session when SQLite finds the file is not a store or is damaged.
struct DamagedStore {
  std::string reason;
};

bool IsDamage(int rc) { return (rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB; }

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
    Check(rc);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, const std::string& text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), nullptr));
    return *this;
  }
  Statement& Bind(int index, std::int64_t number) {
    Check(sqlite3_bind_int64(stmt_, index, number));
    return *this;
  }
  // True while there is a row.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Check(rc);
    return false;
  }
  int ColumnType(int column) { return sqlite3_column_type(stmt_, column); }
  std::int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

  void Check(int rc) const {
    if (rc == SQLITE_OK) return;
    if (IsDamage(rc)) throw DamagedStore{sqlite3_errmsg(db_)};
    throw ERegistryException(std::string("settings store: ") + sqlite3_errmsg(db_));
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

void Exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
  if (rc == SQLITE_OK) return;
  std::string reason = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  if (IsDamage(rc)) throw DamagedStore{reason};
  throw ERegistryException("settings store: " + reason);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// Creates the folder and its missing parents, private to the user as configuration folders are.
void MakeFolders(const std::string& folder) {
  std::string built;
  std::size_t pos = 0;
  while (pos <= folder.size()) {
    const auto end = folder.find('/', pos);
    built = folder.substr(0, end == std::string::npos ? folder.size() : end);
    if (!built.empty() && ::mkdir(built.c_str(), 0700) != 0 && errno != EEXIST) {
      throw ERegistryException("cannot create " + built + ": " + ErrnoText(errno));
    }
    if (end == std::string::npos) break;
    pos = end + 1;
  }
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string UtcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

enum class Condition { Ours, Empty, Damaged, Foreign, Newer };

struct Inspection {
  Condition condition;
  std::string reason;
};

// What the open connection holds. Throws ERegistryException when the file cannot be read now
// (busy beyond the timeout, an I/O error).
Inspection Inspect(sqlite3* db) {
  try {
    Statement app(db, "PRAGMA application_id");
    app.Step();
    const std::int64_t appId = app.Int(0);
    Statement version(db, "PRAGMA user_version");
    version.Step();
    const std::int64_t layout = version.Int(0);
    Statement tables(db, "SELECT count(*) FROM sqlite_schema");
    tables.Step();
    const std::int64_t objects = tables.Int(0);
    if (appId == kApplicationId) {
      if (layout > kSchemaVersion) return {Condition::Newer, "written by a newer program (layout " + std::to_string(layout) + ")"};
      return {Condition::Ours, {}};
    }
    if (appId == 0 && objects == 0) return {Condition::Empty, {}};
    return {Condition::Foreign, "a database of another kind"};
  } catch (const DamagedStore& damage) {
    return {Condition::Damaged, damage.reason};
  }
}

sqlite3* Connect(const std::string& path, int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const int sysErrno = db ? sqlite3_system_errno(db) : 0;
    if (sysErrno != 0) reason += " (" + ErrnoText(sysErrno) + ")";
    sqlite3_close(db);
    throw ERegistryException("cannot open " + path + ": " + reason);
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, kRegistryBusyTimeoutMs);
  try {
    // Every commit reaches the disk before it is reported; the rollback journal (not WAL) keeps
    // the store readable from a read-only folder.
    Exec(db, "PRAGMA synchronous = FULL");
  } catch (...) {
    sqlite3_close(db);
    throw;
  }
  return db;
}

// Whether the file at `path` is still damaged, judged by a fresh connection: another process
// may already have set it aside and started a new store.
bool StillDamaged(const std::string& path) {
  if (!FileExists(path)) return false;
  sqlite3* db = nullptr;
  bool damaged = false;
  try {
    db = Connect(path, SQLITE_OPEN_READONLY);
    const Inspection inspection = Inspect(db);
    if (inspection.condition == Condition::Damaged || inspection.condition == Condition::Foreign) {
      damaged = true;
    } else if (inspection.condition == Condition::Ours) {
      Statement check(db, "PRAGMA quick_check");
      damaged = !check.Step() || check.Text(0) != "ok";
    }
  } catch (const DamagedStore&) {
    damaged = true;
  } catch (const ERegistryException&) {
    damaged = false;
  }
  sqlite3_close(db);
  return damaged;
}

// The folder whose lock this process holds for a whole session (RegistrySessionLock), if any.
std::mutex gSessionMutex;
std::string gSessionFolder;

// An exclusive lock on the store's folder, held while a damaged file is moved aside (so that only
// one process moves it and none moves a fresh store another has just started) and for a whole
// session of RegistrySessionLock. A process already holding it for its session does not take it
// again, which would wait for itself.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder) {
    {
      std::lock_guard lock(gSessionMutex);
      if (!gSessionFolder.empty() && gSessionFolder == folder) {
        inherited_ = true;
        return;
      }
    }
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        error_ = errno;
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FolderLock() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return inherited_ || fd_ >= 0; }
  int Error() const { return error_; }
  void Sync(const std::string& folder) const {
    if (fd_ >= 0) {
      ::fsync(fd_);
    } else {
      SyncFolder(folder);
    }
  }

 private:
  int fd_ = -1;
  int error_ = 0;
  bool inherited_ = false;
};

// Moves the damaged file (and any journal of it) aside so that nothing in it is lost and a
// fresh store can start. Returns whether the path is now free for a fresh store.
bool SetAside(const std::string& path, const std::string& reason) {
  const FolderLock lock(ExtractFilePath(path));
  if (!lock.Held()) {
    if (FirstNoticeFor(path)) {
      Notice("settings store " + path + " is damaged (" + reason + ") and its folder cannot be locked (" +
             ErrnoText(lock.Error()) + "); running on defaults");
    }
    return false;
  }
  if (!StillDamaged(path)) return true;
  const std::string base = path + ".damaged-" + UtcStamp();
  std::string aside = base;
  for (int n = 2; FileExists(aside); ++n) aside = base + "-" + std::to_string(n);
  if (::rename(path.c_str(), aside.c_str()) != 0) {
    if (FirstNoticeFor(path)) {
      Notice("settings store " + path + " is damaged (" + reason + ") and cannot be moved aside (" +
             ErrnoText(errno) + "); running on defaults");
    }
    return false;
  }
  // A journal left beside the damaged file belongs to it; applied to the fresh store it would
  // damage that too.
  for (const char* companion : {"-journal", "-wal", "-shm"}) {
    const std::string from = path + companion;
    if (FileExists(from)) ::rename(from.c_str(), (aside + companion).c_str());
  }
  lock.Sync(ExtractFilePath(path));
  Notice("settings store " + path + " was damaged (" + reason + "); kept it as " + aside +
         " and started a fresh one");
  return true;
}

class SqliteRegistry final : public RegistryBackend {
 public:
  explicit SqliteRegistry(std::string path) : path_(std::move(path)) {}
  ~SqliteRegistry() override { Close(); }
  SqliteRegistry(const SqliteRegistry&) = delete;
  SqliteRegistry& operator=(const SqliteRegistry&) = delete;

  bool KeyExists(const std::string& key) override {
    if (key.empty()) return true;
    return Read([&] {
      Statement query(db_, "SELECT 1 FROM registry_keys WHERE path = ?1");
      query.Bind(1, key);
      return query.Step();
    }, false);
  }

  void CreateKey(const std::string& key) override {
    WriteTransaction([&] { InsertKeyChain(key); });
  }

  std::optional<RegistryData> ReadValue(const std::string& key, const std::string& name) override {
    return Read([&]() -> std::optional<RegistryData> {
      Statement query(db_, "SELECT type, data FROM registry_values WHERE key_path = ?1 AND name = ?2");
      query.Bind(1, key).Bind(2, name);
      if (!query.Step()) return std::nullopt;
      return Decode(name, query);
    }, std::optional<RegistryData>());
  }

  void WriteValue(const std::string& key, const std::string& name, const RegistryData& data) override {
    WriteTransaction([&] {
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
      if (data.type == RegDataType::Dword) {
        upsert.Bind(4, std::int64_t{data.dword});
      } else {
        upsert.Bind(4, data.text);
      }
      upsert.Bind(5, seq);
      upsert.Step();
    });
  }

  bool DeleteValue(const std::string& key, const std::string& name) override {
    bool deleted = false;
    WriteTransaction([&] {
      Statement erase(db_, "DELETE FROM registry_values WHERE key_path = ?1 AND name = ?2");
      erase.Bind(1, key).Bind(2, name);
      erase.Step();
      deleted = sqlite3_changes(db_) > 0;
    });
    return deleted;
  }

  std::vector<std::string> ValueNames(const std::string& key) override {
    return Read([&] {
      std::vector<std::string> names;
      Statement query(db_, "SELECT name FROM registry_values WHERE key_path = ?1 ORDER BY name");
      query.Bind(1, key);
      while (query.Step()) names.push_back(query.Text(0));
      return names;
    }, std::vector<std::string>());
  }

 private:
  static RegistryData Decode(const std::string& name, Statement& row) {
    const std::int64_t type = row.Int(0);
    if (type == static_cast<std::int64_t>(RegDataType::Dword)) {
      // A REG_DWORD holds 32 bits; read as signed, as ReadInteger returns it.
      const std::int64_t number = row.Int(1);
      if (row.ColumnType(1) != SQLITE_INTEGER || number < INT32_MIN || number > static_cast<std::int64_t>(UINT32_MAX)) {
        throw ERegistryException("read '" + name + "': the stored number does not fit 32 bits");
      }
      return RegistryData{RegDataType::Dword, static_cast<std::int32_t>(static_cast<std::uint32_t>(number)), {}};
    }
    if (type == static_cast<std::int64_t>(RegDataType::String)) {
      if (row.ColumnType(1) != SQLITE_TEXT) throw ERegistryException("read '" + name + "': the stored text is not text");
      return RegistryData{RegDataType::String, 0, row.Text(1)};
    }
    throw ERegistryException("read '" + name + "': unknown value type " + std::to_string(type));
  }

  void Close() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
    writable_ = false;
  }

  // Opens the store for reading; false when there is nothing to read.
  bool OpenForRead() {
    if (db_) return true;
    if (path_.empty()) throw ERegistryException("settings store: no home folder is known");
    if (!FileExists(path_)) return false;
    // Read-write even for a reading process: a write cut short by a killed process leaves a
    // journal that only a read-write connection can roll back, which restores the last complete
    // state rather than changing it. Nothing else is ever written through a read.
    db_ = Connect(path_, SQLITE_OPEN_READWRITE);
    return Accept(Inspect(db_));
  }

  // Keeps the connection when it holds a usable store; throws DamagedStore for a damaged one.
  bool Accept(const Inspection& inspection) {
    switch (inspection.condition) {
      case Condition::Ours:
        return true;
      case Condition::Empty:
        return false;
      case Condition::Damaged:
      case Condition::Foreign:
        throw DamagedStore{inspection.reason};
      case Condition::Newer:
        Close();
        throw ERegistryException("settings store " + path_ + " is " + inspection.reason);
    }
    return false;
  }

  template <typename Body, typename Result>
  Result Read(Body body, Result nothing) {
    try {
      if (!OpenForRead()) {
        Close();
        return nothing;
      }
      return body();
    } catch (const DamagedStore& damage) {
      Damaged(damage.reason);
      throw ERegistryException("settings store " + path_ + " is damaged: " + damage.reason);
    }
  }

  void Damaged(const std::string& reason) {
    Close();
    if (RegistryReadOnly()) {
      if (FirstNoticeFor(path_)) {
        Notice("settings store " + path_ + " is damaged (" + reason + "); running on defaults and leaving it as it is");
      }
      return;
    }
    SetAside(path_, reason);
  }

  void OpenForWrite() {
    if (RegistryReadOnly()) throw ERegistryException("settings store: this program only reads it");
    if (db_ && writable_) return;
    Close();
    if (path_.empty()) throw ERegistryException("settings store: no home folder is known");
    const std::string folder = ExtractFilePath(path_);
    const bool created = !FileExists(path_);
    if (created) MakeFolders(folder.substr(0, folder.size() - 1));
    db_ = Connect(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    writable_ = true;
    if (!Accept(Inspect(db_))) {
      Exec(db_, "BEGIN IMMEDIATE");
      try {
        Exec(db_, kSchema);
        Exec(db_, "COMMIT");
      } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
      }
      if (created) SyncFolder(folder);
    }
  }

  template <typename Body>
  void WriteTransaction(Body body) {
    for (int attempt = 0;; ++attempt) {
      try {
        OpenForWrite();
        Exec(db_, "BEGIN IMMEDIATE");
        try {
          body();
          Exec(db_, "COMMIT");
        } catch (...) {
          sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
          throw;
        }
        return;
      } catch (const DamagedStore& damage) {
        Damaged(damage.reason);
        if (attempt > 0) throw ERegistryException("settings store " + path_ + " is damaged: " + damage.reason);
      } catch (const ERegistryException&) {
        Close();
        throw;
      }
    }
  }

  void InsertKeyChain(const std::string& key) {
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

  std::string path_;
  sqlite3* db_ = nullptr;
  bool writable_ = false;
};

}  // namespace

struct RegistrySessionLock::Impl {
  explicit Impl(const std::string& folder) : lock(folder) {}
  FolderLock lock;
};

RegistrySessionLock::RegistrySessionLock() {
  const std::string path = RegistryStorePath();
  if (path.empty()) {
    error_ = "no home folder is known";
    return;
  }
  const std::string folder = ExtractFilePath(path);
  try {
    MakeFolders(folder.substr(0, folder.size() - 1));
  } catch (const ERegistryException& error) {
    error_ = error.what();
    return;
  }
  impl_ = std::make_unique<Impl>(folder);
  if (!impl_->lock.Held()) {
    error_ = "cannot lock " + folder + ": " + ErrnoText(impl_->lock.Error());
    impl_.reset();
    return;
  }
  std::lock_guard lock(gSessionMutex);
  gSessionFolder = folder;
}

RegistrySessionLock::~RegistrySessionLock() {
  if (!impl_) return;
  {
    std::lock_guard lock(gSessionMutex);
    gSessionFolder.clear();
  }
  impl_.reset();
}

std::string RegistryStorePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
      home = env;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/') {
      home = entry->pw_dir;
    }
    if (home.empty()) return {};
    base = home + "/.config";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/Quillon/registry.sqlite3";
}

void SetRegistryReadOnly(bool readOnly) { gReadOnly = readOnly; }

bool RegistryReadOnly() { return gReadOnly; }

void SetRegistryNoticeHandler(std::function<void(const std::string&)> handler) {
  std::lock_guard lock(NoticeMutex());
  NoticeHandler() = std::move(handler);
}

std::unique_ptr<RegistryBackend> OpenSqliteRegistry(std::string path) {
  return std::make_unique<SqliteRegistry>(std::move(path));
}

std::unique_ptr<RegistryBackend> OpenCurrentUserRegistry() { return OpenSqliteRegistry(RegistryStorePath()); }

}  // namespace palettor
