#pragma once
#include <string>

namespace palettor::cli {

// The file version-info reads without a FILE argument: the window executable `palettor` beside
// `cliPath`, else at `buildTreePath` when that is not empty; empty when neither exists.
std::string DefaultVersionInfoFile(const std::string& cliPath, const std::string& buildTreePath);

}  // namespace palettor::cli
