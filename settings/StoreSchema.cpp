#include "StoreSchema.h"

#include <cstdint>

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
    "PRAGMA user_version = 1;";            // kSchemaVersion
static_assert(kApplicationId == 1364346183);

std::int64_t Number(SqliteConnection& db, const char* sql) {
  Statement query(db, sql);
  query.Step();
  return query.Int(0);
}

// What is wrong with a store of this layout, or "" when nothing is: a table or column dropped
// or the write counter emptied by hand or by another program would make every later write fail.
std::string MissingParts(SqliteConnection& db) {
  struct Part {
    const char* check;
    const char* missing;
  };
  static constexpr Part kParts[] = {
      {"SELECT count(*) = 1 FROM pragma_table_info('registry_keys') WHERE name = 'path'", "the key table is missing"},
      {"SELECT count(*) = 5 FROM pragma_table_info('registry_values')"
       " WHERE name IN ('key_path', 'name', 'type', 'data', 'write_seq')",
       "a column of the value table is missing"},
      {"SELECT count(*) = 2 FROM pragma_table_info('write_counter') WHERE name IN ('id', 'last')",
       "the write counter is missing"},
  };
  for (const Part& part : kParts) {
    if (Number(db, part.check) == 0) return part.missing;
  }
  if (Number(db, "SELECT count(*) FROM write_counter WHERE id = 1") != 1) return "the write counter is empty";
  return {};
}

}  // namespace

StoreInspection InspectStore(SqliteConnection& db) {
  try {
    const std::int64_t appId = Number(db, "PRAGMA application_id");
    const std::int64_t layout = Number(db, "PRAGMA user_version");
    const std::int64_t objects = Number(db, "SELECT count(*) FROM sqlite_schema");
    if (appId == kApplicationId) {
      if (layout > kSchemaVersion) {
        return {StoreCondition::Newer, "written by a newer program (layout " + std::to_string(layout) + ")"};
      }
      if (std::string missing = MissingParts(db); !missing.empty()) return {StoreCondition::Damaged, missing};
      return {StoreCondition::Ours, {}};
    }
    if (appId == 0 && objects == 0) return {StoreCondition::Empty, {}};
    return {StoreCondition::Damaged, "a database of another kind"};
  } catch (const EStoreDamaged& damage) {
    return {StoreCondition::Damaged, damage.what()};
  }
}

void CreateStoreSchema(SqliteConnection& db) { db.Exec(kSchema); }

bool PassesQuickCheck(SqliteConnection& db) {
  Statement check(db, "PRAGMA quick_check");
  return check.Step() && check.Text(0) == "ok";
}

}  // namespace palettor
