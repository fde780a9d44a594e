#include <gtest/gtest.h>

#include <ostream>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ApplicationExe.h"
#include "CaseName.h"
#include "CurrentUserRegistry.h"
#include "FileNames.h"
#include "RegistryVariables.h"
#include "RunProcess.h"
#include "SqliteRegistryStore.h"

namespace palettor {
namespace {

struct SplitCase {
  const char* path;
  const char* fileName;
  const char* folder;
  const char* withoutExt;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << test::Printable(c.path); }

class FileNameSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(FileNameSplitting, SplitsAtTheLastSeparatorOfAnyKind) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(ExtractFileName(c.path), c.fileName);
  EXPECT_EQ(ExtractFilePath(c.path), c.folder);
  EXPECT_EQ(ChangeFileExt(c.path, ""), c.withoutExt);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileNameSplitting,
    ::testing::Values(
        SplitCase{"C:\\Tools\\Palettor.exe", "Palettor.exe", "C:\\Tools\\", "C:\\Tools\\Palettor"},
        SplitCase{"D:\\Sky\\Skyreader.exe", "Skyreader.exe", "D:\\Sky\\", "D:\\Sky\\Skyreader"},
        SplitCase{"/usr/local/bin/palettor", "palettor", "/usr/local/bin/", "/usr/local/bin/palettor"},
        SplitCase{"a.b.exe", "a.b.exe", "", "a.b"}, SplitCase{"Skyreader.exe", "Skyreader.exe", "", "Skyreader"},
        SplitCase{"C:Sky.exe", "Sky.exe", "C:", "C:Sky"}, SplitCase{"D:\\Sky\\", "", "D:\\Sky\\", "D:\\Sky\\"},
        // A dot in a folder name is not an extension of the file.
        SplitCase{"/opt/v1.2/palettor", "palettor", "/opt/v1.2/", "/opt/v1.2/palettor"},
        SplitCase{"mixed/dir\\name.ext", "name.ext", "mixed/dir\\", "mixed/dir\\name"}, SplitCase{"", "", "", ""}),
    test::CaseName<FileNameSplitting::ParamType>);

TEST(ChangeFileExt, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(ChangeFileExt("dir\\table.bmp", ".txt"), "dir\\table.txt");
  EXPECT_EQ(ChangeFileExt("dir/table", ".bmp"), "dir/table.bmp");
  EXPECT_EQ(ChangeFileExt("a.b.c", ".d"), "a.b.d");
}

struct BaseNameCase {
  const char* exe;
  const char* baseName;
};

void PrintTo(const BaseNameCase& c, std::ostream* os) { *os << test::Printable(c.exe); }

// A registry for another program, as palettor-cli makes one for the window's; its store is
// never touched here.
struct ProgramUnderTest {
  explicit ProgramUnderTest(std::string exe) : registry(store, std::move(exe)) {}
  SqliteRegistryStore store{""};
  CurrentUserRegistry registry;
};

class ProgramBaseNameOf : public ::testing::TestWithParam<BaseNameCase> {};

TEST_P(ProgramBaseNameOf, IsTheFileNameWithoutItsLastExtension) {
  const ProgramUnderTest program(GetParam().exe);
  EXPECT_EQ(ProgramBaseName(program.registry), GetParam().baseName);
  EXPECT_EQ(SettingsKeyPath(program.registry), std::string("\\Software\\Quillon\\") + GetParam().baseName);
}

INSTANTIATE_TEST_SUITE_P(Executables, ProgramBaseNameOf,
                         ::testing::Values(BaseNameCase{"C:\\Tools\\Palettor.exe", "Palettor"},
                                           BaseNameCase{"/home/u/bin/a.b.exe", "a.b"},
                                           BaseNameCase{"/usr/bin/palettor", "palettor"},
                                           BaseNameCase{"/usr/bin/palettor-cli", "palettor-cli"}),
                         test::CaseName<ProgramBaseNameOf::ParamType>);

TEST(ProgramBaseName, IsWorkedOutAnewOnEveryCall) {
  ProgramUnderTest program("/x/First.exe");
  EXPECT_EQ(ProgramBaseName(program.registry), "First");
  program.registry.SetProgramPath("/x/Second.exe");
  EXPECT_EQ(ProgramBaseName(program.registry), "Second");
}

TEST(GetExeName, ReportsTheRunningExecutableUnlessTheRegistryNamesAnother) {
  const ProgramUnderTest running("");
  const std::string real = GetExeName(running.registry);
  EXPECT_EQ(ExtractFileName(real), "palettor_settings_tests");
  EXPECT_EQ(real.front(), '/');
  {
    const ProgramUnderTest program("/elsewhere/palettor");
    EXPECT_EQ(GetExeName(program.registry), "/elsewhere/palettor");
  }
  EXPECT_EQ(GetExeName(running.registry), real);
  ProgramUnderTest renamed("/elsewhere/palettor");
  renamed.registry.SetProgramPath("");
  EXPECT_EQ(GetExeName(renamed.registry), real);
}

// Runs a copy of this test program that deletes itself and then asks for its own name.
TEST(GetExeName, KeepsTheNameOfAnExecutableReplacedWhileItRuns) {
  if (std::getenv("PALETTOR_EXE_SELF_DELETE")) {
    const ProgramUnderTest running("");
    const std::string before = GetExeName(running.registry);
    ASSERT_EQ(::unlink(before.c_str()), 0);
    EXPECT_EQ(GetExeName(running.registry), before);
    EXPECT_EQ(ExtractFileName(GetExeName(running.registry)), "copy-of-tests");
    return;
  }
  std::string folder = (std::filesystem::temp_directory_path() / "palettor-exe-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string copy = folder + "/copy-of-tests";
  std::filesystem::copy_file(GetExeName(ProgramUnderTest("").registry), copy);
  const test::ProcessResult run =
      test::RunProcess(copy, {"--gtest_filter=GetExeName.KeepsTheNameOfAnExecutableReplacedWhileItRuns"},
                       {.env = {"PALETTOR_EXE_SELF_DELETE=1"}});
  EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
  EXPECT_FALSE(std::filesystem::exists(copy));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace palettor
