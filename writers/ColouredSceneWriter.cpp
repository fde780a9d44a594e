#include "ColouredSceneWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <optional>

#include "OutputFile.h"
#include "SceneFileCopy.h"
#include "WriteRefusal.h"

namespace palettor {

namespace {

bool CopyFileInto(const QString& from, OutputFile& to, QString& reason) {
  QFile file(from);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return false;
  }
  QByteArray chunk;
  while (!(chunk = file.read(1 << 20)).isEmpty()) {
    if (!to.Write(chunk)) {
      reason = to.ErrorString();
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
  const std::optional<QString> direct = output.FileName();

  QTemporaryFile staging(QDir::tempPath() + QStringLiteral("/palettor-scene-XXXXXX"));
  if (!direct && !staging.open()) return Fail(staging.errorString());
  const std::string path = QFile::encodeName(direct ? *direct : staging.fileName()).toStdString();

  std::string reason;
  if (!CopySceneToFile(scene, driver, path, reason)) {
    const std::optional<QString> refusal = direct ? output.RefusalOfFileName() : WriteRefusal(staging.handle());
    return Fail(refusal.value_or(QString::fromStdString(reason)));
  }
  if (!direct) {
    QString copyReason;
    if (!CopyFileInto(staging.fileName(), output, copyReason)) return Fail(copyReason);
  }
  if (!output.Commit()) return Fail(output.ErrorString());
  return Succeed();
}

}  // namespace palettor
