// palettor-cli: the engine, the stored settings and the version reader without the window.
#include <cstdio>
#include <cstring>
#include <string>

#include "CliCommand.h"
#include "AppPathCommand.h"
#include "RenderCommand.h"
#include "SettingsCommand.h"
#include "VersionInfoCommand.h"

using namespace palettor::cli;

namespace {

const CliCommand* const kCommands[] = {
    &kRenderCommand,
    &kSettingsCommand,
    &kAppPathCommand,
    &kVersionInfoCommand,
};

void PrintUsage(std::FILE* to) {
  std::fputs("Usage: palettor-cli COMMAND [ARGUMENTS]\n\nCommands:\n", to);
  for (const CliCommand* command : kCommands) std::fprintf(to, "  %-38s %s\n", command->usage, command->summary);
  std::fputs("\n'palettor-cli COMMAND --help' describes a command.\n", to);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  for (const CliCommand* command : kCommands) {
    if (name == command->name) return command->run(Arguments(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "palettor-cli: unknown command '%s'\n", name.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
