#pragma once
// Strict reading of command-line arguments, as GNU programs read theirs: options written
// "--name value" or "--name=value", where a value is the next argument whatever it looks like
// (`--out --help` names a file "--help"); "--" ends the options; --help or -h where an option
// may stand asks for the command's help. On/off switches. Whole numbers: ParseWholeNumberIn
// (WholeNumber.h).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "CliCommand.h"

namespace palettor::cli {

// "on" or "off".
std::optional<bool> ParseOnOff(std::string_view text);

// Thrown by ArgumentCursor on --help or -h where an option may stand: the command's help is
// wanted instead of the command.
struct HelpRequest {};

// Walks a command's arguments one at a time. "--" itself is skipped; every argument after it
// is an operand. Throws HelpRequest when it arrives at --help or -h before "--".
class ArgumentCursor {
 public:
  explicit ArgumentCursor(const Arguments& args) : args_(args) { Split(); }

  bool AtEnd() const { return index_ >= args_.size(); }
  // The argument as typed.
  const std::string& Raw() const { return args_[index_]; }
  // For an option, its name without any "=value" ("--out" of "--out=x"); before "--" any other
  // argument as typed; after "--" empty, so that no option name matches an operand.
  const std::string& Name() const { return name_; }
  bool HasInlineValue() const { return inlineValue_.has_value(); }
  // Starts with '-' (and is not "-" alone, which names standard input or output) before "--".
  bool IsOption() const;

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
  bool optionsEnded_ = false;
  std::string name_;
  std::optional<std::string> inlineValue_;
};

// The operands of a command that takes no options (`settings set NAME VALUE`): every argument,
// a leading '-' included, with "--" dropped. Throws HelpRequest as ArgumentCursor does.
Arguments Operands(const Arguments& args);

}  // namespace palettor::cli
