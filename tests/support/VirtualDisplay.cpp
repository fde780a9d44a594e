#include "VirtualDisplay.h"

#include <signal.h>
#include <unistd.h>

#include "WaitFor.h"

namespace palettor::test {

namespace {
constexpr char kServer[] = "/usr/bin/Xvfb";
}

bool VirtualDisplay::Installed() { return ::access(kServer, X_OK) == 0; }

// The server picks a free display and writes its number to standard output once it listens.
VirtualDisplay::VirtualDisplay(const std::string& screen)
    : server_(std::make_unique<RunningProcess>(
          kServer, std::vector<std::string>{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", screen})) {}

VirtualDisplay::~VirtualDisplay() { server_->End(SIGTERM); }

testing::AssertionResult VirtualDisplay::Started() {
  if (!name_.empty()) return testing::AssertionSuccess();
  std::string number;
  const auto reported = WaitFor("Xvfb to report its display number", [&] {
    number = server_->OutputSoFar();
    return !number.empty() && number.back() == '\n';
  });
  if (!reported) return reported;
  name_ = ":" + number.substr(0, number.size() - 1);
  return testing::AssertionSuccess();
}

}  // namespace palettor::test
