#include "SqliteConnection.h"

#include <cstring>

namespace palettor {

namespace {

// The operating system's reason belongs only to failures that come from it; for the others the
// last error number is left over from some earlier, harmless call.
bool FromTheSystem(int rc) {
  switch (rc & 0xff) {
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_FULL: return true;
    default: return false;
  }
}

[[noreturn]] void Throw(int rc, std::string reason, int systemError) {
  if (systemError != 0 && FromTheSystem(rc)) reason += " (" + std::string(std::strerror(systemError)) + ")";
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: throw EStoreBusy("settings store busy: " + reason);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: throw EStoreDamaged(reason);
    default: throw ERegistryException("settings store: " + reason);
  }
}

}  // namespace

void SqliteConnection::Open(const std::string& path, int flags, int busyTimeoutMs) {
  Close();
  const int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    const int systemError = db_ ? sqlite3_system_errno(db_) : 0;
    Close();
    if (systemError != 0 && FromTheSystem(rc)) reason += " (" + std::string(std::strerror(systemError)) + ")";
    throw ERegistryException("cannot open " + path + ": " + reason);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busyTimeoutMs);
  try {
    // EXTRA: the journal's removal, which commits a transaction, is synced in the folder too,
    // so that a power cut after the commit returned cannot bring the journal back.
    Exec("PRAGMA synchronous = EXTRA");
  } catch (...) {
    Close();
    throw;
  }
}

void SqliteConnection::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void SqliteConnection::Exec(const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
  if (rc == SQLITE_OK) return;
  std::string reason = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  Throw(rc, reason, sqlite3_system_errno(db_));
}

void SqliteConnection::Check(int rc) const {
  if (rc == SQLITE_OK) return;
  Throw(rc, sqlite3_errmsg(db_), sqlite3_system_errno(db_));
}

Statement::Statement(const SqliteConnection& connection, const char* sql) : connection_(connection) {
  connection_.Check(sqlite3_prepare_v2(connection_.Handle(), sql, -1, &stmt_, nullptr));
}

Statement& Statement::Bind(int index, const std::string& text) {
  connection_.Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), nullptr));
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t number) {
  connection_.Check(sqlite3_bind_int64(stmt_, index, number));
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  connection_.Check(rc);
  return false;
}

std::string Statement::Text(int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

}  // namespace palettor
