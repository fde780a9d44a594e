// TRegistry on the real SQLite store in a private XDG_CONFIG_HOME.
#include <gtest/gtest.h>

#include "GoldenSettings.h"
#include "Registry.h"
#include "TempStore.h"

namespace palettor {
namespace {

namespace golden = test::golden;

using RegistryTest = test::TempStoreTest;

TEST_F(RegistryTest, ReadingNeverCreatesTheStoreOrAKey) {
  {
    TRegistry registry(Store());
    EXPECT_FALSE(registry.KeyExists("\\Software\\Quillon\\palettor"));
    EXPECT_FALSE(registry.OpenKey("\\Software\\Quillon\\palettor", false));
    EXPECT_FALSE(registry.HasCurrentKey());
    EXPECT_FALSE(registry.ValueExists(golden::Hue("M70")));
    EXPECT_THROW(registry.ReadInteger(golden::Hue("M70")), ERegistryException);
  }
  EXPECT_FALSE(StoreExists());
  EXPECT_FALSE(std::filesystem::exists(config_ / "Quillon"));
}

TEST_F(RegistryTest, OpenKeyWithCreateMakesTheKeyAndItsParents) {
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\App Paths", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Quillon\\App Paths");
  }
  ASSERT_TRUE(StoreExists());
  TRegistry registry(Store());
  EXPECT_TRUE(registry.KeyExists("\\Software"));
  EXPECT_TRUE(registry.KeyExists("\\Software\\Quillon"));
  EXPECT_TRUE(registry.KeyExists("\\Software\\Quillon\\App Paths\\"));
  EXPECT_FALSE(registry.KeyExists("\\Software\\Quillon\\App"));
  EXPECT_EQ(Query("SELECT path FROM registry_keys ORDER BY path"),
            (std::vector<std::string>{"Software", "Software\\Quillon", "Software\\Quillon\\App Paths"}));
}

TEST_F(RegistryTest, DeletingAKeyTakesItsValuesAndSubkeysAndNothingBesideIt) {
  {
    TRegistry registry(Store());
    for (const char* key :
         {"\\Software\\Quillon\\palettor", "\\Software\\Quillon\\palettor\\Recovery\\Deeper",
          "\\Software\\Quillon\\palettor2", "\\Software\\Quillon\\palettor[", "\\Software\\Quillon\\palettor]"}) {
      ASSERT_TRUE(registry.OpenKey(key, true));
      registry.WriteInteger("Value", 1);
    }
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\palettor\\Recovery", false));
    EXPECT_TRUE(registry.DeleteKey("\\SOFTWARE\\quillon\\Palettor\\recovery"));
    EXPECT_FALSE(registry.HasCurrentKey()) << "the current key went with it";
    EXPECT_FALSE(registry.DeleteKey("\\Software\\Quillon\\palettor\\Recovery"));
    EXPECT_FALSE(registry.DeleteKey("\\"));
    EXPECT_TRUE(registry.DeleteKey("\\Software\\Quillon\\palettor"));
  }
  EXPECT_EQ(Query("SELECT path FROM registry_keys ORDER BY path"),
            (std::vector<std::string>{"Software", "Software\\Quillon", "Software\\Quillon\\palettor2",
                                      "Software\\Quillon\\palettor[", "Software\\Quillon\\palettor]"}));
  EXPECT_EQ(Query("SELECT key_path FROM registry_values ORDER BY key_path"),
            (std::vector<std::string>{"Software\\Quillon\\palettor2", "Software\\Quillon\\palettor[",
                                      "Software\\Quillon\\palettor]"}));
}

