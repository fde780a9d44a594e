// Any bytes as palettor-cli's command line, split into arguments at NUL bytes, run as the program
// runs it: every command reads its arguments and, when they are good, does its work. Each run
// happens in a scratch folder that is the current folder while it runs, the home and every XDG
// folder, with an empty standard input and standard output discarded; an argument holding '/'
// could name a file elsewhere, so such command lines are not run. A command line must end in
// one of the program's exit statuses.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommandList.h"
#include "ScratchFolder.h"

namespace {

int g_fuzzerFolder = -1;  // libFuzzer names its corpus and findings relative to it

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  palettor::fuzz::MakeScratchFolder("palettor-fuzz-cli");
  g_fuzzerFolder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (g_fuzzerFolder < 0) std::abort();
  ::setenv("PALETTOR_STORE_BUSY_TIMEOUT_MS", "0", 1);
  const int null = ::open("/dev/null", O_RDWR);
  if (null < 0 || ::dup2(null, STDIN_FILENO) < 0 || ::dup2(null, STDOUT_FILENO) < 0) std::abort();
  ::close(null);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (text.find('/') != std::string::npos) return -1;  // not kept in the corpus
  palettor::cli::Arguments args;
  for (std::size_t start = 0; !text.empty() && start <= text.size();) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    args.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  palettor::fuzz::EmptyScratchFolder();
  if (::chdir(palettor::fuzz::ScratchFolder().c_str()) != 0) std::abort();
  const int status = palettor::cli::RunCommandLine(args);
  if (::fchdir(g_fuzzerFolder) != 0) std::abort();
  if (status != 0 && status != 1 && status != 2) std::abort();
  return 0;
}
