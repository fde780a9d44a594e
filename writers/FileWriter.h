#pragma once
// What every file writer has in common: each format is one class derived from FileWriter with
// a `bool Write(<what it writes>, const QString& target)` that returns false on failure, after
// which ErrorString() says why in the operating system's words. Writers put their bytes on
// disk through OutputFile, so "-", devices, FIFOs and the atomic replacement behave the same
// for every format.
#include <QByteArray>
#include <QString>

namespace palettor {

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Why the last Write failed; empty after one that succeeded.
  const QString& ErrorString() const { return errorString_; }

 protected:
  // The whole of `bytes` to `target`.
  bool WriteBytes(const QByteArray& bytes, const QString& target);
  bool Succeed();
  bool Fail(QString reason);

 private:
  QString errorString_;
};

}  // namespace palettor
