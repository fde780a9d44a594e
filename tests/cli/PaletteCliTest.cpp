// palettor-cli palette export | import | list, and --palette / --preset on the table commands,
// through real processes on a private store and a private folder of user palettes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "CaseName.h"
#include "GoldenSettings.h"
#include "RunProcess.h"
#include "SamplePalette.h"
#include "StoredPalette.h"
#include "TempStore.h"

namespace palettor {
namespace {

namespace golden = test::golden;

using test::kSamplePalette;
using test::Replaced;
constexpr const char* kSample = test::kSamplePaletteFile;

// The same palette as render's flags.
const std::vector<std::string> kSampleFlags = {
    "--white-top", "off",         "--smooth", "off",         "--tail-percent", "40",         "--anchor", "M70=220,70",
    "--anchor",    "M60=0,100",   "--anchor", "M50=30,50",   "--anchor",       "M40=60,100", "--anchor", "M30=120,100",
    "--anchor",    "M20=200,100", "--anchor", "M10=240,100", "--anchor",       "O0=300,100", "--anchor", "P10=360,100",
    "--anchor",    "P20=100,0",   "--anchor", "P30=15,25",   "--anchor",       "P40=35,25"};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PaletteCli : public test::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    // No palette of the user running the tests may leak in.
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
  }
  test::ProcessResult Run(std::vector<std::string> args) { return test::RunProcess(PALETTOR_CLI, args); }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  std::string UserPalette(const std::string& file, const std::string& text) const {
    const auto folder = root_ / "data" / "palettor" / "palettes";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / file, std::ios::binary) << text;
    return (folder / file).string();
  }
  std::vector<std::string> StoreRows() {
    return Query("SELECT key_path, name, type, data, write_seq FROM registry_values ORDER BY write_seq");
  }
  // render with `args`, the bitmap's bytes ("" when it failed).
  std::string Render(std::vector<std::string> args) {
    const std::string out = Path("render-" + std::to_string(++renders_) + ".bmp");
    args.insert(args.begin(), {"render", "--out", out});
    const test::ProcessResult r = Run(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return ReadFile(out);
  }
  int renders_ = 0;
};

TEST_F(PaletteCli, ImportStoresAll27InTheWindowsOrderAndExportGivesTheFileBack) {
  const test::ProcessResult imported = Run({"palette", "import", Write("sample.json", kSample)});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out, "");
  EXPECT_EQ(LoadPalette(Registry()).palette, kSamplePalette);
  EXPECT_EQ(Query("SELECT name FROM registry_values ORDER BY write_seq"), golden::kPaletteWrites);

  const test::ProcessResult exported = Run({"palette", "export", "--name", "Sample", Path("back.json")});
  ASSERT_EQ(exported.exitStatus, 0) << exported.err;
  EXPECT_EQ(ReadFile(Path("back.json")), kSample);
  // Named after the file unless told otherwise; standard output has no name to give.
  ASSERT_EQ(Run({"palette", "export", Path("My IR.json")}).exitStatus, 0);
  EXPECT_EQ(ReadFile(Path("My IR.json")), Replaced(kSample, "\"Sample\"", "\"My IR\""));
  EXPECT_EQ(Run({"palette", "export", "-"}).out, Replaced(kSample, "  \"name\": \"Sample\",\n", ""));

  // Standard input, into a store that holds another palette.
  ASSERT_EQ(Run({"settings", "set", golden::TailPercent(), "3"}).exitStatus, 0);
  const test::ProcessResult piped = test::RunProcess(
      "/bin/sh", {"-c", std::string(PALETTOR_CLI) + " palette import - < '" + Path("back.json") + "'"});
  ASSERT_EQ(piped.exitStatus, 0) << piped.err;
  EXPECT_EQ(LoadPalette(Registry()).palette, kSamplePalette);
}

