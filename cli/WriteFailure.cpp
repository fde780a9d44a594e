#include "WriteFailure.h"

namespace palettor::cli {

CommandError CannotWrite(const std::string& out, const std::string& what, const QString& reason) {
  std::string where = out;
  if (out == "-") where = what.empty() ? "standard output" : what + " to standard output";
  return Failure("cannot write " + where + ": " + reason.toStdString());
}

}  // namespace palettor::cli
