// palettor's command line, run as a program with no display at all: --help and --version are
// answered without one, anything else the window does not take is a usage error, and Qt's own
// options get as far as the display check.
#include <gtest/gtest.h>

#include "RunProcess.h"

namespace palettor::test {
namespace {

ProcessResult RunWithoutDisplay(const std::vector<std::string>& args, const std::string& redirect = "") {
  std::vector<std::string> shellArgs{"-c", "exec \"$@\" " + redirect, "sh", PALETTOR_WINDOW};
  shellArgs.insert(shellArgs.end(), args.begin(), args.end());
  return RunProcess("/bin/sh", shellArgs, {.env = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="}});
}

TEST(WindowCommandLine, HelpPrintsUsageAndExitsWithoutADisplay) {
  for (const char* option : {"--help", "-h"}) {
    const ProcessResult r = RunWithoutDisplay({option});
    EXPECT_EQ(r.exitStatus, 0) << option << ": " << r.err;
    EXPECT_EQ(r.out.rfind("Usage: palettor [OPTION]...\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("--version"), std::string::npos);
    EXPECT_EQ(r.err, "");
  }
}

TEST(WindowCommandLine, VersionIsTheOneTheExecutableCarries) {
  const ProcessResult resource = RunProcess(PALETTOR_CLI, {"version-info", PALETTOR_WINDOW, "--key", "FileVersion"});
  ASSERT_EQ(resource.exitStatus, 0) << resource.err;
  ASSERT_NE(resource.out, "\n");
  for (const char* option : {"--version", "-v"}) {
    const ProcessResult r = RunWithoutDisplay({option});
    EXPECT_EQ(r.exitStatus, 0) << option << ": " << r.err;
    EXPECT_EQ(r.out, "palettor " + resource.out);
  }
}

TEST(WindowCommandLine, HelpWinsOverAnUnknownOption) {
  EXPECT_EQ(RunWithoutDisplay({"--no-such-option", "--help"}).exitStatus, 0);
}

TEST(WindowCommandLine, WhatTheWindowDoesNotTakeExitsTwo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--no-such-option"}, {"TempToColourUser.bmp"}, {"-style"}, {"--", "-x"}}) {
    const ProcessResult r = RunWithoutDisplay(args);
    EXPECT_EQ(r.exitStatus, 2) << args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("palettor --help"), std::string::npos) << r.err;
  }
}

TEST(WindowCommandLine, QtsOwnOptionsPassAndMeetTheDisplayCheck) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-style", "fusion"}, {"--reverse"}}) {
    const ProcessResult r = RunWithoutDisplay(args);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;
  }
}

TEST(WindowCommandLine, AFailedWriteOfTheHelpIsAFailure) {
  for (const char* option : {"--help", "--version"}) {
    const ProcessResult r = RunWithoutDisplay({option}, "> /dev/full");
    EXPECT_EQ(r.exitStatus, 1) << option;
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace palettor::test
