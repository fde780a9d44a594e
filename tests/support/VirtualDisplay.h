#pragma once
// An X server of the test's own (Xvfb) on a display nobody else uses, ended when the test is
// done so that it removes its socket and lock again.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "RunProcess.h"

namespace palettor::test {

class VirtualDisplay {
 public:
  explicit VirtualDisplay(const std::string& screen = "1024x768x24");
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  static bool Installed();
  // Once the server has come up: its display name (":3").
  testing::AssertionResult Started();
  const std::string& Name() const { return name_; }

 private:
  std::unique_ptr<RunningProcess> server_;
  std::string name_;
};

}  // namespace palettor::test
