#include "ColouredSceneWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryFile>
#include <optional>

#include "OutputFile.h"
#include "SceneFileCopy.h"

namespace palettor {

namespace {

// A name for the regular file behind an open descriptor, for a library that opens files by
// name; nothing for anything else. The file may have no name of its own yet (a temporary file
// is linked into its folder only when complete), so it is named through the descriptor.
std::optional<std::string> RegularFileName(int fd) {
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return "/proc/self/fd/" + std::to_string(fd);
}

bool CopyFileInto(const QString& from, QIODevice& to, QString& reason) {
  QFile file(from);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return false;
  }
  QByteArray chunk;
  while (!(chunk = file.read(1 << 20)).isEmpty()) {
    if (to.write(chunk) != chunk.size()) {
      reason = to.errorString();
      return false;
    }
  }
  if (file.error() != QFileDevice::NoError) {
    reason = file.errorString();
    return false;
  }
  return true;
}

}  // namespace

bool ColouredSceneWriter::Write(ColouredScene& scene, const std::string& driver, const QString& target) {
  OutputFile output(target);
  if (!output.Open()) return Fail(output.ErrorString());
  const auto* file = qobject_cast<QFileDevice*>(output.Device());
  // Standard output is written through as it is, even when the shell made it a file.
  std::optional<std::string> direct;
  if (file && !NamesStandardOutput(target)) direct = RegularFileName(file->handle());

  QTemporaryFile staging(QDir::tempPath() + QStringLiteral("/palettor-scene-XXXXXX"));
  if (!direct && !staging.open()) return Fail(staging.errorString());
  const std::string path = direct ? *direct : QFile::encodeName(staging.fileName()).toStdString();

  std::string reason;
  if (!CopySceneToFile(scene, driver, path, reason)) return Fail(QString::fromStdString(reason));
  if (!direct) {
    QString copyReason;
    if (!CopyFileInto(staging.fileName(), *output.Device(), copyReason)) return Fail(copyReason);
  }
  if (!output.Commit()) return Fail(output.ErrorString());
  return Succeed();
}

}  // namespace palettor
