// palettor-cli settings, app-path and render through real processes on a private store.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>

#include "CaseName.h"
#include "ChildProcess.h"
#include "GoldenSettings.h"
#include "Registry.h"
#include "RegistryVariables.h"
#include "RunProcess.h"
#include "StoreHolder.h"
#include "TempStore.h"

namespace palettor {
namespace {

namespace golden = test::golden;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const std::vector<std::string> kLoadOrder = golden::LoadOrderNames();
using golden::kFirstRunListing;

const char* const kKey = "\\Software\\Quillon\\palettor";

using CliResult = test::ProcessResult;

class CliTest : public test::TempStoreTest {
 protected:
  CliResult Run(const std::vector<std::string>& args, const std::string& program = PALETTOR_CLI) {
    test::ProcessOptions options;
    options.unprivileged = unprivileged_;
    return test::RunProcess(program, args, options);
  }

  // Runs the commands as an ordinary user from now on, for whom permission bits hold.
  void RunUnprivileged() {
    test::HandOverToUnprivileged(root_);
    unprivileged_ = true;
  }
  bool unprivileged_ = false;

  void Put(const std::string& name, std::int32_t value) {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    registry.WriteInteger(name, value);
  }

  std::string Value(const std::string& name) {
    const auto rows = Query(
        "SELECT data FROM registry_values WHERE key_path = 'Software\\Quillon\\palettor' AND name = '" + name + "'");
    return rows.empty() ? "missing" : rows[0];
  }

