// Any bytes as the settings store's file, in a scratch folder of its own: the palette loaded as
// palettor-cli render loads it (read only, a damaged file left where it is), then as the window
// loads and stores it (a damaged file set aside beside it, a fresh store in its place). What was
// stored in a store SQLite finds whole must load back as stored, and nothing may appear in the
// folder but the store, its journal and the files set aside.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "RegistryBackend.h"
#include "ScratchFolder.h"
#include "SqliteRegistryStore.h"
#include "StoredPalette.h"

namespace {

using namespace palettor;
namespace fs = std::filesystem;

constexpr const char* kProgram = "/opt/palettor/palettor";  // whose key the palette is under

fs::path StoreFile() { return fuzz::ScratchFolder() / "registry.sqlite3"; }

// The palette as a window would load it, or nothing when the store cannot be read.
std::optional<Palette> Load(bool readOnly) {
  SqliteRegistryStore store(StoreFile().string(), 0);
  store.SetReadOnly(readOnly);
  store.SetNoticeSink([](const std::string&) {});
  try {
    return LoadPalette(CurrentUserRegistry(store, kProgram)).palette;
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

bool Store(const Palette& palette) {
  SqliteRegistryStore store(StoreFile().string(), 0);
  store.SetNoticeSink([](const std::string&) {});
  try {
    StorePalette(CurrentUserRegistry(store, kProgram), palette);
    return true;
  } catch (const ERegistryException&) {
    return false;
  }
}

// SQLite finds some damage only when asked to look for it (rows out of order, say): a store
// like that reads, but what is written to it need not read back.
bool LooksWhole() {
  sqlite3* db = nullptr;
  bool whole = false;
  if (sqlite3_open_v2(StoreFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW)
      whole = std::string(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))) == "ok";
    sqlite3_finalize(check);
  }
  sqlite3_close(db);
  return whole;
}

bool OnlyStoreFiles() {
  const std::string store = StoreFile().filename().string();
  for (const fs::directory_entry& entry : fs::directory_iterator(fuzz::ScratchFolder())) {
    const std::string name = entry.path().filename().string();
    if (name != store && name != store + "-journal" && name.rfind(store + ".damaged-", 0) != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::MakeScratchFolder("palettor-fuzz-store");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::EmptyScratchFolder();
  std::ofstream(StoreFile(), std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<long>(size));

  const std::optional<Palette> reported = Load(true);
  if (!fs::exists(StoreFile())) std::abort();  // a reading process never moves the file
  const std::optional<Palette> loaded = Load(false);
  // Read only or not, the store holds the same: a damaged one nothing, in either case.
  if (reported && loaded && !(*reported == *loaded)) std::abort();
  if (loaded && LooksWhole() && Store(*loaded)) {
    const std::optional<Palette> again = Load(true);
    if (!again || !(*again == *loaded)) std::abort();
  }
  if (!OnlyStoreFiles()) std::abort();
  return 0;
}
