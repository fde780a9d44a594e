#pragma once
#include "CliCommand.h"

namespace palettor::cli {

extern const CliCommand kSettingsCommand;

// The window's executable is named "palettor": its settings key and register entry follow that
// name, so palettor-cli acts under it whatever its own file name is.
constexpr const char* kWindowExecutableName = "palettor";
void ActAsWindowExecutable();

}  // namespace palettor::cli
