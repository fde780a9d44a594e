// A process named by its identity runs for as long as that very process runs: not once it has
// ended (waited for or not), and not as another process that was given the same number.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "ChildProcess.h"
#include "ProcessIdentity.h"
#include "WaitFor.h"

namespace palettor {
namespace {

TEST(ProcessIdentity, NamesThisProcessAndNoOtherOne) {
  const std::string identity = ThisProcessIdentity();
  std::istringstream parts(identity);
  std::string boot;
  pid_t pid = 0;
  long long start = 0;
  ASSERT_TRUE(parts >> boot >> pid >> start) << identity;
  EXPECT_EQ(pid, ::getpid());
  EXPECT_TRUE(ProcessRuns(identity));

  const std::string sameNumberLater = boot + ' ' + std::to_string(pid) + ' ' + std::to_string(start + 1);
  const std::string sameNumberOtherBoot = "another-boot " + std::to_string(pid) + ' ' + std::to_string(start);
  for (const std::string& other : {sameNumberLater, sameNumberOtherBoot, std::string(), std::string("x y z")}) {
    EXPECT_FALSE(ProcessRuns(other)) << other;
  }
}

TEST(ProcessIdentity, AnEndedProcessNoLongerRunsBeforeOrAfterItIsWaitedFor) {
  int release[2];
  ASSERT_EQ(::pipe(release), 0);
  const pid_t child = test::Spawn([&] {
    char byte = 0;
    return static_cast<int>(::read(release[0], &byte, 1));
  });
  const std::string identity = ProcessIdentity(child);
  EXPECT_TRUE(ProcessRuns(identity)) << identity;

  ASSERT_EQ(::write(release[1], "x", 1), 1);
  ASSERT_TRUE(test::WaitFor("the child to end", [&] { return !ProcessRuns(identity); }));
  EXPECT_EQ(test::Wait(child), 1);
  EXPECT_FALSE(ProcessRuns(identity));
  EXPECT_EQ(ProcessIdentity(child), "");
  ::close(release[0]);
  ::close(release[1]);
}

}  // namespace
}  // namespace palettor
