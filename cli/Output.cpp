#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CliCommand.h"
#include "ControlCharacters.h"

namespace palettor::cli {

std::string Untrusted(std::string_view text) { return EscapeControlCharacters(text); }

void FinishOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    throw Failure(std::string("could not write to standard output: ") + std::strerror(errno));
  }
}

}  // namespace palettor::cli
