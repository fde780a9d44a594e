// palettor-cli as GNU programs behave: the version, an option's value taken whatever it looks
// like, "--" ending the options, /dev/stdout as standard output, and a failed write to standard
// output reported as a failure. Real processes on a private store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "CaseName.h"
#include "RunProcess.h"
#include "TempStore.h"

namespace palettor {
namespace {

using test::ProcessResult;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Conventions : public test::TempStoreTest {
 protected:
  ProcessResult Run(const std::vector<std::string>& args) { return test::RunProcess(PALETTOR_CLI, args); }
  // `args` run in the test's folder with standard output sent where `redirect` says (a shell
  // redirection such as "> /dev/full").
  ProcessResult RunInFolder(const std::vector<std::string>& args, const std::string& redirect = "",
                            const std::string& limits = "") {
    std::vector<std::string> shellArgs{"-c", limits + "cd \"$0\" && shift && exec \"$@\" " + redirect, root_.string(),
                                       "unused", PALETTOR_CLI};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return test::RunProcess("/bin/sh", shellArgs);
  }
};

TEST_F(Conventions, VersionIsTheOneTheExecutableCarries) {
  const ProcessResult version = Run({"--version"});
  const ProcessResult resource = Run({"version-info", PALETTOR_CLI, "--key", "FileVersion"});
  ASSERT_EQ(version.exitStatus, 0) << version.err;
  ASSERT_EQ(resource.exitStatus, 0) << resource.err;
  ASSERT_FALSE(resource.out.empty());
  EXPECT_EQ(version.out, "palettor-cli " + resource.out);
  EXPECT_EQ(version.err, "");
}

TEST_F(Conventions, AnOptionsValueMayLookLikeAnOption) {
  const ProcessResult r = RunInFolder({"render", "--factory", "--out", "--help"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "") << "no help was printed";
  EXPECT_EQ(std::filesystem::file_size(root_ / "--help"), 76854u);
  // A value after '=' too, and a negative number is a value, not an option.
  EXPECT_EQ(Run({"render", "--factory", "--out=-", "--tail-percent", "-5"}).exitStatus, 2);
}

TEST_F(Conventions, HelpWhereAnOptionMayStandShowsTheCommandsHelp) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"render", "--factory", "--help"},
                                               {"render", "--out", "x.bmp", "-h"},
                                               {"settings", "set", "--help"},
                                               {"app-path", "list", "--help"},
                                               {"version-info", "--key", "x", "--help"},
                                               {"palette", "list", "--help"},
                                               {"palette", "import", "-h"},
                                               {"legend", "--out", "x.png", "--help"},
                                               {"export-csv", "--preset", "factory", "-h"}}) {
    const ProcessResult r = RunInFolder(args);
    EXPECT_EQ(r.exitStatus, 0) << args[0] << " " << args[1];
    EXPECT_EQ(r.out.rfind("Usage: palettor-cli " + args[0], 0), 0u) << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(root_ / "x.bmp"));
}

TEST_F(Conventions, DoubleDashEndsTheOptions) {
  // After "--", a name that starts with a dash is a file or an operand.
  std::filesystem::copy_file(PALETTOR_CLI, root_ / "-odd-name");
  const ProcessResult info = RunInFolder({"version-info", "--key", "ProductName", "--", "-odd-name"});
  EXPECT_EQ(info.exitStatus, 0) << info.err;
  EXPECT_EQ(info.out, "Palettor\n");

  const ProcessResult set = RunInFolder({"app-path", "set", "Viewer", "--", "--help"});
  EXPECT_EQ(set.exitStatus, 0) << set.err;
  EXPECT_EQ(Run({"app-path", "get", "Viewer"}).out, (root_ / "--help").string() + "\n");

  const ProcessResult palette = RunInFolder({"palette", "export", "--factory", "--", "-odd.json"});
  EXPECT_EQ(palette.exitStatus, 0) << palette.err;
  EXPECT_TRUE(std::filesystem::exists(root_ / "-odd.json"));
  const ProcessResult import = RunInFolder({"palette", "import", "--", "-odd.json"});
  EXPECT_EQ(import.exitStatus, 0) << import.err;

  // An option after "--" is no option.
  const ProcessResult render = RunInFolder({"render", "--out", "t.bmp", "--", "--factory"});
  EXPECT_EQ(render.exitStatus, 2);
  EXPECT_NE(render.err.find("'--factory'"), std::string::npos) << render.err;
  EXPECT_FALSE(std::filesystem::exists(root_ / "t.bmp"));
}

