#pragma once
#include <span>

#include "CliCommand.h"

namespace palettor::cli {

// Every command, in the order the usage text lists them.
std::span<const CliCommand* const> Commands();

// Runs palettor-cli with `args` (the command name first) and returns its exit status.
int RunCommandLine(const Arguments& args);

}  // namespace palettor::cli
