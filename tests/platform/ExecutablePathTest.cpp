// The running executable's path, before and after the file is replaced while it runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ExecutablePath.h"
#include "RunProcess.h"

namespace palettor {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RunningExecutablePath, IsTheAbsolutePathOfThisProgram) {
  const std::string path = RunningExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(std::filesystem::path(path).filename(), "palettor_platform_tests");
  EXPECT_EQ(ReadAll(kRunningExecutableFile), ReadAll(path));
}

// Runs a copy of this program that removes its own file, as a package upgrade does, and then
// asks for its path and reads its own bytes.
TEST(RunningExecutablePath, KeepsThePathOfAnExecutableRemovedWhileItRunsAndItsBytesStayReadable) {
  if (const char* expected = std::getenv("PALETTOR_EXPECTED_PATH")) {
    const std::string bytes = ReadAll(expected);
    ASSERT_EQ(::unlink(expected), 0);
    EXPECT_EQ(RunningExecutablePath(), expected);
    EXPECT_EQ(ReadAll(kRunningExecutableFile), bytes);
    return;
  }
  std::string folder = (std::filesystem::temp_directory_path() / "palettor-exe-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string copy = folder + "/copy of tests";
  std::filesystem::copy_file(RunningExecutablePath(), copy);
  const test::ProcessResult run = test::RunProcess(copy, {"--gtest_filter=RunningExecutablePath.KeepsThePath*"},
                                                   {.env = {"PALETTOR_EXPECTED_PATH=" + copy}});
  EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
  EXPECT_FALSE(std::filesystem::exists(copy));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace palettor
