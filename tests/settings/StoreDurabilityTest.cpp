// A store that a command has returned from survives a power cut: a transaction is committed by
// removing its journal, and that removal is synced in the folder before the commit returns.
// SQLite's file-system layer is wrapped to see what the store asks of it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "StoredPalette.h"
#include "TempStore.h"

namespace palettor {
namespace {

struct JournalRemoval {
  std::string path;
  bool folderSynced;
};

sqlite3_vfs* gSystem = nullptr;
sqlite3_vfs gWatcher{};
std::vector<JournalRemoval> gRemovals;

int WatchedDelete(sqlite3_vfs*, const char* path, int syncFolder) {
  gRemovals.push_back({path, syncFolder != 0});
  return gSystem->xDelete(gSystem, path, syncFolder);
}

class StoreDurability : public test::TempStoreTest {
 protected:
  void SetUp() override {
    gSystem = sqlite3_vfs_find(nullptr);
    gWatcher = *gSystem;  // the system's own, with one call watched
    gWatcher.zName = "palettor-watched";
    gWatcher.xDelete = WatchedDelete;
    ASSERT_EQ(sqlite3_vfs_register(&gWatcher, 1), SQLITE_OK);
    gRemovals.clear();
    TempStoreTest::SetUp();
  }
  void TearDown() override {
    TempStoreTest::TearDown();
    sqlite3_vfs_unregister(&gWatcher);
  }
};

TEST_F(StoreDurability, EveryCommitSyncsTheJournalsRemovalInTheFolder) {
  StorePalette(Registry(), DefaultPalette());  // creates the store
  Palette changed = DefaultPalette();
  changed.whiteTop = false;
  StorePalette(Registry(), changed);

  const std::string journal = StorePath().string() + "-journal";
  int commits = 0;
  for (const JournalRemoval& removal : gRemovals) {
    if (removal.path != journal) continue;
    ++commits;
    EXPECT_TRUE(removal.folderSynced) << "commit " << commits;
  }
  EXPECT_EQ(commits, 2);
}

}  // namespace
}  // namespace palettor