  std::string Listed(const std::string& name) {
    for (const auto& line : Lines(Run({"settings"}).out)) {
      if (line.rfind(name + " ", 0) == 0) return line;
    }
    return "absent";
  }
};

// --- settings ---

TEST_F(CliTest, SettingsOnAFirstRunListsFactoryAnchorsAndDefaultOptionsAndCreatesNothing) {
  const CliResult result = Run({"settings"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(Lines(result.out), kFirstRunListing);
  EXPECT_EQ(result.err, "");
  EXPECT_FALSE(std::filesystem::exists(config_));
}

TEST_F(CliTest, SettingsListsStoredValuesAsTheWindowLoadsThem) {
  Put(golden::Hue("M70"), 5);
  Put(golden::Hue("P10"), 123);
  Put(golden::WhiteTop(), 2);
  Put(golden::SmoothColours(), 0);
  Put(golden::TailPercent(), 65536 + 30);
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    registry.WriteString(golden::Saturation("P10"), "40");
  }
  const auto lines = Lines(Run({"settings"}).out);
  ASSERT_EQ(lines.size(), 28u);
  for (std::size_t i = 0; i < 27; ++i) EXPECT_EQ(lines[i].substr(0, lines[i].find(' ')), kLoadOrder[i]);
  EXPECT_EQ(lines[0], golden::Hue("M70") + " 5 stored");
  EXPECT_EQ(lines[1], golden::Saturation("M70") + " -1 default");
  EXPECT_EQ(lines[2], golden::Hue("M60") + " 0 default");
  EXPECT_EQ(lines[16], golden::Hue("P10") + " 123 stored");
  EXPECT_EQ(lines[17], golden::Saturation("P10") + " 0 default") << "a saturation stored as text is no number";
  EXPECT_EQ(lines[24], golden::TailPercent() + " 30 stored") << "the spinner takes the low 16 bits";
  EXPECT_EQ(lines[25], golden::WhiteTop() + " 1 stored");
  EXPECT_EQ(lines[26], golden::SmoothColours() + " 0 stored");
  EXPECT_EQ(lines[27], golden::kNightFloor + " 0 default");
}

TEST_F(CliTest, SettingsWithAStoredBlueTailHueOfMinusOneListsTheFactoryAnchors) {
  for (const auto& name : kLoadOrder) Put(name, 1);
  Put(golden::Hue("M70"), -1);
  const auto lines = Lines(Run({"settings"}).out);
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 24),
            std::vector<std::string>(kFirstRunListing.begin(), kFirstRunListing.begin() + 24));
  EXPECT_EQ(lines[24], golden::TailPercent() + " 1 stored");
}

std::string Join(const std::vector<std::string>& args) {
  std::string joined;
  for (const auto& arg : args) joined += (joined.empty() ? "'" : " '") + arg + "'";
  return joined;
}

struct BadSet {
  std::vector<std::string> args;
  const char* messagePart;
};

void PrintTo(const BadSet& c, std::ostream* os) { *os << Join(c.args); }

class SettingsSetRefuses : public CliTest, public ::testing::WithParamInterface<BadSet> {};

TEST_P(SettingsSetRefuses, ExitsTwoWithAMessageAndWritesNothing) {
  std::vector<std::string> args{"settings", "set"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const CliResult result = Run(args);
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find(GetParam().messagePart), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_FALSE(std::filesystem::exists(config_));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SettingsSetRefuses,
    ::testing::Values(
        BadSet{{golden::Hue("M70"), "361"}, "from 0 to 360"}, BadSet{{golden::Hue("M70"), "-1"}, "from 0 to 360"},
        BadSet{{golden::Saturation("O0"), "101"}, "from 0 to 100"},
        BadSet{{golden::TailPercent(), "101"}, "from 0 to 100"}, BadSet{{golden::TailPercent(), "-1"}, "from 0 to 100"},
        BadSet{{golden::WhiteTop(), "2"}, "from 0 to 1"}, BadSet{{golden::SmoothColours(), "-1"}, "from 0 to 1"},
        BadSet{{golden::WhiteTop(), "on"}, "from 0 to 1"}, BadSet{{golden::Hue("P10"), "1.5"}, "whole number"},
        BadSet{{golden::Hue("P10"), ""}, "whole number"}, BadSet{{golden::Hue("P10"), " 5"}, "whole number"},
        BadSet{{golden::Hue("P10"), "99999999999"}, "whole number"}, BadSet{{"LUThueM80", "5"}, "unknown setting"},
        BadSet{{"Skyreader", "5"}, "unknown setting"}, BadSet{{golden::Hue("M70")}, "NAME VALUE"},
        BadSet{{golden::Hue("M70"), "1", "2"}, "NAME VALUE"}, BadSet{{golden::kNightFloor, "51"}, "from 0 to 50"},
        BadSet{{golden::kNightFloor, "-1"}, "from 0 to 50"}, BadSet{{golden::kNightFloor, "2.5"}, "whole number"}),
    test::CaseName<BadSet>);

struct GoodSet {
  std::string name;
  const char* value;
  std::string listed;
};

void PrintTo(const GoodSet& c, std::ostream* os) { *os << c.name << " " << c.value; }

class SettingsSetAccepts : public CliTest, public ::testing::WithParamInterface<GoodSet> {};

TEST_P(SettingsSetAccepts, StoresAllTwentySevenInShutdownOrderWithTheOneChanged) {
  const CliResult result = Run({"settings", "set", GetParam().name, GetParam().value});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Query("SELECT name FROM registry_values ORDER BY write_seq"), golden::kPaletteWrites);
  EXPECT_EQ(Listed(GetParam().listed.substr(0, GetParam().listed.find(' '))), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsSetAccepts,
                         ::testing::Values(GoodSet{golden::Hue("M70"), "0", golden::Hue("M70") + " 0 stored"},
                                           GoodSet{golden::Hue("M70"), "360", golden::Hue("M70") + " 360 stored"},
                                           GoodSet{golden::Saturation("P40"), "100",
                                                   golden::Saturation("P40") + " 100 stored"},
                                           GoodSet{golden::Hue("O0"), "+7", golden::Hue("O0") + " 7 stored"},
                                           GoodSet{golden::TailPercent(), "0", golden::TailPercent() + " 0 stored"},
                                           GoodSet{golden::TailPercent(), "100", golden::TailPercent() + " 100 stored"},
                                           GoodSet{golden::WhiteTop(), "0", golden::WhiteTop() + " 0 stored"},
                                           GoodSet{golden::SmoothColours(), "1", golden::SmoothColours() + " 1 stored"},
                                           GoodSet{"luthuep20", "200", golden::Hue("P20") + " 200 stored"},
                                           GoodSet{golden::kNightFloor, "50", golden::kNightFloor + " 50 stored"},
                                           GoodSet{"nightfloorpercent", "0", golden::kNightFloor + " 0 stored"}),
                         test::CaseName<GoodSet>);

TEST_F(CliTest, TheNightFloorIsKeptInTheTableSubkeyAndEveryTableStartsFromIt) {
  ASSERT_EQ(Run({"settings", "set", golden::kNightFloor, "30"}).exitStatus, 0);
  EXPECT_EQ(Query("SELECT key_path || ' ' || name || ' ' || type || ' ' || data FROM registry_values "
                  "ORDER BY write_seq DESC LIMIT 1"),
            std::vector<std::string>{golden::kTableKeyPath + " " + golden::kNightFloor + " 4 30"});
  EXPECT_EQ(Listed(golden::kNightFloor), golden::kNightFloor + " 30 stored");
  const auto stored = root_ / "stored.bmp", given = root_ / "given.bmp";
  ASSERT_EQ(Run({"render", "--out", stored.string()}).exitStatus, 0);
  ASSERT_EQ(Run({"render", "--factory", "--night-floor", "30", "--out", given.string()}).exitStatus, 0);
  EXPECT_EQ(ReadFile(stored), ReadFile(given));

  // A hand-edited store: the floor is held within its range, as the table takes it.
  TRegistry registry(Store());
  ASSERT_TRUE(registry.OpenKey(std::string(kKey) + "\\Table", false));
  registry.WriteInteger(golden::kNightFloor, 80);
  EXPECT_EQ(Listed(golden::kNightFloor), golden::kNightFloor + " 50 stored");
}

TEST_F(CliTest, SettingsSetOnAFirstRunStoresTheFactoryAnchorsWithTheChange) {
  ASSERT_EQ(Run({"settings", "set", golden::Hue("O0"), "50"}).exitStatus, 0);
  auto expected = kFirstRunListing;
  for (auto& line : expected) {
    line.replace(line.rfind(' ') + 1, std::string::npos, "stored");
  }
  expected[14] = golden::Hue("O0") + " 50 stored";
  EXPECT_EQ(Lines(Run({"settings"}).out), expected);
}

TEST_F(CliTest, SettingsSetKeepsEveryOtherStoredValue) {
  for (std::size_t i = 0; i < 24; ++i) Put(kLoadOrder[i], static_cast<std::int32_t>(i + 1));
  Put(golden::TailPercent(), 44);
  Put(golden::WhiteTop(), 0);
  Put(golden::SmoothColours(), 0);
  ASSERT_EQ(Run({"settings", "set", golden::WhiteTop(), "1"}).exitStatus, 0);
  for (std::size_t i = 0; i < 24; ++i) EXPECT_EQ(Value(kLoadOrder[i]), std::to_string(i + 1)) << kLoadOrder[i];
  EXPECT_EQ(Value(golden::TailPercent()), "44");
  EXPECT_EQ(Value(golden::WhiteTop()), "1");
  EXPECT_EQ(Value(golden::SmoothColours()), "0");
}

TEST_F(CliTest, SettingsSetWritesBackWhatTheWindowWould) {
  Put(golden::Hue("M70"), 10);
  Put(golden::WhiteTop(), 2);
  Put(golden::TailPercent(), 70000);
  Put(golden::Hue("P30"), 5000);
  ASSERT_EQ(Run({"settings", "set", golden::Saturation("O0"), "3"}).exitStatus, 0);
  EXPECT_EQ(Value(golden::WhiteTop()), "1");
  EXPECT_EQ(Value(golden::TailPercent()), "100") << "the tail spinner held 70000 at its bound";
  EXPECT_EQ(Value(golden::Hue("P30")), "5000") << "anchor values pass unchanged";
  EXPECT_EQ(Value(golden::Saturation("M70")), "-1");
}

TEST_F(CliTest, SettingsActOnThePalettorKeyWhateverTheToolIsCalled) {
  const auto renamed = root_ / "bin" / "some-tool.exe";
  std::filesystem::create_directories(renamed.parent_path());
  std::filesystem::copy_file(PALETTOR_CLI, renamed);
  std::filesystem::permissions(renamed, std::filesystem::perms::owner_all);
  ASSERT_EQ(Run({"settings", "set", golden::TailPercent(), "33"}, renamed.string()).exitStatus, 0);
  EXPECT_EQ(Query("SELECT DISTINCT key_path FROM registry_values ORDER BY key_path"),
            (std::vector<std::string>{"Software\\Quillon\\palettor", golden::kTableKeyPath}));
  EXPECT_EQ(Listed(golden::TailPercent()), golden::TailPercent() + " 33 stored");
}

TEST_F(CliTest, ConcurrentSettingsSetsLoseNoChange) {
  const std::vector<std::pair<std::string, std::string>> changes = {{golden::Hue("M60"), "11"},
                                                                    {golden::Saturation("M50"), "22"},
                                                                    {golden::TailPercent(), "33"},
                                                                    {golden::WhiteTop(), "0"},
                                                                    {golden::Hue("P40"), "44"}};
  std::vector<std::unique_ptr<test::RunningProcess>> children;
  for (const auto& [name, value] : changes) {
    children.push_back(
        std::make_unique<test::RunningProcess>(PALETTOR_CLI, std::vector<std::string>{"settings", "set", name, value}));
  }
  for (const auto& child : children) EXPECT_EQ(child->Finish().exitStatus, 0);
  for (const auto& [name, value] : changes) EXPECT_EQ(Value(name), value) << name;
  EXPECT_EQ(Query("SELECT count(*) FROM registry_values"), std::vector<std::string>{"28"});
}

TEST_F(CliTest, AGarbageStoreIsKeptAsideBySettingsSetAndLeftAloneByTheListing) {
  std::filesystem::create_directories(StorePath().parent_path());
  std::ofstream(StorePath()) << std::string(3000, 'g');
  const CliResult listing = Run({"settings"});
  EXPECT_EQ(listing.exitStatus, 0);
  EXPECT_EQ(Lines(listing.out), kFirstRunListing);
  EXPECT_EQ(Lines(listing.err).size(), 1u) << listing.err;
  EXPECT_EQ(ReadFile(StorePath()), std::string(3000, 'g'));

  const CliResult set = Run({"settings", "set", golden::Hue("O0"), "1"});
  EXPECT_EQ(set.exitStatus, 0);
  ASSERT_EQ(Lines(set.err).size(), 1u) << set.err;
  EXPECT_NE(set.err.find("kept it as"), std::string::npos) << set.err;
  EXPECT_EQ(Value(golden::Hue("O0")), "1");
}

// --- A store another process holds for longer than the wait ---

class BusyStoreCli : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    Put(golden::Hue("M70"), 5);
    Put(golden::TailPercent(), 40);
    ::setenv("PALETTOR_STORE_BUSY_TIMEOUT_MS", "200", 1);
  }
  void TearDown() override {
    ::unsetenv("PALETTOR_STORE_BUSY_TIMEOUT_MS");
    CliTest::TearDown();
  }
};

