#pragma once
// How a command says that its output could not be written, exit status 1: "cannot write FILE:
// REASON", and for "-" "cannot write WHAT to standard output: REASON" ("cannot write standard
// output: REASON" when `what` is empty).
#include <string>

#include <QString>

#include "CliCommand.h"

namespace palettor::cli {

CommandError CannotWrite(const std::string& out, const std::string& what, const QString& reason);

}  // namespace palettor::cli
