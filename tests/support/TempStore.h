#pragma once
// A private XDG_CONFIG_HOME per test, so every test works on a real store of its own.
#include <sqlite3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ApplicationExe.h"
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
    SetExeNameOverride("/opt/palettor/palettor");
    SetRegistryReadOnly(false);
    SetRegistryNoticeHandler([this](const std::string& line) { notices_.push_back(line); });
  }
  void TearDown() override {
    SetRegistryNoticeHandler({});
    SetRegistryReadOnly(false);
    SetExeNameOverride({});
    std::error_code ignored;
    std::filesystem::permissions(config_ / "Quillon", std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(root_, ignored);
  }

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

  // Runs SQL on the store file directly, as a user editing it by hand would.
  void Execute(const std::string& sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(StorePath().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
  }

  std::filesystem::path root_;
  std::filesystem::path config_;
  std::vector<std::string> notices_;
};

}  // namespace palettor::test
