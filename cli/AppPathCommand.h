#pragma once
#include "CliCommand.h"

namespace palettor::cli {

extern const CliCommand kAppPathCommand;

}  // namespace palettor::cli
