#include "CommandList.h"

#include <array>
#include <cstdio>
#include <exception>

#include "ControlCharacters.h"

namespace palettor::cli {

// One line per command: a new command is its own file plus one line here.
#define PALETTOR_CLI_COMMANDS(COMMAND) \
  COMMAND(kRenderCommand)              \
  COMMAND(kColouriseCommand)           \
  COMMAND(kDemoSceneCommand)           \
  COMMAND(kExportCsvCommand)           \
  COMMAND(kLegendCommand)              \
  COMMAND(kPaletteCommand)             \
  COMMAND(kSettingsCommand)            \
  COMMAND(kAppPathCommand)             \
  COMMAND(kVersionInfoCommand)

#define PALETTOR_DECLARE_COMMAND(command) extern const CliCommand command;
PALETTOR_CLI_COMMANDS(PALETTOR_DECLARE_COMMAND)
#undef PALETTOR_DECLARE_COMMAND

namespace {

#define PALETTOR_LIST_COMMAND(command) &command,
const std::array kCommands{PALETTOR_CLI_COMMANDS(PALETTOR_LIST_COMMAND)};
#undef PALETTOR_LIST_COMMAND

void PrintUsage(std::FILE* to) {
  std::fputs("Usage: palettor-cli COMMAND [ARGUMENTS]\n\nCommands:\n", to);
  for (const CliCommand* command : kCommands) std::fprintf(to, "  %-38s %s\n", command->usage, command->summary);
  std::fputs("\n'palettor-cli COMMAND --help' describes a command.\n", to);
}

bool AsksForHelp(const Arguments& args) {
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int Run(const CliCommand& command, const Arguments& args) {
  if (AsksForHelp(args)) {
    std::fputs(command.help(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
  }
  try {
    command.run(args);
  } catch (const CommandError& error) {
    std::fflush(stdout);
    // Messages quote paths and store errors: kept to one line whatever they hold.
    std::fprintf(stderr, "palettor-cli: %s\n", EscapeControlCharacters(error.what()).c_str());
    return error.Status();
  } catch (const std::exception& error) {
    // Whatever a library below throws is a failure of the command, reported like any other.
    std::fflush(stdout);
    std::fprintf(stderr, "palettor-cli: %s\n", EscapeControlCharacters(error.what()).c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

std::span<const CliCommand* const> Commands() { return kCommands; }

int RunCommandLine(const Arguments& args) {
  if (args.empty()) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string& name = args[0];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  for (const CliCommand* command : kCommands) {
    if (name == command->name) return Run(*command, Arguments(args.begin() + 1, args.end()));
  }
  std::fprintf(stderr, "palettor-cli: unknown command '%s'\n", name.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}

}  // namespace palettor::cli