TEST_F(BusyStoreCli, ListingAndRenderingFailWithTheReasonInsteadOfShowingDefaults) {
  test::StoreHolder holder(StorePath());
  ASSERT_TRUE(holder.Held());
  const CliResult listing = Run({"settings"});
  EXPECT_EQ(listing.exitStatus, 1);
  EXPECT_EQ(listing.out, "");
  EXPECT_NE(listing.err.find("settings store busy"), std::string::npos) << listing.err;
  const auto out = root_ / "t.bmp";
  const CliResult render = Run({"render", "--out", out.string()});
  EXPECT_EQ(render.exitStatus, 1);
  EXPECT_NE(render.err.find("settings store busy"), std::string::npos) << render.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(BusyStoreCli, SettingsSetFailsAndWritesNothing) {
  const std::string before = ReadFile(StorePath());
  {
    test::StoreHolder holder(StorePath());
    const CliResult set = Run({"settings", "set", golden::Hue("O0"), "50"});
    EXPECT_EQ(set.exitStatus, 1);
    EXPECT_NE(set.err.find("settings store busy"), std::string::npos) << set.err;
  }
  EXPECT_EQ(ReadFile(StorePath()), before);
  EXPECT_EQ(Listed(golden::Hue("M70")), golden::Hue("M70") + " 5 stored");
}

// --- Why a store cannot be written ---

TEST_F(CliTest, AReadOnlyEmptyFolderIsReportedAsPermissionDenied) {
  std::filesystem::create_directories(StorePath().parent_path());
  RunUnprivileged();
  std::filesystem::permissions(StorePath().parent_path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const CliResult set = Run({"settings", "set", golden::Hue("O0"), "50"});
  EXPECT_EQ(set.exitStatus, 1);
  EXPECT_NE(set.err.find("Permission denied"), std::string::npos) << set.err;
  EXPECT_EQ(set.err.find("No such file"), std::string::npos) << set.err;
  EXPECT_FALSE(StoreExists());
}

TEST_F(CliTest, AReadOnlyFolderWithAStoreIsReportedWithTheReason) {
  Put(golden::Hue("O0"), 1);
  RunUnprivileged();
  std::filesystem::permissions(StorePath().parent_path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const std::string before = ReadFile(StorePath());
  const CliResult set = Run({"settings", "set", golden::Hue("O0"), "50"});
  EXPECT_EQ(set.exitStatus, 1);
  EXPECT_NE(set.err.find("Permission denied"), std::string::npos) << set.err;
  EXPECT_EQ(ReadFile(StorePath()), before);
}

TEST_F(CliTest, SettingsSetHelpSaysAnOpenWindowUndoesTheChange) {
  EXPECT_NE(Run({"settings", "--help"}).out.find("A window that is open meanwhile stores what it shows when it closes"),
            std::string::npos);
}

// --- app-path ---

TEST_F(CliTest, AppPathListIsEmptyAndCreatesNothingWhenNothingIsRegistered) {
  const CliResult result = Run({"app-path", "list"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_FALSE(std::filesystem::exists(config_));
  const CliResult get = Run({"app-path", "get", "Skyreader"});
  EXPECT_EQ(get.exitStatus, 1);
  EXPECT_EQ(get.out, "");
  EXPECT_NE(get.err.find("Skyreader"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(config_));
}

TEST_F(CliTest, AppPathSetGetAndListShareTheRegisterWithThePrograms) {
  ASSERT_EQ(Run({"app-path", "set", "Skyreader", "D:\\Sky\\Skyreader.exe"}).exitStatus, 0);
  SetExeName("/usr/lib/viewer/Other.bin");
  RegisterAppPath(Registry());
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), "D:\\Sky\\Skyreader.exe");
  EXPECT_EQ(Run({"app-path", "get", "SKYREADER"}).out, "D:\\Sky\\Skyreader.exe\n");
  EXPECT_EQ(Run({"app-path", "list"}).out, "Other\t/usr/lib/viewer/Other.bin\nSkyreader\tD:\\Sky\\Skyreader.exe\n");
  ASSERT_EQ(Run({"app-path", "set", "skyreader", "/opt/sky/skyreader"}).exitStatus, 0);
  EXPECT_EQ(Run({"app-path", "list"}).out, "Other\t/usr/lib/viewer/Other.bin\nSkyreader\t/opt/sky/skyreader\n");
}

TEST_F(CliTest, AppPathSetMakesARelativeLocalPathAbsolute) {
  ASSERT_EQ(Run({"app-path", "set", "Skyreader", "sky/../sky/Skyreader.exe"}).exitStatus, 0);
  const std::string expected = (std::filesystem::current_path() / "sky" / "Skyreader.exe").string();
  EXPECT_EQ(ReadAppPath(Registry(), "Skyreader"), expected);
}

TEST_F(CliTest, AppPathListSkipsEntriesThatAreNoPath) {
  ASSERT_EQ(Run({"app-path", "set", "Skyreader", "/opt/sky/Skyreader"}).exitStatus, 0);
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(kAppPathsKey, true));
    registry.WriteInteger("Broken", 3);
  }
  EXPECT_EQ(Run({"app-path", "list"}).out, "Skyreader\t/opt/sky/Skyreader\n");
  EXPECT_EQ(Run({"app-path", "get", "Broken"}).exitStatus, 1);
}

TEST_F(CliTest, AppPathSetRefusesControlCharactersThatWouldForgeAnEntry) {
  for (const auto& [name, path] : std::vector<std::pair<std::string, std::string>>{
           {"Skyreader", "/a\nOther\t/evil"}, {"Sky\treader", "/opt/sky"}, {"Skyreader", "/opt/\x1b[2Jsky"}}) {
    const CliResult result = Run({"app-path", "set", name, path});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("control character"), std::string::npos) << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists(config_));
}

// Another program may have written anything: it is shown, escaped, on its own line.
TEST_F(CliTest, AppPathListAndGetEscapeWhatTheRegisterHolds) {
  {
    TRegistry registry(Store());
    ASSERT_TRUE(registry.OpenKey(kAppPathsKey, true));
    registry.WriteString("Skyreader", "/a\nOther\t/evil");
    registry.WriteString("Odd\x1b[2J", "/opt/odd");
  }
  auto listed = Lines(Run({"app-path", "list"}).out);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"Odd\\x1b[2J\t/opt/odd", "Skyreader\t/a\\nOther\\t/evil"}));
  EXPECT_EQ(Run({"app-path", "get", "Skyreader"}).out, "/a\\nOther\\t/evil\n");
}

