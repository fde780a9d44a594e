#pragma once
// Runs a program to completion for a test and collects what it printed.
#include <string>
#include <utility>
#include <vector>

namespace palettor::testing_support {

struct ProcessResult {
  int exitStatus = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// `env` entries ("NAME=value") are added to (or replace) the current environment.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});

}  // namespace palettor::testing_support
