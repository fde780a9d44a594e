#pragma once
// How a command says that the settings store let it down: "cannot read the settings store
// PATH: REASON" or "cannot write ...", exit status 1.
#include "CliCommand.h"
#include "RegistryBackend.h"

namespace palettor::cli {

CommandError CannotReadStore(const ERegistryException& error);
CommandError CannotWriteStore(const ERegistryException& error);

}  // namespace palettor::cli
