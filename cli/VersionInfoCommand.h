#pragma once
#include <string>

#include "CliCommand.h"

namespace palettor::cli {

extern const CliCommand kVersionInfoCommand;

// The file version-info reads without a FILE argument: the window executable `palettor` beside
// `cliPath`, else at `buildTreePath` when that is not empty; empty when neither exists.
std::string DefaultVersionInfoFile(const std::string& cliPath, const std::string& buildTreePath);

}  // namespace palettor::cli