TEST_F(RegistryTest, NamesCompareIgnoringCaseAndKeepTheirFirstSpelling) {
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\Palettor", true));
    registry.WriteInteger(golden::WhiteTop(), 1);
  }
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\quillon\\PALETTOR", true));
    EXPECT_EQ(registry.ReadInteger("lutwhitetop"), 1);
    registry.WriteInteger("LUTWHITETOP", 0);
    ASSERT_TRUE(registry.OpenKey("\\software\\QUILLON\\Other", true));
  }
  EXPECT_EQ(Query("SELECT key_path, name, data FROM registry_values"),
            (std::vector<std::string>{"Software\\Quillon\\Palettor|" + golden::WhiteTop() + "|0"}));
  EXPECT_EQ(Query("SELECT path FROM registry_keys ORDER BY path"),
            (std::vector<std::string>{"Software", "Software\\Quillon", "Software\\Quillon\\Other",
                                      "Software\\Quillon\\Palettor"}));
}

TEST_F(RegistryTest, PathsWithoutLeadingBackslashAreRelativeToTheOpenKey) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software", true));
  ASSERT_TRUE(registry.OpenKey("Quillon\\Sub", true));
  EXPECT_EQ(registry.CurrentPath(), "Software\\Quillon\\Sub");
  ASSERT_TRUE(registry.OpenKey("\\Software", false));
  EXPECT_EQ(registry.CurrentPath(), "Software");
}

TEST_F(RegistryTest, MalformedKeyPathsAreRefused) {
  TRegistry registry(Store());
  for (const char* bad : {"\\Software\\\\Quillon", "\\\\Software", "Software\\\\"}) {
    EXPECT_FALSE(registry.OpenKey(bad, true)) << bad;
    EXPECT_FALSE(registry.KeyExists(bad)) << bad;
  }
  EXPECT_FALSE(StoreExists());
}

TEST_F(RegistryTest, ValuesAreTypedAndAReadOfAnotherTypeFails) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  registry.WriteInteger("number", -5);
  registry.WriteString("text", "C:\\Sky\\Skyreader.exe");
  registry.WriteBool("flag", true);
  EXPECT_EQ(registry.ReadInteger("number"), -5);
  EXPECT_EQ(registry.ReadString("text"), "C:\\Sky\\Skyreader.exe");
  EXPECT_TRUE(registry.ReadBool("flag"));
  EXPECT_EQ(registry.ReadInteger("flag"), 1);
  EXPECT_EQ(registry.GetDataType("number"), RegDataType::Dword);
  EXPECT_EQ(registry.GetDataType("text"), RegDataType::String);
  EXPECT_THROW(registry.ReadString("number"), ERegistryException);
  EXPECT_THROW(registry.ReadInteger("text"), ERegistryException);
  EXPECT_THROW(registry.ReadBool("text"), ERegistryException);
  EXPECT_THROW(registry.ReadInteger("missing"), ERegistryException);
  EXPECT_EQ(Query("SELECT name, type, typeof(data) FROM registry_values ORDER BY write_seq"),
            (std::vector<std::string>{"number|4|integer", "text|1|text", "flag|4|integer"}));
}

TEST_F(RegistryTest, AWriteReplacesTheValueWhateverItsType) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  registry.WriteString("v", "12");
  registry.WriteInteger("v", 12);
  EXPECT_EQ(registry.ReadInteger("v"), 12);
  registry.WriteString("v", "x");
  EXPECT_EQ(registry.ReadString("v"), "x");
  EXPECT_EQ(Query("SELECT count(*) FROM registry_values"), std::vector<std::string>{"1"});
}

TEST_F(RegistryTest, TextThatLooksLikeANumberStaysText) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  for (const char* text : {"12", "007", "1e3", "-0", "3.50", ""}) {
    registry.WriteString("v", text);
    EXPECT_EQ(registry.ReadString("v"), text);
    EXPECT_THROW(registry.ReadInteger("v"), ERegistryException) << text;
  }
}

TEST_F(RegistryTest, EveryWriteTakesTheNextSequenceNumber) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  registry.WriteInteger("b", 1);
  registry.WriteInteger("a", 1);
  registry.WriteInteger("b", 2);
  EXPECT_EQ(Query("SELECT name FROM registry_values ORDER BY write_seq"), (std::vector<std::string>{"a", "b"}));
  const auto seqs = Query("SELECT write_seq FROM registry_values ORDER BY name");
  ASSERT_EQ(seqs.size(), 2u);
  EXPECT_LT(std::stol(seqs[0]), std::stol(seqs[1]));
}