TEST_F(Conventions, DevStdoutIsStandardOutputAsTheShellSetItUp) {
  std::ofstream(root_ / "appended") << "head\n";
  const ProcessResult r = RunInFolder({"render", "--factory", "--out", "/dev/stdout"}, ">> appended");
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const ProcessResult dash = Run({"render", "--factory", "--out", "-"});
  ASSERT_EQ(dash.out.size(), 76854u);
  EXPECT_EQ(ReadFile(root_ / "appended"), "head\n" + dash.out) << "appended to, not replaced";

  // Commands that choose a format by the file name take /dev/stdout as they take "-".
  for (const char* command : {"legend", "colourise"}) {
    std::vector<std::string> args{command, "--factory", "--out"};
    if (std::string(command) == "colourise") args.insert(args.begin() + 1, "--demo");
    auto viaDash = args, viaDevice = args;
    viaDash.push_back("-");
    viaDevice.push_back("/dev/stdout");
    const ProcessResult a = Run(viaDash), b = Run(viaDevice);
    EXPECT_EQ(b.exitStatus, 0) << command << ": " << b.err;
    EXPECT_EQ(a.out, b.out) << command;
  }
}

struct FullOutput {
  std::vector<std::string> args;
  const char* named = "standard output";  // how the message names where it wrote
};

void PrintTo(const FullOutput& c, std::ostream* os) {
  for (const auto& arg : c.args) *os << arg << ' ';
}

class WriteToAFullDevice : public Conventions, public ::testing::WithParamInterface<FullOutput> {};

TEST_P(WriteToAFullDevice, FailsWithTheReason) {
  ASSERT_EQ(Run({"app-path", "set", "Skyreader", "/opt/skyreader/Skyreader.exe"}).exitStatus, 0);
  const ProcessResult r = RunInFolder(GetParam().args, "> /dev/full");
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err.rfind("palettor-cli: ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(GetParam().named), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, WriteToAFullDevice,
    ::testing::Values(
        FullOutput{{"--help"}}, FullOutput{{"--version"}}, FullOutput{{"render", "--help"}},
        FullOutput{{"app-path", "list"}}, FullOutput{{"app-path", "get", "Skyreader"}}, FullOutput{{"settings"}},
        FullOutput{{"render", "--factory", "--out", "-"}, "cannot write the bitmap to standard output: "},
        FullOutput{{"render", "--factory", "--out", "/dev/stdout"}, "/dev/stdout"}, FullOutput{{"version-info"}},
        FullOutput{{"export-csv", "--factory", "--out", "-"}}, FullOutput{{"legend", "--factory", "--out", "-"}},
        FullOutput{{"palette", "export", "--factory", "-"}}, FullOutput{{"palette", "list"}},
        FullOutput{{"colourise", "--demo", "--factory", "--out", "-"},
                   "cannot write the coloured scene to standard output: "},
        FullOutput{{"demo-scene", "--ir-out", "ir.png", "--vis-out", "-"}, "cannot write standard output: "}),
    test::CaseName<FullOutput>);

// A name is bytes: one that is not UTF-8 is written as given by every command that writes files,
// read as given, and shown escaped in a message.
TEST_F(Conventions, FileNamesThatAreNotUtf8AreWrittenAsGiven) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"render", "--factory", "--out", "t\xE9.bmp"},
                                               {"export-csv", "--factory", "--out", "t\xE9.csv"},
                                               {"legend", "--factory", "--out", "t\xE9.png"},
                                               {"colourise", "--demo", "--factory", "--out", "c\xE9.png"},
                                               {"palette", "export", "--factory", "p\xE9.json"},
                                               {"scene-density", "--demo", "--out", "d\xE9.csv"},
                                               {"demo-scene", "--vis-out", "v\xE9.png", "--ir-out", "i\xE9.png"}}) {
    const ProcessResult r = RunInFolder(args);
    EXPECT_EQ(r.exitStatus, 0) << args[0] << ": " << r.err;
    EXPECT_TRUE(std::filesystem::exists(root_ / args.back())) << args[0];
  }
  const ProcessResult coloured =
      RunInFolder({"colourise", "--ir", "i\xE9.png", "--vis", "v\xE9.png", "--factory", "--out", "-"});
  EXPECT_EQ(coloured.out, ReadFile(root_ / "c\xE9.png"));
  std::filesystem::copy_file(PALETTOR_CLI, root_ / "cli\xE9");
  EXPECT_EQ(RunInFolder({"version-info", "cli\xE9", "--key", "ProductName"}).out, "Palettor\n");
  const ProcessResult missing = RunInFolder({"render", "--out", "none\xE9/t.bmp"});
  EXPECT_EQ(missing.err, "palettor-cli: cannot write none\\xe9/t.bmp: No such file or directory\n");
}

