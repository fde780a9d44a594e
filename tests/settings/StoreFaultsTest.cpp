// What a user's store can suffer: garbage or damage, no write permission, a process killed while
// writing, several processes at once. Each case runs on the real store.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <fstream>
#include <iterator>
#include <set>

#include "CaseName.h"
#include "ChildProcess.h"
#include "GoldenSettings.h"
#include "PalettorSettings.h"
#include "Registry.h"
#include "RegistryVariables.h"
#include "StoreHolder.h"
#include "StoredPalette.h"
#include "TempStore.h"

namespace palettor {
namespace {

namespace golden = test::golden;

using test::RunInChild;

const char* const kKey = "\\Software\\Quillon\\palettor";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class StoreFaults : public test::TempStoreTest {
 protected:
  std::vector<std::filesystem::path> SetAsideFiles() const {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(StorePath().parent_path())) return files;
    for (const auto& entry : std::filesystem::directory_iterator(StorePath().parent_path())) {
      if (entry.path().filename().string().rfind("registry.sqlite3.damaged-", 0) == 0) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  // The window's start and end: register, load everything (first-run rule), store everything.
  void StartAndStopWindow() {
    RegisterAppPath(Registry());
    PalettorSettings settings(Registry());
    try {
      settings.CreateAll();
      settings.StoreAndFree(settings.Boolean(SettingId::SmoothColours)->Value,
                            TailPositionOf(settings.Integer(SettingId::TailPercent)->Value),
                            settings.Boolean(SettingId::WhiteTop)->Value);
    } catch (const ERegistryException&) {
      // the window goes on without a word
    }
  }

  void StoreSomeSettings() {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    registry.WriteInteger(golden::Hue("M70"), 123);
    registry.WriteInteger(golden::TailPercent(), 40);
  }

  // Overwrites every page after the first: the header still says "a store", the tables are gone.
  void DamagePages() {
    std::string bytes = ReadFile(StorePath());
    ASSERT_GT(bytes.size(), 4096u * 2);
    for (std::size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5 ^ (i * 7));
    WriteFile(StorePath(), bytes);
    RestartProgram();
  }
};

const std::string kGarbage =
    std::string("This is not a settings store, just a text file that was copied over it.\n") + std::string(4000, 'x');

TEST_F(StoreFaults, GarbageFileIsKeptAsideAndTheProgramStartsOnDefaults) {
  WriteFile(StorePath(), kGarbage);
  StartAndStopWindow();
  const auto aside = SetAsideFiles();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadFile(aside[0]), kGarbage) << "nothing of the damaged file may be lost";
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_NE(notices_[0].find(aside[0].string()), std::string::npos) << notices_[0];
  EXPECT_EQ(notices_[0].find('\n'), std::string::npos);
  // The fresh store holds this start's registration and the factory settings.
  EXPECT_EQ(Query("SELECT name FROM registry_values WHERE key_path = 'Software\\Quillon\\App Paths'"),
            std::vector<std::string>{"palettor"});
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = '" + golden::Hue("M70") + "'"),
            std::vector<std::string>{"220"});
  EXPECT_EQ(Query("PRAGMA quick_check"), std::vector<std::string>{"ok"});
}

TEST_F(StoreFaults, DamagedPagesAreNoticedOnReadAndTheFileKeptAside) {
  StoreSomeSettings();
  for (int i = 0; i < 200; ++i) {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\filler", true));
    registry.WriteString("v" + std::to_string(i), std::string(100, 'f'));
  }
  DamagePages();
  const std::string damaged = ReadFile(StorePath());
  EXPECT_EQ(TRegistryInteger(Registry(), golden::TailPercent(), 12).Value, 12);
  const auto aside = SetAsideFiles();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadFile(aside[0]), damaged);
  EXPECT_EQ(notices_.size(), 1u);
  // The free of that setting wrote 12 into a fresh store.
  EXPECT_EQ(Query("SELECT name, data FROM registry_values"), std::vector<std::string>{golden::TailPercent() + "|12"});
}

