#pragma once
// palettor-cli colourise --pairs FILE: many scenes in one process, one per line of FILE
// ("IR<TAB>VIS<TAB>OUT"; - reads standard input), coloured side by side on every core with the
// run's options. A line that fails is reported with its number and the rest go on; a progress
// line shows on a terminal.
#include <string>

#include "ColouriseOptions.h"

namespace palettor::cli {

// Throws Failure when the list cannot be read, and at the end when any scene failed (after
// all the others are written); UsageError when the table options cannot be used.
void ColourisePairs(const std::string& list, const SceneSettings& settings);

}  // namespace palettor::cli
