#pragma once
// Waiting for what another process, or the window's own event loop, brings about: the test
// waits for the event itself, never for a time, and gives up only at a deadline that no busy
// machine reaches, only a hang.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace palettor::test {

constexpr std::chrono::milliseconds kHangDeadline{60'000};

// Checks `happened` again and again until it holds. On failure says what was awaited.
inline testing::AssertionResult WaitFor(const std::string& what, const std::function<bool()>& happened,
                                        std::chrono::milliseconds deadline = kHangDeadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!happened()) {
    if (std::chrono::steady_clock::now() > end) {
      return testing::AssertionFailure() << "waited " << deadline.count() / 1000 << " s for " << what << ", in vain";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // another process's turn
  }
  return testing::AssertionSuccess();
}

}  // namespace palettor::test