TEST_F(StoreFaults, ADatabaseOfAnotherKindIsKeptAsideToo) {
  std::filesystem::create_directories(StorePath().parent_path());
  Execute("CREATE TABLE photos(id INTEGER PRIMARY KEY, name TEXT); INSERT INTO photos VALUES (1, 'kept');");
  RegisterAppPath(Registry());
  const auto aside = SetAsideFiles();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadAppPath(Registry(), "palettor"), "/opt/palettor/palettor");
  EXPECT_EQ(notices_.size(), 1u);
}

TEST_F(StoreFaults, AJournalLeftBesideADamagedFileIsNotAppliedToTheFreshStore) {
  WriteFile(StorePath(), kGarbage);
  WriteFile(StorePath().string() + "-journal", "stale journal");
  RegisterAppPath(Registry());
  EXPECT_FALSE(std::filesystem::exists(StorePath().string() + "-journal"));
  const auto aside = SetAsideFiles();
  ASSERT_GE(aside.size(), 1u);
  EXPECT_EQ(ReadFile(aside[0]), kGarbage);
  EXPECT_EQ(ReadAppPath(Registry(), "palettor"), "/opt/palettor/palettor");
  EXPECT_EQ(Query("PRAGMA quick_check"), std::vector<std::string>{"ok"});
}

TEST_F(StoreFaults, AnEmptyFileIsTakenAsAFreshStore) {
  WriteFile(StorePath(), "");
  RegisterAppPath(Registry());
  EXPECT_TRUE(SetAsideFiles().empty());
  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(ReadAppPath(Registry(), "palettor"), "/opt/palettor/palettor");
}

TEST_F(StoreFaults, AReadingProcessLeavesADamagedStoreInPlaceAndSaysSoOnce) {
  WriteFile(StorePath(), kGarbage);
  Store().SetReadOnly(true);
  const LoadedPalette loaded = LoadPalette(Registry());
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(kBlueTailAnchor)].hue, 220);
  EXPECT_EQ(loaded.sources[0], SettingSource::Factory);
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), "");
  EXPECT_TRUE(SetAsideFiles().empty());
  EXPECT_EQ(ReadFile(StorePath()), kGarbage);
  EXPECT_LE(notices_.size(), 1u);
}

TEST_F(StoreFaults, AReadingProcessNeverWrites) {
  Store().SetReadOnly(true);
  RegisterAppPath(Registry());
  {
    TRegistryInteger tail(Registry(), golden::TailPercent(), 12);
    tail.Value = 50;
  }
  EXPECT_FALSE(StoreExists());
  Store().SetReadOnly(false);
  StoreSomeSettings();
  const std::string before = ReadFile(StorePath());
  Store().SetReadOnly(true);
  {
    TRegistryInteger tail(Registry(), golden::TailPercent(), 12);
    tail.Value = 50;
  }
  EXPECT_EQ(ReadFile(StorePath()), before);
}

TEST_F(StoreFaults, AStoreOfANewerLayoutIsLeftAloneAndNotOverwritten) {
  StoreSomeSettings();
  Execute("PRAGMA user_version = 2");
  const std::string before = ReadFile(StorePath());
  EXPECT_EQ(TRegistryInteger(Registry(), golden::TailPercent(), 12).Value, 12);
  EXPECT_EQ(ReadFile(StorePath()), before);
  EXPECT_TRUE(SetAsideFiles().empty());
}

// A file where the store's folder (or a folder above it) belongs: a write says what is in the
// way, not that permission was denied; a read finds nothing stored.
TEST_F(StoreFaults, AFileInPlaceOfTheFolderIsNamedAsSuch) {
  for (const std::filesystem::path& inTheWay : {StorePath().parent_path(), config_}) {
    std::filesystem::remove_all(config_);
    WriteFile(inTheWay, "not a folder\n");
    RestartProgram();
    try {
      StorePalette(Registry(), DefaultPalette());
      ADD_FAILURE() << "stored below a file";
    } catch (const ERegistryException& error) {
      EXPECT_NE(std::string(error.what()).find(inTheWay.string() + " is a file, not a folder"), std::string::npos)
          << error.what();
    }
    EXPECT_FALSE(LoadPalette(Registry()).sources[0] == SettingSource::Stored);
  }
}