class AppPathRefuses : public CliTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(AppPathRefuses, ExitsTwoAndWritesNothing) {
  std::vector<std::string> args{"app-path"};
  args.insert(args.end(), GetParam().begin(), GetParam().end());
  const CliResult result = Run(args);
  EXPECT_EQ(result.exitStatus, 2) << result.err;
  EXPECT_NE(result.err, "");
  EXPECT_FALSE(std::filesystem::exists(config_));
}

INSTANTIATE_TEST_SUITE_P(Arguments, AppPathRefuses,
                         ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"remove", "x"},
                                           std::vector<std::string>{"list", "extra"}, std::vector<std::string>{"get"},
                                           std::vector<std::string>{"set", "Skyreader"},
                                           std::vector<std::string>{"set", "", "/x"},
                                           std::vector<std::string>{"set", "Skyreader", ""}),
                         test::CaseName<std::vector<std::string>>);

// --- render ---

TEST_F(CliTest, RenderNeverCreatesTheStoreAndMatchesTheFactoryOnAFirstRun) {
  const auto stored = root_ / "stored.bmp";
  const auto factory = root_ / "factory.bmp";
  ASSERT_EQ(Run({"render", "--out", stored.string()}).exitStatus, 0);
  ASSERT_EQ(Run({"render", "--factory", "--out", factory.string()}).exitStatus, 0);
  EXPECT_FALSE(std::filesystem::exists(config_));
  EXPECT_EQ(ReadFile(stored).size(), 76854u);
  EXPECT_EQ(ReadFile(stored), ReadFile(factory));
}

