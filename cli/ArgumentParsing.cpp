#include "ArgumentParsing.h"

namespace palettor::cli {

std::optional<bool> ParseOnOff(std::string_view text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

void ArgumentCursor::Split() {
  inlineValue_.reset();
  name_.clear();
  if (AtEnd()) return;
  const std::string& arg = args_[index_];
  const auto eq = arg.find('=');
  if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
    name_ = arg.substr(0, eq);
    inlineValue_ = arg.substr(eq + 1);
  } else {
    name_ = arg;
  }
}

std::string ArgumentCursor::TakeValue(const std::string& missing) {
  if (inlineValue_) return *inlineValue_;
  if (index_ + 1 >= args_.size()) throw UsageError(missing);
  ++index_;
  const std::string value = args_[index_];
  return value;
}

void ArgumentCursor::ExpectNoValue() {
  if (inlineValue_) throw UsageError("'" + Raw() + "': " + name_ + " takes no value");
}

void ArgumentCursor::Next() {
  ++index_;
  Split();
}

}  // namespace palettor::cli
