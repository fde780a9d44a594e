#include "CommandList.h"

#include <array>
#include <cstdio>
#include <exception>
#include <string>

#include "ArgumentParsing.h"
#include "ControlCharacters.h"
#include "Output.h"
#include "ProgramVersion.h"

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
  COMMAND(kSceneInfoCommand)           \
  COMMAND(kSceneDensityCommand)        \
  COMMAND(kVersionInfoCommand)

#define PALETTOR_DECLARE_COMMAND(command) extern const CliCommand command;
PALETTOR_CLI_COMMANDS(PALETTOR_DECLARE_COMMAND)
#undef PALETTOR_DECLARE_COMMAND

namespace {

#define PALETTOR_LIST_COMMAND(command) &command,
const std::array kCommands{PALETTOR_CLI_COMMANDS(PALETTOR_LIST_COMMAND)};
#undef PALETTOR_LIST_COMMAND

std::string Usage() {
  std::string text = "Usage: palettor-cli COMMAND [ARGUMENTS]\n       palettor-cli --help | --version\n\nCommands:\n";
  for (const CliCommand* command : kCommands) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-38s %s\n", command->usage, command->summary);
    text += line;
  }
  return text + "\n'palettor-cli COMMAND --help' describes a command.\n";
}

bool IsHelpOption(const std::string& arg) { return arg == "--help" || arg == "-h"; }

int Report(const CommandError& error) {
  std::fflush(stdout);
  // Messages quote paths and store errors: kept to one line whatever they hold.
  std::fprintf(stderr, "palettor-cli: %s\n", EscapeControlCharacters(error.what()).c_str());
  return error.Status();
}

// What the program prints itself (help, the version) counts as output like a command's: a
// failed write is a failure.
int Print(const char* text) {
  try {
    std::fputs(text, stdout);
    FinishOutput();
  } catch (const CommandError& error) {
    return Report(error);
  }
  return kExitOk;
}

int Run(const CliCommand& command, const Arguments& args) {
  // --help first is help whatever follows; elsewhere the command's own reading of its arguments
  // decides, so that an option's value may be "--help".
  if (!args.empty() && IsHelpOption(args.front())) return Print(command.help());
  try {
    command.run(args);
  } catch (const HelpRequest&) {
    return Print(command.help());
  } catch (const CommandError& error) {
    return Report(error);
  } catch (const std::exception& error) {
    // Whatever a library below throws is a failure of the command, reported like any other.
    return Report(Failure(error.what()));
  }
  return kExitOk;
}

}  // namespace

std::span<const CliCommand* const> Commands() { return kCommands; }

int RunCommandLine(const Arguments& args) {
  if (args.empty()) {
    std::fputs(Usage().c_str(), stderr);
    return kExitUsage;
  }
  const std::string& name = args[0];
  if (IsHelpOption(name) || name == "help") return Print(Usage().c_str());
  if (name == "--version") return Print((std::string("palettor-cli ") + kProgramVersion + "\n").c_str());
  for (const CliCommand* command : kCommands) {
    if (name == command->name) return Run(*command, Arguments(args.begin() + 1, args.end()));
  }
  std::fprintf(stderr, "palettor-cli: unknown command '%s'\n", EscapeControlCharacters(name).c_str());
  std::fputs(Usage().c_str(), stderr);
  return kExitUsage;
}

}  // namespace palettor::cli
