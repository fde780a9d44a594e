#include "RunningInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>

namespace palettor {

namespace {

constexpr int kAnswerWaitMs = 5000;
const QByteArray kForwardRequest = "forward\n";
const QByteArray kForwardAnswer = "ok\n";

QString RuntimeFolder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  return runtime.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(runtime);
}

}  // namespace

RunningInstance::RunningInstance(const QString& executableName)
    : path_(RuntimeFolder() + QStringLiteral("/palettor-%1-%2.socket").arg(::getuid()).arg(executableName)) {}

bool RunningInstance::AskRunningWindowForward() {
  QLocalSocket socket;
  socket.connectToServer(path_);
  // A socket file nobody listens on (its window ended) refuses at once.
  if (!socket.waitForConnected(kAnswerWaitMs)) return false;
  socket.write(kForwardRequest);
  socket.waitForBytesWritten(kAnswerWaitMs);
  // A window busy beyond the wait still runs: this start leaves all the same.
  while (socket.bytesAvailable() < kForwardAnswer.size() && socket.waitForReadyRead(kAnswerWaitMs)) {
  }
  return true;
}

bool RunningInstance::Listen(std::function<void()> forward) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(path_)) {
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
    QLocalServer::removeServer(path_);
    if (!server_.listen(path_)) return false;
  }
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this, forward = std::move(forward)] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, forward] {
        if (!socket->readAll().contains(kForwardRequest)) return;
        forward();
        socket->write(kForwardAnswer);
        socket->flush();
      });
    }
  });
  return true;
}

}  // namespace palettor
