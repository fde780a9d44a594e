#pragma once
// The one way Palettor puts a file on disk (or on standard output).
//
// - "-" is standard output, and so are /dev/stdout, /dev/fd/1 and /proc/self/fd/1.
// - An existing entry that is not a regular file (a terminal, /dev/null, a FIFO) is written
//   into directly and never replaced; a directory is refused.
// - Anything else is written atomically: a temporary file beside the target is renamed over
//   it once complete, so the target is either all new or untouched. Where the folder does not
//   let us create that temporary file but the target itself is writable (a shared install's
//   viewer folder), the target is overwritten in place instead.
// - A symlink to a file is followed; the file keeps its mode.
// Failures carry the operating system's reason.
#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QIODevice;

namespace palettor {

class OutputFile {
 public:
  explicit OutputFile(QString target);
  ~OutputFile();  // without Commit the output is abandoned and an earlier file stays as it was
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Open();
  // After Open: the whole of `bytes`. False (and ErrorString) when they could not all be
  // written; the output is then abandoned.
  bool Write(const QByteArray& bytes);
  // Finishes the output; false (and ErrorString) when any write or the final step failed.
  bool Commit();
  QString ErrorString() const { return errorString_; }
  // Whether the target takes the bytes as they come (standard output, a device or FIFO, a file
  // whose folder does not let it be replaced) rather than being replaced at Commit by a file
  // written beside it. Known before Open; a file written in place is emptied by Open.
  bool WritesInPlace() const;
  // After Open, for a library that writes a file by name and reads back what it wrote (GDAL):
  // a name for the regular file being written, the temporary one beside the target or the
  // target in place; it may have no name of its own yet, so it is named through its
  // descriptor. Nothing for standard output, a device or a FIFO, which take bytes through
  // Write alone.
  std::optional<QString> FileName() const;

 private:
  bool Fail(QString reason);
  void Abandon();

  QString target_;
  std::unique_ptr<QIODevice> device_;
  bool atomic_ = false;
  QString errorString_;
};

// "-", /dev/stdout, /dev/fd/1 or /proc/self/fd/1: the names standard output goes by.
bool NamesStandardOutput(const QString& target);

}  // namespace palettor