// A store with this program's mark whose layout was damaged by hand or by another program:
// every write would fail from then on.
class DamagedLayout : public StoreFaults, public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedLayout, IsKeptAsideAndTheNextWriteSucceeds) {
  StoreSomeSettings();
  Execute(GetParam());
  RegisterAppPath(Registry());
  const auto aside = SetAsideFiles();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(notices_.size(), 1u);
  EXPECT_EQ(ReadAppPath(Registry(), "palettor"), "/opt/palettor/palettor");
  StoreSomeSettings();
  EXPECT_EQ(Query("SELECT name, data FROM registry_values WHERE name = '" + golden::TailPercent() + "'"),
            std::vector<std::string>{golden::TailPercent() + "|40"});
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedLayout,
                         ::testing::Values("DROP TABLE registry_keys", "DROP TABLE write_counter",
                                           "DELETE FROM write_counter",
                                           "ALTER TABLE registry_values DROP COLUMN write_seq",
                                           "ALTER TABLE registry_values RENAME TO other_values"),
                         test::CaseName<const char*>);

// --- A store another process holds for longer than the wait ---

class BusyStore : public StoreFaults {
 protected:
  void SetUp() override {
    StoreFaults::SetUp();
    StoreSomeSettings();
    WaitBrieflyForABusyStore();
  }
};

TEST_F(BusyStore, LoadingFailsInsteadOfGivingDefaults) {
  test::StoreHolder holder(StorePath());
  ASSERT_TRUE(holder.Held());
  try {
    LoadPalette(Registry());
    ADD_FAILURE() << "a busy store loaded";
  } catch (const EStoreBusy& error) {
    EXPECT_NE(std::string(error.what()).find("settings store busy"), std::string::npos) << error.what();
  }
}

TEST_F(BusyStore, TheWindowsSettingsStartAsOnAFirstRunAndStoreNothing) {
  const std::string before = ReadFile(StorePath());
  {
    test::StoreHolder holder(StorePath());
    PalettorSettings settings(Registry());
    EXPECT_THROW(settings.CreateAll(), EStoreBusy);
    EXPECT_EQ(settings.Anchors(), FactoryPalette());
    EXPECT_EQ(settings.Integer(SettingId::TailPercent)->Value, 12);
    settings.Integer(HueSetting(0))->Value = 77;
    holder.Release();
    settings.StoreAndFree(false, 50, false);
  }
  EXPECT_EQ(ReadFile(StorePath()), before);
  EXPECT_EQ(LoadPalette(Registry()).palette.anchors[AnchorSlot(kBlueTailAnchor)].hue, 123);
}

TEST_F(BusyStore, StoringAPaletteFailsAndWritesNothing) {
  const std::string before = ReadFile(StorePath());
  {
    test::StoreHolder holder(StorePath());
    EXPECT_THROW(StorePalette(Registry(), DefaultPalette()), EStoreBusy);
  }
  EXPECT_EQ(ReadFile(StorePath()), before);
}

// Permission bits bind only an ordinary user, so these run in a child without root rights.
class ReadOnlyStore : public StoreFaults {
 protected:
  int RunUnprivileged(const std::function<int()>& body) {
    test::HandOverToUnprivileged(root_);
    return RunInChild([&] {
      test::DropPrivileges();
      return body();
    });
  }
};

TEST_F(ReadOnlyStore, AReadOnlyFileLoadsItsValuesAndRefusesWritesQuietly) {
  StoreSomeSettings();
  std::filesystem::permissions(StorePath(), std::filesystem::perms::owner_read);
  const std::string before = ReadFile(StorePath());
  EXPECT_EQ(RunUnprivileged([this] {
              StartAndStopWindow();
              PalettorSettings settings(Registry());
              settings.CreateAll();
              if (settings.Integer(HueSetting(-7))->Value != 123) return 1;
              if (settings.Integer(SettingId::TailPercent)->Value != 40) return 2;
              settings.Integer(HueSetting(-7))->Value = 5;
              return 0;
            }),
            0);
  EXPECT_EQ(ReadFile(StorePath()), before);
  EXPECT_TRUE(notices_.empty());
}

