// The settings objects, the window's catalogue and the program-location register, on the real
// store.
#include <gtest/gtest.h>

#include <ostream>

#include "CaseName.h"
#include "FileNames.h"
#include "GoldenSettings.h"
#include "PalettorSettings.h"
#include "Registry.h"
#include "RegistryVariables.h"
#include "StoredPalette.h"
#include "TempStore.h"

namespace palettor {
namespace {

namespace golden = test::golden;

using golden::kShutdownOrder;

const char* const kKey = "\\Software\\Quillon\\palettor";

class SettingsTest : public test::TempStoreTest {
 protected:
  // Writes a value behind the settings' back, as another program or an earlier run would have.
  void Put(const std::string& key, const std::string& name, std::int32_t value) {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(key, true));
    registry.WriteInteger(name, value);
  }

  void PutText(const std::string& key, const std::string& name, const std::string& text) {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(key, true));
    registry.WriteString(name, text);
  }

  // The window's start-up and shutdown with the controls left as loaded.
  void RunWindowSession(std::function<void(PalettorSettings&)> edit = {}) {
    PalettorSettings settings(Registry());
    settings.CreateAll();
    bool smooth = settings.Boolean(SettingId::SmoothColours)->Value;
    std::int16_t tail = TailPositionOf(settings.Integer(SettingId::TailPercent)->Value);
    bool whiteTop = settings.Boolean(SettingId::WhiteTop)->Value;
    if (edit) edit(settings);
    settings.StoreAndFree(smooth, tail, whiteTop);
  }
};

TEST_F(SettingsTest, ASettingTakesItsDefaultWhenNothingIsStoredAndCreatesNothing) {
  {
    TRegistryInteger number(Registry(), golden::TailPercent(), 12);
    EXPECT_EQ(number.Value, 12);
    EXPECT_EQ(number.KeyPath, kKey);
    EXPECT_EQ(number.ValueName, golden::TailPercent());
    EXPECT_FALSE(number.DeleteOnFree);
    EXPECT_FALSE(StoreExists());
  }
  EXPECT_EQ(Query("SELECT key_path, name, type, data FROM registry_values"),
            std::vector<std::string>{"Software\\Quillon\\palettor|" + golden::TailPercent() + "|4|12"});
}

TEST_F(SettingsTest, ASettingLoadsTheStoredNumberAndStoresItsValueWhenFreed) {
  Put(kKey, golden::Hue("P10"), 85);
  {
    TRegistryInteger hue(Registry(), golden::Hue("P10"), 0);
    EXPECT_EQ(hue.Value, 85);
    hue.Value = 300;
    EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = '" + golden::Hue("P10") + "'"),
              std::vector<std::string>{"85"});
  }
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = '" + golden::Hue("P10") + "'"),
            std::vector<std::string>{"300"});
}

struct StoredBoolCase {
  std::int32_t stored;
  bool defaultValue;
  bool loaded;
  const char* writtenBack;
};

void PrintTo(const StoredBoolCase& c, std::ostream* os) { *os << c.stored; }

class BooleanSetting : public SettingsTest, public ::testing::WithParamInterface<StoredBoolCase> {};

TEST_P(BooleanSetting, AnyNonZeroNumberLoadsAsTrueAndIsWrittenBackAsOne) {
  Put(kKey, golden::WhiteTop(), GetParam().stored);
  {
    TRegistryBoolean flag(Registry(), golden::WhiteTop(), GetParam().defaultValue);
    EXPECT_EQ(flag.Value, GetParam().loaded);
  }
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = '" + golden::WhiteTop() + "'"),
            std::vector<std::string>{GetParam().writtenBack});
}

INSTANTIATE_TEST_SUITE_P(StoredNumbers, BooleanSetting,
                         ::testing::Values(StoredBoolCase{2, false, true, "1"}, StoredBoolCase{1, false, true, "1"},
                                           StoredBoolCase{0, true, false, "0"}, StoredBoolCase{-1, false, true, "1"},
                                           StoredBoolCase{INT32_MIN, false, true, "1"}),
                         test::CaseName<BooleanSetting::ParamType>);