TEST_F(RegistryTest, FullThirtyTwoBitRangeRoundTrips) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  for (const std::int32_t value : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
    registry.WriteInteger("v", value);
    EXPECT_EQ(registry.ReadInteger("v"), value);
  }
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  registry.WriteInteger("keep", 1);
  registry.WriteInteger("drop", 2);
  EXPECT_TRUE(registry.DeleteValue("DROP"));
  EXPECT_FALSE(registry.DeleteValue("drop"));
  EXPECT_FALSE(registry.ValueExists("drop"));
  EXPECT_TRUE(registry.ValueExists("keep"));
  EXPECT_TRUE(registry.KeyExists("\\Software\\Quillon\\T"));
}

TEST_F(RegistryTest, TheAccessMaskLimitsWhatTheObjectMayDo) {
  {
    TRegistry writer(Store());
    ASSERT_TRUE(writer.OpenKey("\\Software\\Quillon\\T", true));
    writer.WriteInteger("v", 7);
  }
  TRegistry reader(Store(), KEY_READ);
  ASSERT_TRUE(reader.OpenKey("\\Software\\Quillon\\T", false));
  EXPECT_EQ(reader.ReadInteger("v"), 7);
  EXPECT_THROW(reader.WriteInteger("v", 8), ERegistryException);
  EXPECT_THROW(reader.DeleteValue("v"), ERegistryException);
  reader.Access = KEY_READ | KEY_WRITE;
  EXPECT_EQ(reader.Access, 0x2001Fu);
  EXPECT_TRUE(reader.DeleteValue("v"));
  TRegistry writeOnly(Store(), KEY_WRITE);
  ASSERT_TRUE(writeOnly.OpenKey("\\Software\\Quillon\\T", false));
  EXPECT_THROW(writeOnly.ReadInteger("v"), ERegistryException);
}

TEST_F(RegistryTest, OperationsWithoutAnOpenKeyFail) {
  TRegistry registry(Store());
  EXPECT_THROW(registry.WriteInteger("v", 1), ERegistryException);
  EXPECT_THROW(registry.ReadString("v"), ERegistryException);
  EXPECT_THROW(registry.DeleteValue("v"), ERegistryException);
  EXPECT_FALSE(registry.ValueExists("v"));
  EXPECT_FALSE(StoreExists());
}

TEST_F(RegistryTest, TextWithNulCannotBeStored) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\T", true));
  EXPECT_THROW(registry.WriteString("v", std::string_view("a\0b", 3)), ERegistryException);
  EXPECT_FALSE(registry.ValueExists("v"));
}

TEST_F(RegistryTest, GetValueNamesListsTheKeysValues) {
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\App Paths", true));
  registry.WriteString("Skyreader", "D:\\Sky\\Skyreader.exe");
  registry.WriteString("palettor", "/opt/palettor/palettor");
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\Other", true));
  registry.WriteString("elsewhere", "x");
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quillon\\App Paths", false));
  EXPECT_EQ(registry.GetValueNames(), (std::vector<std::string>{"palettor", "Skyreader"}));
}

TEST_F(RegistryTest, StoreFolderIsCreatedPrivate) {
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey("\\Software", true));
  }
  const auto perms = std::filesystem::status(config_ / "Quillon").permissions();
  EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
}

TEST(RegistryStorePath, FollowsXdgConfigHomeOrFallsBackToDotConfig) {
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string xdg = savedXdg ? savedXdg : "";
  const char* savedHome = std::getenv("HOME");
  const std::string home = savedHome ? savedHome : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/cfg/", 1);
  EXPECT_EQ(RegistryStorePath(), "/tmp/cfg/Quillon/registry.sqlite3");
  ::setenv("HOME", "/home/someone", 1);
  ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);
  EXPECT_EQ(RegistryStorePath(), "/home/someone/.config/Quillon/registry.sqlite3");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryStorePath(), "/home/someone/.config/Quillon/registry.sqlite3");
  if (savedXdg) ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  if (savedHome) ::setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace palettor