TEST_F(ReadOnlyStore, AReadOnlyFolderLoadsItsValuesAndRefusesWritesQuietly) {
  StoreSomeSettings();
  std::filesystem::permissions(StorePath().parent_path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const std::string before = ReadFile(StorePath());
  EXPECT_EQ(RunUnprivileged([this] {
              StartAndStopWindow();
              return TRegistryInteger(Registry(), golden::Hue("M70"), -1).Value == 123 ? 0 : 1;
            }),
            0);
  EXPECT_EQ(ReadFile(StorePath()), before);
  EXPECT_FALSE(std::filesystem::exists(StorePath().string() + "-journal"));
}

TEST_F(ReadOnlyStore, AFolderThatCannotBeCreatedLeavesTheDefaults) {
  std::filesystem::create_directories(config_);
  std::filesystem::permissions(config_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(RunUnprivileged([this] {
              StartAndStopWindow();
              return ReadAppPath(Registry(), "palettor").empty() &&
                             TRegistryInteger(Registry(), golden::Hue("M70"), -1).Value == -1
                         ? 0
                         : 1;
            }),
            0);
  EXPECT_FALSE(StoreExists());
  std::filesystem::permissions(config_, std::filesystem::perms::owner_all);
}

TEST_F(ReadOnlyStore, ADamagedStoreInAReadOnlyFolderRunsOnDefaultsWithOneNotice) {
  WriteFile(StorePath(), kGarbage);
  std::filesystem::permissions(StorePath().parent_path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const int status = RunUnprivileged([&] {
    ::close(pipeFds[0]);
    std::vector<std::string> lines;
    Store().SetNoticeSink([&](const std::string& line) { lines.push_back(line); });
    StartAndStopWindow();
    const bool defaults = TRegistryInteger(Registry(), golden::Hue("M70"), -1).Value == -1;
    const std::string count = std::to_string(lines.size());
    (void)::write(pipeFds[1], count.data(), count.size());
    return defaults ? 0 : 1;
  });
  ::close(pipeFds[1]);
  char buffer[16] = {};
  const auto got = ::read(pipeFds[0], buffer, sizeof buffer - 1);
  ::close(pipeFds[0]);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0))), "1");
  EXPECT_EQ(ReadFile(StorePath()), kGarbage);
}

// --- A process killed while it writes ---

// Two complete sets of the 27 values and the night floor that differ in every value, so that
// each stored value tells which session wrote it.
std::int32_t SessionValue(const SettingEntry& entry, int session) {
  const bool odd = session % 2 != 0;
  switch (entry.Kind()) {
    case SettingKind::Hue: return (odd ? 200 : 10) + entry.Anchor() + 7;
    case SettingKind::Saturation: return odd ? 60 : 30;
    case SettingKind::Percent: return odd ? 77 : 33;
    case SettingKind::Option: return odd ? 0 : 1;
    case SettingKind::NightFloor: return odd ? 40 : 10;
    case SettingKind::Other: break;
  }
  return 0;
}

void RunSession(const CurrentUserRegistry& registry, int session) {
  Palette palette;
  for (const SettingEntry& entry : SettingsCatalogue())
    SetPaletteValue(palette, entry.id, SessionValue(entry, session));
  for (const SettingEntry& entry : TableCatalogue()) SetPaletteValue(palette, entry.id, SessionValue(entry, session));
  StorePalette(registry, palette);
}

class KilledWhileStoring : public StoreFaults, public ::testing::WithParamInterface<int> {};

