// GoogleTest under a QApplication, in a home of the process's own. Without a display the tests
// run on Qt's offscreen platform, also when CTest lists them at build time.
#include <gtest/gtest.h>

#include <QApplication>

#include "PrivateHome.h"

int main(int argc, char** argv) {
  const palettor::test::PrivateHome home;  // first made, last gone: Qt reads and writes in it
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