TEST_F(PaletteCli, ImportStoresTheNightFloorAfterThe27AndExportGivesItBack) {
  const std::string night =
      Replaced(kSample, "\"tailPercent\": 40,\n", "\"tailPercent\": 40,\n  \"nightFloorPercent\": 20,\n");
  ASSERT_EQ(Run({"palette", "import", Write("night.json", night)}).exitStatus, 0);
  EXPECT_EQ(LoadPalette(Registry()).palette.nightFloorPercent, 20);
  EXPECT_EQ(Query("SELECT name FROM registry_values ORDER BY write_seq"), golden::kPaletteWrites);
  ASSERT_EQ(Run({"palette", "export", "--name", "Sample", Path("back.json")}).exitStatus, 0);
  EXPECT_EQ(ReadFile(Path("back.json")), night);
  // The GIMP palette holds the anchors' colours only.
  EXPECT_EQ(Run({"palette", "export", "--format", "gpl", "-"}).out,
            Run({"palette", "export", "--format", "gpl", "--night-floor", "0", "-"}).out);
}

TEST_F(PaletteCli, RenderWithAPaletteFileIsRenderWithItsValuesAsFlags) {
  Write("sample.json", kSample);
  ASSERT_EQ(Run({"settings", "set", golden::Hue("O0"), "5"}).exitStatus, 0);  // the file replaces what is stored
  std::vector<std::string> flags = kSampleFlags;
  flags.insert(flags.begin(), "--factory");
  EXPECT_EQ(Render({"--palette", Path("sample.json")}), Render(flags));
  // The flags still change it.
  flags.insert(flags.end(), {"--tail-percent", "5", "--anchor", "O0=10,90"});
  EXPECT_EQ(Render({"--palette", Path("sample.json"), "--tail-percent", "5", "--anchor", "O0=10,90"}), Render(flags));
}

struct InvalidFile {
  const char* name;
  std::string text;
  const char* member;  // named in the message
};

void PrintTo(const InvalidFile& file, std::ostream* os) { *os << file.name; }

class InvalidPaletteFile : public PaletteCli, public testing::WithParamInterface<InvalidFile> {};

