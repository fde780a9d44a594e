#include "GuardedApplication.h"

#include <QMessageBox>
#include <cstdio>
#include <new>

namespace palettor {

namespace {

void SayOutOfMemory() {
  // Saying it needs memory too; a failure while saying it is told on standard error instead.
  static bool saying = false;
  if (saying) return;
  saying = true;
  try {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Palettor"),
                          QApplication::translate("GuardedApplication",
                                                  "There is not enough memory for that. Palettor goes on with what "
                                                  "it showed; the palette is unchanged."));
  } catch (const std::bad_alloc&) {
    std::fputs("palettor: not enough memory for what was asked; the window goes on\n", stderr);
  }
  saying = false;
}

}  // namespace

bool DeliverGuarded(const std::function<bool()>& deliver, const std::function<void()>& report) {
  try {
    return deliver();
  } catch (const std::bad_alloc&) {
    report();
    return false;
  }
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  return DeliverGuarded([&] { return QApplication::notify(receiver, event); }, SayOutOfMemory);
}

}  // namespace palettor
