#pragma once
// The layout of the settings store and what a file found at the store's place holds.
//
// Tables (for anyone inspecting the file):
//   registry_keys(path)                                    every key, parents included
//   registry_values(key_path, name, type, data, write_seq) type 4 = REG_DWORD (integer data),
//                                                          1 = REG_SZ (text data); write_seq
//                                                          increases with every write in the store
//   write_counter(id = 1, last)                            the last write_seq given out
#include <string>

#include "SqliteConnection.h"

namespace palettor {

enum class StoreCondition {
  Ours,     // a store of this layout
  Empty,    // no database yet (a new or empty file)
  Damaged,  // not a database, damaged, or a database of another kind
  Newer,    // a store of a later layout, which this program must not change
};

struct StoreInspection {
  StoreCondition condition;
  std::string reason;  // why it is Damaged or Newer
};

// What the open connection holds. Throws ERegistryException when the file cannot be read now
// (busy beyond the wait, an I/O error).
StoreInspection InspectStore(SqliteConnection& db);

// Makes an Empty store one of this layout; runs inside the caller's write transaction.
void CreateStoreSchema(SqliteConnection& db);

// Whether the file's pages pass SQLite's quick check.
bool PassesQuickCheck(SqliteConnection& db);

}  // namespace palettor
