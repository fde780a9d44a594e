#pragma once
#include "CliCommand.h"

namespace palettor::cli {

extern const CliCommand kRenderCommand;

}  // namespace palettor::cli
