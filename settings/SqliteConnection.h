#pragma once
// A connection to one SQLite file and the statements run on it. Every failure is thrown as an
// ERegistryException carrying SQLite's reason and, where there is one, the operating system's:
// EStoreBusy when the file stayed locked for the whole busy wait, EStoreDamaged when it is not
// a database or is damaged.
#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "RegistryBackend.h"

namespace palettor {

class EStoreDamaged : public ERegistryException {
 public:
  using ERegistryException::ERegistryException;
};

class SqliteConnection {
 public:
  SqliteConnection() = default;
  ~SqliteConnection() { Close(); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Opens `path` with the sqlite3_open_v2 `flags`, waiting up to `busyTimeoutMs` for a locked
  // file in every later statement. Every commit reaches the disk, with the folder that records
  // it, before it is reported; the rollback journal (not WAL) keeps the store readable from a
  // read-only folder.
  void Open(const std::string& path, int flags, int busyTimeoutMs);
  void Close();
  // Forgets the connection without closing it: one inherited from a parent process (fork)
  // must not release the parent's locks.
  void Abandon() { db_ = nullptr; }
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* Handle() const { return db_; }

  void Exec(const char* sql);
  // Throws the exception that fits `rc`; does nothing for SQLITE_OK.
  void Check(int rc) const;
  int Changes() const { return sqlite3_changes(db_); }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(const SqliteConnection& connection, const char* sql);
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, const std::string& text);
  Statement& Bind(int index, std::int64_t number);
  // True while there is a row.
  bool Step();
  int ColumnType(int column) { return sqlite3_column_type(stmt_, column); }
  std::int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column);

 private:
  const SqliteConnection& connection_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace palettor
