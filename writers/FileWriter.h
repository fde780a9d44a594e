#pragma once
// What every file writer has in common: each format is one class derived from FileWriter with
// a `bool Write(<what it writes>, const QString& target)` that returns false on failure, after
// which ErrorString() says why in the operating system's words. Writers put their bytes on
// disk through OutputFile, so "-", devices, FIFOs and the atomic replacement behave the same
// for every format.
#include <QByteArray>
#include <QString>
#include <span>

namespace palettor {

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Why the last Write failed; empty after one that succeeded.
  const QString& ErrorString() const { return errorString_; }
  // The target the last failed Write could not write; empty when it failed before writing any
  // (the content could not be made).
  const QString& FailedTarget() const { return failedTarget_; }

 protected:
  struct Output {
    QString target;
    QByteArray bytes;
  };

  // The whole of `bytes` to `target`.
  bool WriteBytes(const QByteArray& bytes, const QString& target);
  // Files that belong together: all of them written, or none of the targets changed. Every
  // file is complete before the first replaces its target, and standard output, devices and
  // FIFOs, which cannot be taken back, are written last. Only the system failing to put a
  // finished file in place after an earlier one was leaves the earlier one changed.
  bool WriteBytes(std::span<const Output> outputs);
  bool Succeed();
  bool Fail(QString reason);

 private:
  bool FailAt(const QString& target, QString reason);

  QString errorString_;
  QString failedTarget_;
};

}  // namespace palettor
