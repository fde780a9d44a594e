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
  if (!optionsEnded_ && !AtEnd() && args_[index_] == "--") {
    optionsEnded_ = true;
    ++index_;
  }
  if (AtEnd()) return;
  const std::string& arg = args_[index_];
  if (optionsEnded_) return;  // an operand: no option name can match it
  if (arg == "--help" || arg == "-h") throw HelpRequest{};
  const auto eq = arg.find('=');
  if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
    name_ = arg.substr(0, eq);
    inlineValue_ = arg.substr(eq + 1);
  } else {
    name_ = arg;
  }
}

bool ArgumentCursor::IsOption() const {
  if (optionsEnded_ || AtEnd()) return false;
  const std::string& arg = args_[index_];
  return arg.size() > 1 && arg[0] == '-';
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

Arguments Operands(const Arguments& args) {
  Arguments operands;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) operands.push_back(arg.Raw());
  return operands;
}

}  // namespace palettor::cli
