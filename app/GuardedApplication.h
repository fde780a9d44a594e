#pragma once
// The program's QApplication. An allocation that fails while an event is handled (a scene too
// large to colour, a copy too large to make) is said in a message box and that event dropped:
// the window goes on with what it showed and the session's palette is kept. Qt lets no
// exception cross its event loop, so notify() is where one is stopped.
#include <QApplication>
#include <functional>

namespace palettor {

// `deliver` run under the guard: its result, or false after `report` when it ran out of memory.
bool DeliverGuarded(const std::function<bool()>& deliver, const std::function<void()>& report);

class GuardedApplication final : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace palettor
