#include "ShutdownRequests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>

#include "PalettorForm.h"

namespace palettor {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler only writes a byte into a pipe (the self-pipe trick); the event loop reads it
// and does the work, since nothing of Qt may run inside a signal handler.
int gPipe[2] = {-1, -1};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(gPipe[1], &byte, 1);  // a full pipe already says enough
  errno = saved;
}

}  // namespace

ShutdownRequests::ShutdownRequests(TFormPalettor& window, QObject* parent) : QObject(parent), window_(window) {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      char bytes[16];
      while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
      }
      CloseWindow();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
  }
  // The session manager asks each program to save its work before the session ends.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { CloseWindow(); });
}

// The handlers and the pipe stay until the process ends: a signal that arrives while the window
// stores its settings on the way out is absorbed instead of cutting the store short.
ShutdownRequests::~ShutdownRequests() = default;

void ShutdownRequests::CloseWindow() {
  // A dialog open over the window (Save As, a message, About) is dismissed first, as if the
  // user had cancelled it; then the window closes through its Exit command, asking nothing.
  for (int open = 0; open < 8; ++open) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->close()) break;
  }
  window_.CloseUnattended();
}

}  // namespace palettor
