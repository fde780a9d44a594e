#pragma once
// The one way Palettor puts a file on disk (or on standard output).
//
// - "-" is standard output, and so are /dev/stdout, /dev/fd/1 and /proc/self/fd/1.
// - An existing entry that is not a regular file (a terminal, /dev/null, a FIFO) is written
//   into directly and never replaced; a directory is refused.
// - Anything else is written atomically: a temporary file beside the target is renamed over
//   it once complete, so the target is either all new or untouched. Where the folder does not
//   let us create that temporary file but the target itself is writable (a shared install's
//   viewer folder), the target is overwritten in place instead, after room for the new bytes
//   has been reserved: a full disk or a file-size limit leaves the old file whole.
// - A symlink to a file is followed, also when the file does not exist yet; the file keeps its
//   mode. A symlink loop is refused ("Too many levels of symbolic links").
// - The target is a file name as DecodeFileName gives it (NativeFileName.h): any bytes.
// Failures carry the operating system's reason.
#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

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
  // written beside it. Known before Open; a file written in place keeps its bytes until Write.
  bool WritesInPlace() const;
  // After Open, for a library that writes a file by name and reads back what it wrote (GDAL):
  // a name for the temporary file beside the target, named through its descriptor. Nothing for
  // standard output, a device or a FIFO, and nothing for a target overwritten in place, which
  // take bytes through Write alone (in place, Write reserves room before the old bytes go).
  std::optional<QString> FileName() const;
  // After a failed write through FileName: the system's reason the file takes no more bytes.
  std::optional<QString> RefusalOfFileName() const;

 private:
  enum class Way {
    None,     // not open
    Stream,   // standard output, a device or a FIFO: the bytes go straight in
    Replace,  // written to `temporary_`, renamed over `final_` at Commit
    InPlace,  // `final_` itself: at Commit, room reserved, overwritten, cut to its new length
  };
  bool Fail(QString reason);
  bool FailWithSystemReason();  // the reason errno gives
  void Abandon();

  QString target_;
  std::string final_;      // the file replaced or overwritten, symlinks followed
  std::string temporary_;  // the file beside it that takes its place
  int fd_ = -1;
  Way way_ = Way::None;
  QByteArray inPlace_;  // in place, the bytes Commit writes once it has reserved room for all
  QString errorString_;
};

// "-", /dev/stdout, /dev/fd/1 or /proc/self/fd/1: the names standard output goes by.
bool NamesStandardOutput(const QString& target);

}  // namespace palettor
