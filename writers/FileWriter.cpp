#include "FileWriter.h"

#include "OutputFile.h"

namespace palettor {

bool FileWriter::WriteBytes(const QByteArray& bytes, const QString& target) {
  QString reason;
  return WriteOutputFile(target, bytes, reason) ? Succeed() : Fail(std::move(reason));
}

bool FileWriter::Succeed() {
  errorString_.clear();
  return true;
}

bool FileWriter::Fail(QString reason) {
  errorString_ = std::move(reason);
  return false;
}

}  // namespace palettor
