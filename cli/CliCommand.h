#pragma once
// A sub-command of palettor-cli. Each lives in its own file, defines one `const CliCommand`
// and is listed once in CommandList.cpp. The definition is `extern const CliCommand kNameCommand{...}`:
// without `extern` a namespace-scope const would be private to its file.
//
// A command that returns has succeeded (exit status 0). A command fails by throwing a
// CommandError - UsageError for arguments it cannot accept (exit 2, nothing done), Failure
// for anything that went wrong while doing it (exit 1) - whose message the dispatcher prints
// as one line "palettor-cli: <message>" on standard error.
#include <stdexcept>
#include <string>
#include <vector>

namespace palettor::cli {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

using Arguments = std::vector<std::string>;

struct CliCommand {
  const char* name;
  const char* usage;    // "render --out FILE|- [options]", shown in the command list
  const char* summary;  // one line saying what it does
  // The whole text of `palettor-cli <name> --help`; a function, as some texts are built from tables.
  const char* (*help)();
  void (*run)(const Arguments& args);  // args after the command name
};

class CommandError : public std::runtime_error {
 public:
  CommandError(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
  ExitStatus Status() const { return status_; }

 private:
  ExitStatus status_;
};

inline CommandError UsageError(const std::string& message) { return {kExitUsage, message}; }
inline CommandError Failure(const std::string& message) { return {kExitFailure, message}; }

}  // namespace palettor::cli
