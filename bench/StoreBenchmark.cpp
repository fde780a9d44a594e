// Storing the window's 27 values as `palettor-cli settings set` does (load all, change one, store
// all), side by side with the scheme the program used before: every value loaded and stored
// through a connection of its own, each store in a transaction of its own after an empty
// key-creating one, with the same pragmas on the same file system. Each on a store that does not
// exist yet and on one that holds 10,000 other values. The store lives in $PALETTOR_BENCH_DIR
// (default: the current folder), so that its syncs reach a real disk.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "CurrentUserRegistry.h"
#include "RatioReporter.h"
#include "RegistryTransaction.h"
#include "SettingsCatalogue.h"
#include "SqliteRegistryStore.h"
#include "StoredPalette.h"

namespace {

using namespace palettor;

const char* const kKey = "Software\\Quillon\\palettor";

std::filesystem::path BenchFolder() {
  const char* dir = std::getenv("PALETTOR_BENCH_DIR");
  return std::filesystem::absolute(dir && *dir ? dir : ".") / "palettor-store-bench";
}

std::string StoreFile() { return (BenchFolder() / "registry.sqlite3").string(); }

void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql.c_str(), message ? message : "?");
    std::abort();
  }
}

// A fresh folder with no store, or a store holding `others` values of other programs.
void PrepareStore(std::int64_t others) {
  std::filesystem::remove_all(BenchFolder());
  std::filesystem::create_directories(BenchFolder());
  if (others == 0) return;
  {
    SqliteRegistryStore store(StoreFile());
    store.CreateKey("Software\\Quillon\\filler");
  }
  sqlite3* db = nullptr;
  sqlite3_open(StoreFile().c_str(), &db);
  Exec(db, "BEGIN");
  for (std::int64_t i = 0; i < others; ++i) {
    Exec(db, "INSERT INTO registry_values VALUES ('Software\\Quillon\\filler', 'v" + std::to_string(i) + "', 1, '" +
                 std::string(40, 'x') + "', " + std::to_string(i + 1) + ")");
  }
  Exec(db, "UPDATE write_counter SET last = " + std::to_string(others));
  Exec(db, "COMMIT");
  sqlite3_close(db);
}

// --- The scheme before: one connection and one transaction per value ---

sqlite3* OpenAsBefore() {
  sqlite3* db = nullptr;
  sqlite3_open_v2(StoreFile().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  sqlite3_busy_timeout(db, 5000);
  Exec(db, "PRAGMA synchronous = EXTRA");  // the pragmas of today, for a fair comparison
  // The three inspection queries each connection made.
  Exec(db, "PRAGMA application_id");
  Exec(db, "PRAGMA user_version");
  Exec(db, "SELECT count(*) FROM sqlite_schema");
  Exec(db,
       "CREATE TABLE IF NOT EXISTS registry_keys(path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;"
       "CREATE TABLE IF NOT EXISTS registry_values(key_path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL "
       "COLLATE NOCASE, type INTEGER NOT NULL, data BLOB, write_seq INTEGER NOT NULL, PRIMARY KEY (key_path, name)) "
       "WITHOUT ROWID;"
       "CREATE TABLE IF NOT EXISTS write_counter(id INTEGER PRIMARY KEY CHECK (id = 1), last INTEGER NOT NULL);"
       "INSERT OR IGNORE INTO write_counter VALUES (1, 0);");
  return db;
}

const char* const kKeyChain =
    "INSERT OR IGNORE INTO registry_keys VALUES ('Software');"
    "INSERT OR IGNORE INTO registry_keys VALUES ('Software\\Quillon');"
    "INSERT OR IGNORE INTO registry_keys VALUES ('Software\\Quillon\\palettor');";

void SessionAsBefore() {
  for (const SettingEntry& entry : SettingsCatalogue()) {  // the window's load, value by value
    sqlite3* db = OpenAsBefore();
    Exec(db, std::string("SELECT type, data FROM registry_values WHERE key_path = '") + kKey + "' AND name = '" +
                 entry.name + "'");
    sqlite3_close(db);
  }
  for (const std::size_t index : SettingsStoreOrder()) {  // and its store, value by value
    const SettingEntry& entry = SettingsCatalogue()[index];
    sqlite3* db = OpenAsBefore();
    Exec(db, std::string("BEGIN IMMEDIATE;") + kKeyChain + "COMMIT;");
    Exec(db, std::string("BEGIN IMMEDIATE;") + kKeyChain +
                 "UPDATE write_counter SET last = last + 1 WHERE id = 1;"
                 "INSERT INTO registry_values VALUES ('" +
                 kKey + "', '" + entry.name + "', 4, " + std::to_string(entry.defaultValue) +
                 ", (SELECT last FROM write_counter)) ON CONFLICT (key_path, name) DO UPDATE SET "
                 "data = excluded.data, write_seq = excluded.write_seq;"
                 "COMMIT;");
    sqlite3_close(db);
  }
}

// --- Today: one connection, the session in one transaction ---

void SessionNow() {
  SqliteRegistryStore store(StoreFile());
  const CurrentUserRegistry registry(store, "/usr/bin/palettor");
  RegistryTransaction session(store, RegistryTransactionMode::Write);
  Palette palette = LoadPalette(registry).palette;
  palette.tailPercent = 40;
  StorePalette(registry, palette);
  session.Commit();
}

template <void (*Session)()>
void BM_SettingsSet(benchmark::State& state) {
  const std::int64_t others = state.range(0);
  PrepareStore(others);
  for (auto _ : state) {
    if (others == 0) {
      state.PauseTiming();
      PrepareStore(0);
      state.ResumeTiming();
    }
    Session();
  }
  std::filesystem::remove_all(BenchFolder());
}

BENCHMARK_TEMPLATE(BM_SettingsSet, SessionAsBefore)
    ->Name("SettingsSet/PerValue")
    ->Arg(0)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_TEMPLATE(BM_SettingsSet, SessionNow)
    ->Name("SettingsSet/OneTransaction")
    ->Arg(0)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return palettor::bench::RunWithRatios(
      argc, argv,
      [](const benchmark::BenchmarkReporter::Run& run, palettor::bench::RunTimes& times) {
        times[run.benchmark_name()] = run.GetAdjustedRealTime();
      },
      [](const palettor::bench::RunTimes& times) {
        for (const char* arg : {"0", "10000"}) {
          const auto before = times.find(std::string("SettingsSet/PerValue/") + arg + "/real_time");
          const auto now = times.find(std::string("SettingsSet/OneTransaction/") + arg + "/real_time");
          if (before == times.end() || now == times.end()) continue;
          std::printf("store with %s other values: one transaction is %.1fx faster than one per value\n", arg,
                      before->second / now->second);
        }
      });
}
