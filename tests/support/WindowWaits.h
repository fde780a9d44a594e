#pragma once
// Waiting for a window to be shown or to take the keyboard: as long as it takes, up to the
// deadline only a hang reaches (Qt Test's own gives up after 5 s, which a busy machine can pass).
#include <QTest>
#include <QWidget>

#include "WaitFor.h"

namespace palettor::test {

inline bool WaitUntilExposed(QWidget* window) {
  return QTest::qWaitForWindowExposed(window, static_cast<int>(kHangDeadline.count()));
}

inline bool WaitUntilActive(QWidget* window) {
  return QTest::qWaitForWindowActive(window, static_cast<int>(kHangDeadline.count()));
}

}  // namespace palettor::test
