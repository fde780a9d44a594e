#pragma once
// Standard output of the commands.

namespace palettor::cli {

// Flushes standard output; throws Failure when what was printed could not be written.
void FinishOutput();

}  // namespace palettor::cli
