#include "WriteFailure.h"

#include "NativeFileName.h"

namespace palettor::cli {

CommandError CannotWrite(const std::string& out, const std::string& what, const QString& reason) {
  std::string where = out;
  if (out == "-") where = what.empty() ? "standard output" : what + " to standard output";
  // The reason may quote the file's name, as bytes that need not be UTF-8.
  return Failure("cannot write " + where + ": " + EncodeFileName(reason).toStdString());
}

}  // namespace palettor::cli