TEST_F(SettingsTest, ATailPercentStoredAsTextLoadsTheDefaultAndIsOverwrittenAsANumber) {
  PutText(kKey, golden::TailPercent(), "30");
  {
    TRegistryInteger tail(Registry(), golden::TailPercent(), 12);
    EXPECT_EQ(tail.Value, 12);
  }
  EXPECT_EQ(Query("SELECT type, data, typeof(data) FROM registry_values WHERE name = '" + golden::TailPercent() + "'"),
            std::vector<std::string>{"4|12|integer"});
}

TEST_F(SettingsTest, HandEditedValuesThatAreNotThirtyTwoBitNumbersLoadTheDefault) {
  Put(kKey, "big", 0);
  Put(kKey, "real", 0);
  Put(kKey, "blob", 0);
  Put(kKey, "unsigned", 0);
  Execute(
      "UPDATE registry_values SET data = 8589934592 WHERE name = 'big';"
      "UPDATE registry_values SET data = 2.5 WHERE name = 'real';"
      "UPDATE registry_values SET data = x'0102' WHERE name = 'blob';"
      "UPDATE registry_values SET data = 4294967295 WHERE name = 'unsigned';");
  EXPECT_EQ(TRegistryInteger(Registry(), "big", 7).Value, 7);
  EXPECT_EQ(TRegistryInteger(Registry(), "real", 7).Value, 7);
  EXPECT_EQ(TRegistryInteger(Registry(), "blob", 7).Value, 7);
  // A DWORD written as unsigned is the same 32 bits.
  EXPECT_EQ(TRegistryInteger(Registry(), "unsigned", 7).Value, -1);
}

TEST_F(SettingsTest, SeparateExecutableNamesKeepSeparateKeys) {
  SetExeName("C:\\Tools\\Palettor.exe");
  {
    TRegistryInteger tail(Registry(), golden::TailPercent(), 12);
    tail.Value = 40;
  }
  SetExeName("C:\\Tools\\Palettor2.exe");
  {
    TRegistryInteger tail(Registry(), golden::TailPercent(), 12);
    EXPECT_EQ(tail.Value, 12);
  }
  SetExeName("D:\\Elsewhere\\palettor.EXE");
  EXPECT_EQ(TRegistryInteger(Registry(), golden::TailPercent(), 12).Value, 40) << "key names ignore case";
  EXPECT_EQ(Query("SELECT key_path, data FROM registry_values ORDER BY key_path"),
            (std::vector<std::string>{"Software\\Quillon\\Palettor|40", "Software\\Quillon\\Palettor2|12"}));
}

TEST_F(SettingsTest, DeleteOnFreeWritesThenRemovesTheValueAndKeepsTheKey) {
  {
    TRegistryInteger doomed(Registry(), golden::Hue("O0"), 5);
    doomed.DeleteOnFree = true;
  }
  TRegistry registry(Store());
  EXPECT_TRUE(registry.KeyExists(kKey));
  EXPECT_EQ(Query("SELECT count(*) FROM registry_values"), std::vector<std::string>{"0"});
  // The write did happen before the delete.
  EXPECT_EQ(Query("SELECT last FROM write_counter"), std::vector<std::string>{"1"});
}

TEST_F(SettingsTest, FirstRunLoadsFactoryAnchorsAndDefaultOptionsWithoutCreatingTheStore) {
  const LoadedPalette loaded = LoadPalette(Registry());
  const Palette& palette = loaded.palette;
  EXPECT_EQ(palette.anchors[AnchorSlot(-7)], (AnchorValue{220, 70}));
  EXPECT_EQ(palette.anchors[AnchorSlot(-6)].hue, 310);
  EXPECT_EQ(palette.anchors[AnchorSlot(4)].saturation, 25);
  EXPECT_EQ(palette.tailPercent, 12);
  EXPECT_TRUE(palette.whiteTop);
  EXPECT_TRUE(palette.smoothColours);
  EXPECT_EQ(palette, DefaultPalette());
  EXPECT_FALSE(StoreExists());
}

