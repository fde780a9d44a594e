#pragma once
// The sub-commands of palettor-cli; each lives in its own file and is listed in main.cpp.
#include <string>
#include <vector>

namespace palettor::cli {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

using Arguments = std::vector<std::string>;

struct CliCommand {
  const char* name;
  const char* usage;    // "render --out FILE|- [options]", shown by --help
  const char* summary;  // one line saying what it does
  int (*run)(const Arguments& args);  // args after the command name
};

}  // namespace palettor::cli