TEST_F(CliTest, RenderStartsFromTheStoredSettingsAndFlagsOverrideThem) {
  ASSERT_EQ(Run({"settings", "set", golden::WhiteTop(), "0"}).exitStatus, 0);
  ASSERT_EQ(Run({"settings", "set", golden::Hue("P10"), "200"}).exitStatus, 0);
  ASSERT_EQ(Run({"settings", "set", golden::TailPercent(), "40"}).exitStatus, 0);
  const std::string storeBefore = ReadFile(StorePath());
  const auto path = [&](const char* name) { return (root_ / name).string(); };
  ASSERT_EQ(Run({"render", "--out", path("stored.bmp")}).exitStatus, 0);
  ASSERT_EQ(Run({"render", "--factory", "--white-top", "off", "--tail-percent", "40", "--anchor", "P10=200,12", "--out",
                 path("spelled.bmp")})
                .exitStatus,
            0);
  ASSERT_EQ(Run({"render", "--factory", "--out", path("factory.bmp")}).exitStatus, 0);
  ASSERT_EQ(Run({"render", "--white-top", "on", "--tail-percent", "12", "--anchor", "P10=85,12", "--out",
                 path("overridden.bmp")})
                .exitStatus,
            0);
  EXPECT_EQ(ReadFile(path("stored.bmp")), ReadFile(path("spelled.bmp")));
  EXPECT_NE(ReadFile(path("stored.bmp")), ReadFile(path("factory.bmp")));
  EXPECT_EQ(ReadFile(path("overridden.bmp")), ReadFile(path("factory.bmp")));
  EXPECT_EQ(ReadFile(StorePath()), storeBefore) << "render only reads the store";
}

TEST_F(CliTest, RenderRunsOnDefaultsWithAGarbageStoreAndLeavesItInPlace) {
  std::filesystem::create_directories(StorePath().parent_path());
  std::ofstream(StorePath()) << std::string(3000, 'g');
  const CliResult result = Run({"render", "--out", (root_ / "t.bmp").string()});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
  ASSERT_EQ(Run({"render", "--factory", "--out", (root_ / "f.bmp").string()}).exitStatus, 0);
  EXPECT_EQ(ReadFile(root_ / "t.bmp"), ReadFile(root_ / "f.bmp"));
  EXPECT_EQ(ReadFile(StorePath()), std::string(3000, 'g'));
}

}  // namespace
}  // namespace palettor