TEST_F(SettingsTest, ShutdownWritesAllTwentySevenValuesInTheWindowsOrder) {
  RunWindowSession();
  EXPECT_EQ(Query("SELECT name FROM registry_values ORDER BY write_seq"), kShutdownOrder);
  EXPECT_EQ(Query("SELECT name || '=' || data FROM registry_values WHERE name IN "
                  "('" +
                  golden::Hue("M70") + "','" + golden::Saturation("M70") + "','" + golden::Hue("O0") + "','" +
                  golden::Saturation("P40") + "','" + golden::TailPercent() + "','" + golden::WhiteTop() + "','" +
                  golden::SmoothColours() +
                  "')"
                  " ORDER BY write_seq"),
            (std::vector<std::string>{golden::SmoothColours() + "=1", golden::TailPercent() + "=12",
                                      golden::WhiteTop() + "=1", golden::Hue("M70") + "=220",
                                      golden::Saturation("M70") + "=70", golden::Hue("O0") + "=100",
                                      golden::Saturation("P40") + "=25"}));
}

TEST_F(SettingsTest, StoreAndFreeTakesTheControlsStatesAndWidensTheTailPositionWithItsSign) {
  {
    PalettorSettings settings(Registry());
    settings.CreateAll();
    settings.StoreAndFree(false, -3, false);
    EXPECT_EQ(settings.Boolean(SettingId::SmoothColours), nullptr);
    EXPECT_EQ(settings.Integer(SaturationSetting(4)), nullptr);
  }
  EXPECT_EQ(Query("SELECT name || '=' || data FROM registry_values ORDER BY write_seq LIMIT 3"),
            (std::vector<std::string>{golden::SmoothColours() + "=0", golden::TailPercent() + "=-3",
                                      golden::WhiteTop() + "=0"}));
}

TEST_F(SettingsTest, SettingsLeftUnfreedAreStoredInTheShutdownOrderAnyway) {
  {
    PalettorSettings settings(Registry());
    settings.CreateAll();
  }
  EXPECT_EQ(Query("SELECT name FROM registry_values ORDER BY write_seq"), kShutdownOrder);
}

TEST_F(SettingsTest, AStoredBlueTailHueOfMinusOneResetsEveryStoredAnchor) {
  RunWindowSession([](PalettorSettings& s) {
    AnchorValues ones{};
    for (auto& anchor : ones) anchor = {1, 2};
    s.AssignAnchors(ones);
  });
  Put(kKey, golden::Hue("M70"), -1);
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = '" + golden::Hue("P30") + "'"),
            std::vector<std::string>{"1"});
  const LoadedPalette loaded = LoadPalette(Registry());
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(3)].hue, 35);
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(-7)].hue, 220);
  EXPECT_EQ(loaded.sources[Position(*FindSetting(golden::Saturation("P30")))], SettingSource::Factory);
  PalettorSettings settings(Registry());
  settings.CreateAll();
  EXPECT_EQ(settings.Anchors(), FactoryPalette());
}

TEST_F(SettingsTest, MissingAnchorsLoadAsZeroOnceTheBlueTailIsStored) {
  Put(kKey, golden::Hue("M70"), 200);
  PalettorSettings settings(Registry());
  settings.CreateAll();
  EXPECT_EQ(settings.Anchors()[AnchorSlot(-7)].hue, 200);
  EXPECT_EQ(settings.Anchors()[AnchorSlot(-7)].saturation, -1);
  EXPECT_EQ(settings.Anchors()[AnchorSlot(2)].hue, 0);
  EXPECT_EQ(settings.Anchors()[AnchorSlot(2)].saturation, 0);
}