TEST_P(KilledWhileStoring, TheStoreOpensAndHoldsEachValueOldOrNewInShutdownOrder) {
  RunSession(Registry(), 0);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = test::Spawn([&] {
    ::close(pipeFds[0]);
    for (int session = 1;; ++session) {
      (void)::write(pipeFds[1], "s", 1);
      RunSession(Registry(), session);
    }
    return 0;
  });
  ::close(pipeFds[1]);
  // Let the child get into its GetParam()-th session, then kill it wherever it is.
  char byte = 0;
  for (int started = 0; started < GetParam();) started += static_cast<int>(::read(pipeFds[0], &byte, 1) == 1);
  ::kill(child, SIGKILL);
  EXPECT_EQ(test::Wait(child), 128 + SIGKILL);
  ::close(pipeFds[0]);

  // A reading process opens it first and must cope with any half-done write left behind.
  RestartProgram();
  Store().SetReadOnly(true);
  const LoadedPalette loaded = LoadPalette(Registry());
  Store().SetReadOnly(false);
  EXPECT_EQ(loaded.sources[0], SettingSource::Stored);
  EXPECT_EQ(Query("PRAGMA quick_check"), std::vector<std::string>{"ok"});

  // Every value comes from the same session: the one the kill cut short left nothing behind.
  std::vector<const SettingEntry*> rows;
  for (const std::size_t index : SettingsStoreOrder()) rows.push_back(&SettingsCatalogue()[index]);
  for (const SettingEntry& entry : TableCatalogue()) rows.push_back(&entry);
  std::vector<int> writers;
  for (const SettingEntry* row : rows) {
    const auto stored = Query("SELECT data FROM registry_values WHERE name = '" + std::string(row->name) + "'");
    ASSERT_EQ(stored.size(), 1u) << row->name;
    const std::int32_t value = std::stoi(stored[0]);
    const bool even = value == SessionValue(*row, 0);
    const bool odd = value == SessionValue(*row, 1);
    ASSERT_TRUE(even || odd) << row->name << " holds " << value;
    writers.push_back(odd ? 1 : 0);
  }
  int switches = 0;
  for (std::size_t i = 1; i < writers.size(); ++i) switches += writers[i] != writers[i - 1];
  EXPECT_EQ(switches, 0);
}

INSTANTIATE_TEST_SUITE_P(Sessions, KilledWhileStoring, ::testing::Values(1, 2, 3, 5),
                         [](const auto& c) { return "InSession" + std::to_string(c.param); });

// --- Several processes at once ---

TEST_F(StoreFaults, ProcessesWritingAtOnceLoseNothing) {
  constexpr int kWriters = 3;
  constexpr int kValuesEach = 40;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    children.push_back(test::Spawn([&, w] {
      ::close(gate[1]);
      char byte = 0;
      (void)::read(gate[0], &byte, 1);  // all start together when the gate closes
      SetExeName("/opt/w" + std::to_string(w) + "/writer" + std::to_string(w));
      RegisterAppPath(Registry());
      for (int i = 0; i < kValuesEach; ++i) {
        TRegistry registry(Store());
        if (!registry.OpenKey("\\Software\\Quillon\\shared", true)) return 1;
        registry.WriteInteger("w" + std::to_string(w) + "_" + std::to_string(i), i);
      }
      return 0;
    }));
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (const pid_t child : children) EXPECT_EQ(test::Wait(child), 0);
  EXPECT_EQ(Query("SELECT count(*) FROM registry_values WHERE key_path = 'Software\\Quillon\\shared'"),
            std::vector<std::string>{std::to_string(kWriters * kValuesEach)});
  EXPECT_EQ(Query("SELECT count(DISTINCT write_seq) FROM registry_values"),
            std::vector<std::string>{std::to_string(kWriters * kValuesEach + kWriters)});
  for (int w = 0; w < kWriters; ++w) {
    const std::string name = "writer" + std::to_string(w);
    EXPECT_EQ(ReadAppPath(Registry(), name), "/opt/w" + std::to_string(w) + "/" + name);
  }
}

}  // namespace
}  // namespace palettor
