#pragma once
// One window per user and executable: a later start asks the window already running to come
// forward and leaves. The two talk over a local socket in the user's runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder), named after the user and the executable, so
// that differently named copies (and their settings keys) each keep their own window.
#include <QLocalServer>
#include <QString>
#include <functional>

namespace palettor {

class RunningInstance {
 public:
  explicit RunningInstance(const QString& executableName);

  // Whether a window of this user and executable runs; if so, it has been asked to come forward.
  bool AskRunningWindowForward();

  // From now on later starts call `forward`. A socket left behind by a window that ended
  // without removing it (a crash, SIGKILL) is replaced. False when the socket cannot be made;
  // the window then runs without it.
  bool Listen(std::function<void()> forward);

  const QString& SocketPath() const { return path_; }

 private:
  QString path_;
  QLocalServer server_;
};

}  // namespace palettor
