#pragma once
// Strict reading of command-line arguments: options written "--name value" or "--name=value",
// on/off switches. Whole numbers: ParseWholeNumberIn (WholeNumber.h).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "CliCommand.h"

namespace palettor::cli {

// "on" or "off".
std::optional<bool> ParseOnOff(std::string_view text);

// Walks a command's arguments one at a time.
class ArgumentCursor {
 public:
  explicit ArgumentCursor(const Arguments& args) : args_(args) { Split(); }

  bool AtEnd() const { return index_ >= args_.size(); }
  // The argument as typed.
  const std::string& Raw() const { return args_[index_]; }
  // For an option, its name without any "=value" ("--out" of "--out=x"); else the argument.
  const std::string& Name() const { return name_; }
  bool HasInlineValue() const { return inlineValue_.has_value(); }

  // The current option's value: after its '=', else the next argument (consumed). Throws
  // UsageError(`missing`) when there is none.
  std::string TakeValue(const std::string& missing);
  // The current option takes no value; throws UsageError when one was given with '='.
  void ExpectNoValue();
  void Next();

 private:
  void Split();

  const Arguments& args_;
  std::size_t index_ = 0;
  std::string name_;
  std::optional<std::string> inlineValue_;
};

}  // namespace palettor::cli
