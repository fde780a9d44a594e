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

using test::golden::kShutdownOrder;

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
    TRegistryInteger number(Registry(), "LUTTailPercent", 12);
    EXPECT_EQ(number.Value, 12);
    EXPECT_EQ(number.KeyPath, kKey);
    EXPECT_EQ(number.ValueName, "LUTTailPercent");
    EXPECT_FALSE(number.DeleteOnFree);
    EXPECT_FALSE(StoreExists());
  }
  EXPECT_EQ(Query("SELECT key_path, name, type, data FROM registry_values"),
            std::vector<std::string>{"Software\\Quillon\\palettor|LUTTailPercent|4|12"});
}

TEST_F(SettingsTest, ASettingLoadsTheStoredNumberAndStoresItsValueWhenFreed) {
  Put(kKey, "LUThueP10", 85);
  {
    TRegistryInteger hue(Registry(), "LUThueP10", 0);
    EXPECT_EQ(hue.Value, 85);
    hue.Value = 300;
    EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = 'LUThueP10'"), std::vector<std::string>{"85"});
  }
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = 'LUThueP10'"), std::vector<std::string>{"300"});
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
  Put(kKey, "LUTWhiteTop", GetParam().stored);
  {
    TRegistryBoolean flag(Registry(), "LUTWhiteTop", GetParam().defaultValue);
    EXPECT_EQ(flag.Value, GetParam().loaded);
  }
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = 'LUTWhiteTop'"),
            std::vector<std::string>{GetParam().writtenBack});
}

INSTANTIATE_TEST_SUITE_P(StoredNumbers, BooleanSetting,
                         ::testing::Values(StoredBoolCase{2, false, true, "1"}, StoredBoolCase{1, false, true, "1"},
                                           StoredBoolCase{0, true, false, "0"}, StoredBoolCase{-1, false, true, "1"},
                                           StoredBoolCase{INT32_MIN, false, true, "1"}),
                         test::CaseName<BooleanSetting::ParamType>);

TEST_F(SettingsTest, ATailPercentStoredAsTextLoadsTheDefaultAndIsOverwrittenAsANumber) {
  PutText(kKey, "LUTTailPercent", "30");
  {
    TRegistryInteger tail(Registry(), "LUTTailPercent", 12);
    EXPECT_EQ(tail.Value, 12);
  }
  EXPECT_EQ(Query("SELECT type, data, typeof(data) FROM registry_values WHERE name = 'LUTTailPercent'"),
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
    TRegistryInteger tail(Registry(), "LUTTailPercent", 12);
    tail.Value = 40;
  }
  SetExeName("C:\\Tools\\Palettor2.exe");
  {
    TRegistryInteger tail(Registry(), "LUTTailPercent", 12);
    EXPECT_EQ(tail.Value, 12);
  }
  SetExeName("D:\\Elsewhere\\palettor.EXE");
  EXPECT_EQ(TRegistryInteger(Registry(), "LUTTailPercent", 12).Value, 40) << "key names ignore case";
  EXPECT_EQ(Query("SELECT key_path, data FROM registry_values ORDER BY key_path"),
            (std::vector<std::string>{"Software\\Quillon\\Palettor|40", "Software\\Quillon\\Palettor2|12"}));
}

TEST_F(SettingsTest, DeleteOnFreeWritesThenRemovesTheValueAndKeepsTheKey) {
  {
    TRegistryInteger doomed(Registry(), "LUThueO0", 5);
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
                  "('LUThueM70','LUTsatM70','LUThueO0','LUTsatP40','LUTTailPercent','LUTWhiteTop','LUTSmoothColours')"
                  " ORDER BY write_seq"),
            (std::vector<std::string>{"LUTSmoothColours=1", "LUTTailPercent=12", "LUTWhiteTop=1", "LUThueM70=220",
                                      "LUTsatM70=70", "LUThueO0=100", "LUTsatP40=25"}));
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
            (std::vector<std::string>{"LUTSmoothColours=0", "LUTTailPercent=-3", "LUTWhiteTop=0"}));
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
  Put(kKey, "LUThueM70", -1);
  EXPECT_EQ(Query("SELECT data FROM registry_values WHERE name = 'LUThueP30'"), std::vector<std::string>{"1"});
  const LoadedPalette loaded = LoadPalette(Registry());
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(3)].hue, 35);
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(-7)].hue, 220);
  EXPECT_EQ(loaded.sources[Position(*FindSetting("LUTsatP30"))], SettingSource::Factory);
  PalettorSettings settings(Registry());
  settings.CreateAll();
  EXPECT_EQ(settings.Anchors(), FactoryPalette());
}

TEST_F(SettingsTest, MissingAnchorsLoadAsZeroOnceTheBlueTailIsStored) {
  Put(kKey, "LUThueM70", 200);
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
  Put(kKey, "LUThueM70", 10);
  Put(kKey, "LUTWhiteTop", 2);
  Put(kKey, "LUTTailPercent", 70000);
  const auto lastSeq = Query("SELECT last FROM write_counter");
  loaded = LoadPalette(Registry());
  EXPECT_EQ(Query("SELECT last FROM write_counter"), lastSeq);
  EXPECT_EQ(loaded.palette.anchors[AnchorSlot(-7)], (AnchorValue{10, -1}));
  EXPECT_EQ(loaded.sources[0], SettingSource::Stored);
  EXPECT_EQ(loaded.sources[1], SettingSource::Default);
  EXPECT_TRUE(loaded.palette.whiteTop);
  // 70000 is 0x11170: the spinner gets 0x1170 = 4464 and holds it at 100.
  EXPECT_EQ(loaded.palette.tailPercent, 100);
  EXPECT_EQ(loaded.sources[Position(*FindSetting("LUTTailPercent"))], SettingSource::Stored);
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