TEST_F(SettingsTest, LoadPaletteReportsWhereEachValueCameFromAndWritesNothing) {
  auto loaded = LoadPalette(Registry());
  EXPECT_FALSE(StoreExists());
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const bool anchor = i < 24;
    EXPECT_EQ(loaded.sources[i], anchor ? SettingSource::Factory : SettingSource::Default) << i;
  }
  Put(kKey, golden::Hue("M70"), 10);
  Put(kKey, golden::WhiteTop(), 2);
  Put(kKey, golden::TailPercent(), 70000);
  const auto lastSeq = Query("SELECT last FROM write_counter");
  loaded = LoadPalette(Registry());
  EXPECT_EQ(Query("SELECT last FROM write_counter"), lastSeq);
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(-7)], (AnchorValue{10, -1}));
  EXPECT_EQ(loaded.sources[0], SettingSource::Stored);
  EXPECT_EQ(loaded.sources[1], SettingSource::Default);
  EXPECT_TRUE(loaded.palette.whiteTop);
  // 70000 is 0x11170: the spinner gets 0x1170 = 4464 and holds it at 100.
  EXPECT_EQ(loaded.palette.tailPercent, 100);
  EXPECT_EQ(loaded.sources[Position(*FindSetting(golden::TailPercent()))], SettingSource::Stored);
}

// --- The program-location register ---

using AppPathTest = SettingsTest;

TEST_F(AppPathTest, RegisterWritesTheProgramsFullPathUnderItsBaseName) {
  SetExeName("C:\\Tools\\Palettor.exe");
  RegisterAppPath(Registry());
  EXPECT_EQ(Query("SELECT key_path, name, type, data FROM registry_values"),
            std::vector<std::string>{"Software\\Quillon\\App Paths|Palettor|1|C:\\Tools\\Palettor.exe"});
  EXPECT_EQ(ReadAppPath(Registry(), "Palettor"), "C:\\Tools\\Palettor.exe");
  EXPECT_EQ(ReadAppPath(Registry(), "PALETTOR"), "C:\\Tools\\Palettor.exe");
}

TEST_F(AppPathTest, ANewLocationOverwritesAndANewNameAddsAnEntry) {
  SetExeName("C:\\Tools\\Palettor.exe");
  RegisterAppPath(Registry());
  SetExeName("E:\\Other\\Palettor.exe");
  RegisterAppPath(Registry());
  SetExeName("E:\\Other\\Palettor2.exe");
  RegisterAppPath(Registry());
  EXPECT_EQ(Query("SELECT name, data FROM registry_values ORDER BY name"),
            (std::vector<std::string>{"Palettor|E:\\Other\\Palettor.exe", "Palettor2|E:\\Other\\Palettor2.exe"}));
}

TEST_F(AppPathTest, ReadingAnUnknownProgramGivesEmptyAndCreatesNothing) {
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), "");
  EXPECT_FALSE(StoreExists());
  RegisterAppPath(Registry());  // first start: the key now exists but holds no host entry
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), "");
  EXPECT_EQ(ExtractFilePath(ReadAppPath(Registry(), "Skyreader")), "");
}

struct HostFolderCase {
  const char* stored;
  const char* folder;
};

void PrintTo(const HostFolderCase& c, std::ostream* os) { *os << test::Printable(c.stored); }

class HostFolder : public SettingsTest, public ::testing::WithParamInterface<HostFolderCase> {};

TEST_P(HostFolder, IsTheRegisteredPathUpToItsLastSeparator) {
  PutText(kAppPathsKey, "Skyreader", GetParam().stored);
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), GetParam().stored);
  EXPECT_EQ(ExtractFilePath(ReadAppPath(Registry(), "Skyreader")), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Entries, HostFolder,
                         ::testing::Values(HostFolderCase{"D:\\Sky\\Skyreader.exe", "D:\\Sky\\"},
                                           HostFolderCase{"Skyreader.exe", ""},
                                           HostFolderCase{"D:\\Sky\\", "D:\\Sky\\"},
                                           HostFolderCase{"C:Skyreader.exe", "C:"},
                                           HostFolderCase{"/opt/sky/skyreader", "/opt/sky/"}),
                         test::CaseName<HostFolder::ParamType>);

TEST_F(AppPathTest, AnEntryStoredAsANumberReadsAsEmpty) {
  Put(kAppPathsKey, "Skyreader", 42);
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), "");
}

}  // namespace
}  // namespace palettor
