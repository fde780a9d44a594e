// GoogleTest's main for every test program, in a home of the process's own.
#include <gtest/gtest.h>

#include "PrivateHome.h"

int main(int argc, char** argv) {
  const palettor::test::PrivateHome home;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
