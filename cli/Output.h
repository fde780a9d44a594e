#pragma once
// Standard output of the commands. Text that comes from the settings store or from a file goes
// through Untrusted(), so that no control character reaches the terminal or a reader of the
// lines as it is.
#include <string>
#include <string_view>

namespace palettor::cli {

// `text` with its control characters escaped (\n, \t, \x1b ...).
std::string Untrusted(std::string_view text);

// Flushes standard output; throws Failure when what was printed could not be written.
void FinishOutput();

}  // namespace palettor::cli
