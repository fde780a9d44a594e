// What the program's QApplication does with an event that runs out of memory.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "GuardedApplication.h"

namespace palettor {
namespace {

TEST(GuardedApplication, AnEventThatRunsOutOfMemoryIsReportedAndDropped) {
  int reports = 0;
  const auto report = [&] { ++reports; };
  EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::bad_alloc(); }, report));
  EXPECT_EQ(reports, 1);
  // Everything else passes through as it was.
  EXPECT_TRUE(DeliverGuarded([] { return true; }, report));
  EXPECT_FALSE(DeliverGuarded([] { return false; }, report));
  EXPECT_EQ(reports, 1);
  EXPECT_THROW(DeliverGuarded([]() -> bool { throw std::runtime_error("not memory"); }, report), std::runtime_error);
}

}  // namespace
}  // namespace palettor