TEST_P(InvalidPaletteFile, IsRefusedWithExit2NamingTheMemberAndChangesNothing) {
  ASSERT_EQ(Run({"palette", "import", Write("sample.json", kSample)}).exitStatus, 0);
  const auto before = StoreRows();
  const std::string bad = Write("bad.json", GetParam().text);

  const test::ProcessResult imported = Run({"palette", "import", bad});
  EXPECT_EQ(imported.exitStatus, 2);
  EXPECT_NE(imported.err.find(bad + ": " + GetParam().member), std::string::npos) << imported.err;
  EXPECT_EQ(StoreRows(), before);

  for (const char* command : {"render", "export-csv", "legend"}) {
    const std::string out = Path(std::string("out-") + command + ".png");
    const test::ProcessResult drawn = Run({command, "--out", out, "--palette", bad});
    EXPECT_EQ(drawn.exitStatus, 2) << command;
    EXPECT_NE(drawn.err.find(GetParam().member), std::string::npos) << command << ": " << drawn.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << command;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, InvalidPaletteFile,
    testing::Values(
        InvalidFile{"NotJson", "{ \"format\": ", ""}, InvalidFile{"NotAnObject", "[1, 2]", ""},
        InvalidFile{"OtherFormat", Replaced(kSample, "palettor-palette", "gimp-palette"), "format"},
        InvalidFile{"NewerVersion", Replaced(kSample, "\"version\": 1", "\"version\": 2"), "version"},
        InvalidFile{"MissingAnchor", Replaced(kSample, "\"P40\"", "\"X40\""), "anchors.P40"},
        InvalidFile{"MissingOption", Replaced(kSample, "\"smoothColours\"", "\"smooth\""), "smoothColours"},
        InvalidFile{"MistypedOption", Replaced(kSample, "\"whiteTop\": false", "\"whiteTop\": 0"), "whiteTop"},
        InvalidFile{"MistypedNumber", Replaced(kSample, "\"tailPercent\": 40", "\"tailPercent\": \"40\""),
                    "tailPercent"},
        InvalidFile{"HueOutOfRange", Replaced(kSample, "\"hue\": 120", "\"hue\": 361"), "anchors.M30.hue"},
        InvalidFile{"Fraction", Replaced(kSample, "\"saturation\": 50", "\"saturation\": 50.5"),
                    "anchors.M50.saturation"},
        InvalidFile{"NegativeTail", Replaced(kSample, "\"tailPercent\": 40", "\"tailPercent\": -1"), "tailPercent"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(PaletteCli, AFileThatCannotBeReadIsExit1) {
  ASSERT_EQ(Run({"palette", "import", Write("sample.json", kSample)}).exitStatus, 0);
  const auto before = StoreRows();
  for (const std::string& unreadable : {Path("missing.json"), root_.string()}) {
    const test::ProcessResult imported = Run({"palette", "import", unreadable});
    EXPECT_EQ(imported.exitStatus, 1) << unreadable;
    EXPECT_NE(imported.err.find(unreadable), std::string::npos) << imported.err;
    EXPECT_EQ(Run({"render", "--out", Path("x.bmp"), "--palette", unreadable}).exitStatus, 1);
  }
  EXPECT_EQ(StoreRows(), before);
  EXPECT_FALSE(std::filesystem::exists(Path("x.bmp")));
  const test::ProcessResult unwritable = Run({"palette", "export", Path("no/such/folder/p.json")});
  EXPECT_EQ(unwritable.exitStatus, 1);
  EXPECT_NE(unwritable.err.find("no/such/folder/p.json"), std::string::npos) << unwritable.err;
}

// The GIMP palette holds the colours the window's patches show: for these hues and saturations
// worked out by hand, blue tail last.
// A name is bytes: one that is not UTF-8 opens as given and shows escaped in messages.
TEST_F(PaletteCli, FileNamesThatAreNotUtf8AreOpenedAsGiven) {
  const std::string latin1 = Write("caf\xE9.json", kSample);
  EXPECT_EQ(Render({"--palette", latin1}), Render(kSampleFlags));
  const test::ProcessResult import = Run({"palette", "import", latin1});
  ASSERT_EQ(import.exitStatus, 0) << import.err;
  EXPECT_EQ(LoadPalette(Registry()).palette, kSamplePalette);
  const test::ProcessResult missing = Run({"palette", "import", Path("nope\xE9.json")});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.err, "palettor-cli: cannot read " + Path("nope\\xe9.json") + ": No such file or directory\n");
}

TEST_F(PaletteCli, GimpPaletteHoldsTheAnchorColoursByTemperature) {
  const test::ProcessResult r =
      Run({"palette", "export", "--format", "gpl", "--palette", Write("s.json", kSample), "-"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out,
            "GIMP Palette\nName: Palettor\nColumns: 11\n#\n"
            "255   0   0\t-60 °C\n"
            "255 191 128\t-50 °C\n"
            "255 255   0\t-40 °C\n"
            "  0 255   0\t-30 °C\n"
            "  0 170 255\t-20 °C\n"
            "  0   0 255\t-10 °C\n"
            "255   0 255\t0 °C\n"
            "255   0   0\t+10 °C\n"
            "255 255 255\t+20 °C\n"
            "255 207 191\t+30 °C\n"
            "255 228 191\t+40 °C\n"
            " 77 136 255\tBlue tail\n");
  EXPECT_EQ(Run({"palette", "export", "--format", "gpl", "--factory", Path("f.gpl")}).exitStatus, 0);
  EXPECT_NE(ReadFile(Path("f.gpl")).find("Name: f\nColumns: 11\n#\n255 237 252\t-60 °C\n240 224 255\t-50 °C\n"),
            std::string::npos);
}

TEST_F(PaletteCli, ListNamesTheBuiltInsThenTheUsersOwnAndSaysWhatItLeftOut) {
  UserPalette("zz.json", kSample);                                            // named by its "name"
  UserPalette("b.json", Replaced(kSample, "  \"name\": \"Sample\",\n", ""));  // by its file name
  const std::string broken = UserPalette("broken.json", "{");
  const std::string clash = UserPalette("clash.json", Replaced(kSample, "\"Sample\"", "\"Greyscale\""));
  const test::ProcessResult r = Run({"palette", "list"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "factory\ngreyscale\ninfrared-contrast\ncolour-blind-safe\nb\nSample\n");
  EXPECT_NE(r.err.find("palettor-cli: " + broken + ": "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("palettor-cli: " + clash + ": "), std::string::npos) << r.err;
}

TEST_F(PaletteCli, APaletteFolderThatCannotBeReadIsSaidOnce) {
  std::filesystem::create_directories(root_ / "data");
  Write("data/palettor", "a file where the folder should be");
  const std::string warning =
      "palettor-cli: " + Path("data/palettor/palettes") + ": cannot read the palette folder: Not a directory\n";
  const test::ProcessResult list = Run({"palette", "list"});
  EXPECT_EQ(list.exitStatus, 0);
  EXPECT_EQ(list.out, "factory\ngreyscale\ninfrared-contrast\ncolour-blind-safe\n");
  EXPECT_EQ(list.err, warning);
  const test::ProcessResult preset = Run({"render", "--out", Path("u.bmp"), "--preset", "mine"});
  EXPECT_EQ(preset.exitStatus, 2);
  EXPECT_EQ(preset.err.substr(0, warning.size()), warning);
  EXPECT_EQ(Run({"render", "--out", Path("g.bmp"), "--preset", "greyscale"}).err, "");
}

TEST_F(PaletteCli, PresetsRenderTheirOwnTablesAndNameUserPalettesToo) {
  std::vector<std::string> tables;
  for (const char* preset : {"factory", "greyscale", "infrared-contrast", "colour-blind-safe"})
    tables.push_back(Render({"--preset", preset}));
  for (std::size_t i = 0; i < tables.size(); ++i) {
    ASSERT_EQ(tables[i].size(), 76854u);
    for (std::size_t j = i + 1; j < tables.size(); ++j) EXPECT_NE(tables[i], tables[j]) << i << " " << j;
  }
  EXPECT_EQ(tables[0], Render({"--factory"}));
  // Greyscale: every pixel is its brightness in all three channels.
  const std::string& grey = tables[1];
  for (std::size_t at = 54; at < grey.size(); ++at)
    ASSERT_EQ(static_cast<unsigned char>(grey[at]), (at - 54) / 300) << "byte " << at;
  EXPECT_EQ(Render({"--preset", "GreyScale"}), grey);

  const std::string mine = UserPalette("mine.json", kSample);
  EXPECT_EQ(Render({"--preset", "sample"}), Render({"--palette", mine}));

  const test::ProcessResult unknown = Run({"render", "--out", Path("u.bmp"), "--preset", "nosuch"});
  EXPECT_EQ(unknown.exitStatus, 2);
  EXPECT_NE(unknown.err.find("'nosuch'"), std::string::npos) << unknown.err;
  EXPECT_FALSE(std::filesystem::exists(Path("u.bmp")));
}

TEST_F(PaletteCli, OnlyOneStartingPaletteMayBeNamed) {
  Write("s.json", kSample);
  for (const auto& args : std::vector<std::vector<std::string>>{{"--factory", "--preset", "greyscale"},
                                                                {"--palette", Path("s.json"), "--factory"},
                                                                {"--preset", "greyscale", "--palette", Path("s.json")},
                                                                {"--preset", "greyscale", "--preset", "factory"}}) {
    std::vector<std::string> command = {"render", "--out", Path("x.bmp")};
    command.insert(command.end(), args.begin(), args.end());
    const test::ProcessResult r = Run(command);
    EXPECT_EQ(r.exitStatus, 2) << args[0] << " " << args[2];
    EXPECT_NE(r.err.find("only one of --factory, --palette and --preset"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("x.bmp")));
}

}  // namespace
}  // namespace palettor
