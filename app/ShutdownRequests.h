#pragma once
// The ways the outside world ends the program other than the window's own commands: SIGTERM
// (kill, systemd, a logout), SIGHUP (the terminal closed), SIGINT (Ctrl+C), and the desktop
// session ending. Each closes the window as File > Exit does, so the settings are stored once
// and the program exits with status 0.
#include <QObject>

class QSocketNotifier;

namespace palettor {

class TFormPalettor;

class ShutdownRequests final : public QObject {
  Q_OBJECT
 public:
  // Installs the signal handlers. One per process.
  explicit ShutdownRequests(TFormPalettor& window, QObject* parent = nullptr);
  ~ShutdownRequests() override;

 private:
  void CloseWindow();

  TFormPalettor& window_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace palettor