TEST_F(Conventions, ASymlinkLoopIsRefusedAsTheShellRefusesIt) {
  std::filesystem::create_symlink("loop.bmp", root_ / "loop.bmp");
  const ProcessResult r = RunInFolder({"render", "--factory", "--out", "loop.bmp"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "palettor-cli: cannot write loop.bmp: Too many levels of symbolic links\n");
  EXPECT_TRUE(std::filesystem::is_symlink(root_ / "loop.bmp"));
}

class WritePastAFileSizeLimit : public Conventions, public ::testing::WithParamInterface<FullOutput> {};

// Under `ulimit -f` with SIGXFSZ ignored, as a full disk but for this process alone.
TEST_P(WritePastAFileSizeLimit, SaysSoAndKeepsTheEarlierFile) {
  std::ofstream(root_ / GetParam().named) << "earlier";
  const ProcessResult r = RunInFolder(GetParam().args, "", "trap '' XFSZ; ulimit -f 2; ");
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, std::string("palettor-cli: cannot write ") + GetParam().named + ": File too large\n");
  EXPECT_EQ(ReadFile(root_ / GetParam().named), "earlier");
}

// Every command that writes files, each with the file whose failure is reported.
const auto kFileWritingCommands =
    ::testing::Values(FullOutput{{"render", "--factory", "--out", "t.bmp"}, "t.bmp"},
                      FullOutput{{"export-csv", "--factory", "--out", "t.csv"}, "t.csv"},
                      FullOutput{{"legend", "--factory", "--out", "t.png"}, "t.png"},
                      FullOutput{{"colourise", "--demo", "--factory", "--out", "c.png"}, "c.png"},
                      FullOutput{{"demo-scene", "--ir-out", "i.png", "--vis-out", "v.png"}, "i.png"});

INSTANTIATE_TEST_SUITE_P(Commands, WritePastAFileSizeLimit, kFileWritingCommands, test::CaseName<FullOutput>);

class WriteOnAFullDisk : public Conventions, public ::testing::WithParamInterface<FullOutput> {};

// On a file system of 8 KiB, mounted over the test's folder in a mount namespace of the command
// alone (which needs the right to make one: skipped elsewhere). The earlier file is shown on
// standard output once the command is done, as the mount ends with it.
TEST_P(WriteOnAFullDisk, SaysSoAndKeepsTheEarlierFile) {
  const std::string script =
      "mount -t tmpfs -o size=8k tmpfs \"$0\" 2>/dev/null || exit 77; cd \"$0\" && name=$1 && shift && "
      "printf earlier >\"$name\" && \"$@\"; status=$?; cat \"$name\"; exit $status";
  std::vector<std::string> args{"-m", "/bin/sh", "-c", script, root_.string(), GetParam().named, PALETTOR_CLI};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  if (!std::filesystem::exists("/usr/bin/unshare")) GTEST_SKIP() << "no unshare here";
  const ProcessResult r = test::RunProcess("/usr/bin/unshare", args);
  if (r.exitStatus == 77) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, std::string("palettor-cli: cannot write ") + GetParam().named + ": No space left on device\n");
  EXPECT_EQ(r.out, "earlier");
}

INSTANTIATE_TEST_SUITE_P(Commands, WriteOnAFullDisk, kFileWritingCommands, test::CaseName<FullOutput>);

}  // namespace
}  // namespace palettor
