// palettor-cli version-info, run as a program on the fixtures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "FixtureFiles.h"
#include "RunProcess.h"
#include "VersionInfoCommand.h"

namespace palettor::cli {
namespace {

using test::Fixture;

using CliRun = test::ProcessResult;

CliRun RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), "version-info");
  return test::RunProcess(PALETTOR_CLI, args);
}

struct CliCase {
  std::vector<std::string> args;
  int status;
  const char* out;
};

void PrintTo(const CliCase& c, std::ostream* os) {
  for (const auto& arg : c.args) *os << arg << ' ';
}

class VersionInfoCli : public ::testing::TestWithParam<CliCase> {};

TEST_P(VersionInfoCli, PrintsTheResource) {
  SKIP_WITHOUT_PE_FIXTURES();
  std::vector<std::string> args = GetParam().args;
  for (auto& arg : args) {
    if (arg.ends_with(".exe") || arg.ends_with(".dll")) arg = Fixture(arg);
  }
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.exitStatus, GetParam().status) << run.err;
  EXPECT_EQ(run.out, GetParam().out);
  if (GetParam().status == 0) {
    EXPECT_EQ(run.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, VersionInfoCli,
    ::testing::Values(CliCase{{"palettor-64.exe"},
                              0,
                              "Product Name: Palettor\n"
                              "Product Version: 1.0\n"
                              "Company Name: Quillon\n"
                              "Legal Copyright: Copyright \xC2\xA9 2001 Quillon\n"
                              "Legal Trademarks: Palettor and Skyreader are trademarks of Quillon\n"
                              "File Description: Palettor for Skyreader - Colour look-up table maker\n"
                              "File Version: 1.0.6.8\n"
                              "Internal Name: Palettor\n"
                              "Original Filename: Palettor.exe\n"
                              "Comments: 2001 Dec 12\n"
                              "Translation: 080904E4\n"},
                      CliCase{{"two_translations-32.exe"},
                              0,
                              "Product Name: Twin\n"
                              "Product Version: 2.5\n"
                              "Company Name: Quillon Ltd\n"
                              "File Description: Two languages\n"
                              "File Version: 2.5.0.1\n"
                              "Translation: 080904E4\n"
                              "Translation: 040704B0\n"},
                      CliCase{{"all_flags-64.dll"},
                              0,
                              "Product Name: Flags\n"
                              "Product Version: 1.0.6.8\n"
                              "File Version: 1.0.6.8\n"
                              "Build Flags: Debug, Info Inferred, Patched, Pre-Release, Private, Special\n"
                              "Translation: 080904E4\n"},
                      CliCase{{"neutral_translation-64.exe"},
                              0,
                              "Product Name: Neutral\n"
                              "Product Version: 3.1.0.0\n"
                              "Company Name: US English table\n"
                              "File Version: 3.1.4.1\n"
                              "Translation: 040904E4\n"},
                      CliCase{{"two_translations-64.exe", "--key", "web SITE"}, 0, "www.quillon.example\n"},
                      CliCase{{"two_translations-64.exe", "--key=CompanyName"}, 0, "Quillon Ltd\n"},
                      CliCase{{"--key", "ProductName", "non_ascii-64.exe"}, 0, "Caf\xC3\xA9\n"},
                      CliCase{{"two_translations-64.exe", "--key", "Missing"}, 0, "\n"},
                      CliCase{{"truncated-64.exe"}, 1, ""}, CliCase{{"wrong_id-32.exe"}, 1, ""},
                      CliCase{{"not-there.exe"}, 1, ""}, CliCase{{"two_translations-64.exe", "--key"}, 2, ""},
                      CliCase{{"two_translations-64.exe", "--bogus"}, 2, ""},
                      CliCase{{"two_translations-64.exe", "all_flags-64.exe"}, 2, ""}),
    test::CaseName<CliCase>);

TEST(VersionInfoCliMessages, SayWhatIsWrong) {
  SKIP_WITHOUT_PE_FIXTURES();
  EXPECT_EQ(RunCli({Fixture("truncated-64.exe")}).err,
            "palettor-cli: " + Fixture("truncated-64.exe") + " has no version resource\n");
  EXPECT_EQ(RunCli({Fixture("none.exe")}).err,
            "palettor-cli: cannot read " + Fixture("none.exe") + ": No such file or directory\n");
  EXPECT_EQ(RunCli({PALETTOR_FIXTURE_DIR}).err,
            std::string("palettor-cli: cannot read ") + PALETTOR_FIXTURE_DIR + ": Is a directory\n");
}

// A resource is untrusted text: its control characters come out escaped, one line per item.
TEST(VersionInfoCliMessages, EscapeControlCharactersInTheResource) {
  SKIP_WITHOUT_PE_FIXTURES();
  const CliRun run = RunCli({Fixture("control_chars-64.exe")});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.out.find("Product Name: Evil\\nFile Version: 9.9\\tx\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Company Name: \\x1b[2J\\x1b]0;owned\\x07\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Comments: back\\rspace \\u009b31m\n"), std::string::npos) << run.out;
  for (const char c : run.out) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << run.out;
  EXPECT_EQ(RunCli({Fixture("control_chars-64.exe"), "--key", "CompanyName"}).out, "\\x1b[2J\\x1b]0;owned\\x07\n");
}

TEST(VersionInfoCliMessages, ReadsItsOwnResource) {
  const CliRun run = RunCli({PALETTOR_CLI, "--key", "Comments"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, "2001 Dec 12\n");
}

class DefaultFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("palettor-default-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_ / "bin");
    std::filesystem::create_directories(dir_ / "build");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Touch(const std::filesystem::path& path) { std::ofstream(path) << "x"; }
  std::filesystem::path dir_;
};

TEST_F(DefaultFile, PrefersTheExecutableBesideTheCli) {
  Touch(dir_ / "bin" / "palettor");
  Touch(dir_ / "build" / "palettor");
  EXPECT_EQ(DefaultVersionInfoFile((dir_ / "bin" / "palettor-cli").string(), (dir_ / "build" / "palettor").string()),
            (dir_ / "bin" / "palettor").string());
}

TEST_F(DefaultFile, FallsBackToTheBuildTree) {
  Touch(dir_ / "build" / "palettor");
  EXPECT_EQ(DefaultVersionInfoFile((dir_ / "bin" / "palettor-cli").string(), (dir_ / "build" / "palettor").string()),
            (dir_ / "build" / "palettor").string());
}

TEST_F(DefaultFile, IsEmptyWhenNeitherExists) {
  std::filesystem::create_directories(dir_ / "bin" / "palettor");  // a directory is not the program
  EXPECT_EQ(DefaultVersionInfoFile((dir_ / "bin" / "palettor-cli").string(), (dir_ / "build" / "palettor").string()),
            "");
  EXPECT_EQ(DefaultVersionInfoFile("", ""), "");
}

TEST(VersionInfoCliDefault, ReadsTheWindowExecutable) {
  const CliRun run = RunCli({});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  for (const char* line :
       {"Product Name: Palettor\n", "Product Version: 1.0\n", "File Version: 1.0.6.8\n", "Internal Name: Palettor\n",
        "Original Filename: Palettor.exe\n", "Comments: 2001 Dec 12\n", "Translation: 080904E4\n"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << "in:\n" << run.out;
  }
  const CliRun web = RunCli({"--key", "Web site"});
  EXPECT_EQ(web.exitStatus, 0);
  EXPECT_EQ(web.out.find("://"), std::string::npos) << "stored without a scheme: " << web.out;
  EXPECT_GT(web.out.size(), 1u);
}

}  // namespace
}  // namespace palettor::cli
