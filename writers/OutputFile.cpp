#include "OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace palettor {

namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

// The names the system gives standard output. Opened by name, a redirected standard output
// would be truncated or replaced by a new file; written through the descriptor it is used as the
// shell set it up (appended to with >>, a socket or pipe as it is), exactly as "-".
bool NamesStandardOutput(const QString& target) {
  return target == QLatin1String("-") || target == QLatin1String("/dev/stdout") ||
         target == QLatin1String("/dev/fd/1") || target == QLatin1String("/proc/self/fd/1");
}

OutputFile::OutputFile(QString target) : target_(std::move(target)) {}

OutputFile::~OutputFile() { Abandon(); }

void OutputFile::Abandon() {
  if (atomic_) static_cast<QSaveFile*>(device_.get())->cancelWriting();
  atomic_ = false;
  device_.reset();
}

bool OutputFile::Fail(QString reason) {
  errorString_ = std::move(reason);
  Abandon();
  return false;
}

bool OutputFile::WritesInPlace() const {
  if (NamesStandardOutput(target_)) return true;
  struct stat info {};
  if (::stat(QFile::encodeName(target_).constData(), &info) != 0) return false;  // a new file
  if (!S_ISREG(info.st_mode)) return true;
  // Where QSaveFile cannot create its file beside the target, it writes into the target.
  const QString folder = QFileInfo(QFileInfo(target_).canonicalFilePath()).absolutePath();
  return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0;
}

bool OutputFile::Open() {
  Abandon();
  errorString_.clear();
  if (target_.isEmpty()) return Fail(SystemReason(ENOENT));
  if (NamesStandardOutput(target_)) {
    auto file = std::make_unique<QFile>();
    if (!file->open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
      return Fail(file->errorString());
    }
    device_ = std::move(file);
    return true;
  }

  // stat follows symlinks: what counts is the entry the bytes would end up in.
  struct stat info {};
  const QByteArray native = QFile::encodeName(target_);
  if (::stat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return Fail(SystemReason(EISDIR));
    // Renaming a regular file over a device node or a FIFO would break whatever uses it.
    auto file = std::make_unique<QFile>(target_);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Fail(file->errorString());
    device_ = std::move(file);
    return true;
  }

  auto save = std::make_unique<QSaveFile>(target_);
  save->setDirectWriteFallback(true);
  if (!save->open(QIODevice::WriteOnly)) return Fail(save->errorString());
  device_ = std::move(save);
  atomic_ = true;
  return true;
}

std::optional<QString> OutputFile::FileName() const {
  const auto* file = qobject_cast<const QFileDevice*>(device_.get());
  struct stat info {};
  if (!file || NamesStandardOutput(target_) || ::fstat(file->handle(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return QStringLiteral("/proc/self/fd/%1").arg(file->handle());
}

bool OutputFile::Write(const QByteArray& bytes) {
  if (!device_) return Fail(SystemReason(EBADF));
  if (device_->write(bytes) != bytes.size()) return Fail(device_->errorString());
  return true;
}

bool OutputFile::Commit() {
  if (!device_) return Fail(SystemReason(EBADF));
  bool done = false;
  if (atomic_) {
    auto* save = static_cast<QSaveFile*>(device_.get());
    atomic_ = false;  // committed or failed, the temporary file is gone either way
    done = save->commit();
  } else {
    auto* file = static_cast<QFile*>(device_.get());
    done = file->flush() && file->error() == QFileDevice::NoError;
    if (done) file->close();
  }
  if (!done) return Fail(device_->errorString());
  device_.reset();
  return true;
}

}  // namespace palettor
