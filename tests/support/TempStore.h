#pragma once
// A private XDG_CONFIG_HOME per test, so every test works on a real store of its own, opened as a
// program's main opens it and handed, as Registry(), to what the test runs.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CurrentUserRegistry.h"
#include "SqliteRegistryStore.h"

namespace palettor::test {

class TempStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "palettor-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    config_ = root_ / "config";
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    OpenStore();
  }
  void TearDown() override {
    CloseStore();
    std::error_code ignored;
    std::filesystem::permissions(config_ / "Quillon", std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(root_, ignored);
  }

  // As a program starts: its own connection, for the program "palettor".
  void OpenStore() {
    store_ = std::make_unique<SqliteRegistryStore>(RegistryStorePath(), busyTimeoutMs_);
    store_->SetNoticeSink([this](const std::string& line) { notices_.push_back(line); });
    registry_ = std::make_unique<CurrentUserRegistry>(*store_, "/opt/palettor/palettor");
  }
  void CloseStore() {
    registry_.reset();
    store_.reset();
  }
  // Before the file is changed behind the program's back: a program started afterwards meets it.
  void RestartProgram() {
    const std::string program = registry_->ProgramPath();
    const bool readOnly = store_->ReadOnly();
    CloseStore();
    OpenStore();
    registry_->SetProgramPath(program);
    store_->SetReadOnly(readOnly);
  }

  SqliteRegistryStore& Store() { return *store_; }
  const CurrentUserRegistry& Registry() const { return *registry_; }
  // A program that gives up on a busy store after 0.2 s instead of 5 s.
  void WaitBrieflyForABusyStore() {
    busyTimeoutMs_ = 200;
    RestartProgram();
  }
  // The executable whose settings the program works on.
  void SetExeName(const std::string& path) { registry_->SetProgramPath(path); }

  std::filesystem::path StorePath() const { return config_ / "Quillon" / "registry.sqlite3"; }
  bool StoreExists() const { return std::filesystem::exists(StorePath()); }

  // Rows of a query on the store file, read behind the registry layer's back; columns joined by '|'.
  std::vector<std::string> Query(const std::string& sql) const {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(StorePath().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
      std::string row;
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        if (c) row += '|';
        const auto* text = sqlite3_column_text(stmt, c);
        row += text ? reinterpret_cast<const char*>(text) : "NULL";
      }
      rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
  }

  // Runs SQL on the store file directly, as a user editing it by hand would; the program is
  // started again afterwards.
  void Execute(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(StorePath().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    RestartProgram();
  }

  std::filesystem::path root_;
  std::filesystem::path config_;
  std::vector<std::string> notices_;
  int busyTimeoutMs_ = RegistryBusyTimeoutMs();
  std::unique_ptr<SqliteRegistryStore> store_;
  std::unique_ptr<CurrentUserRegistry> registry_;
};

}  // namespace palettor::test
