#pragma once
// Strict parsing of command-line values: whole decimal numbers and on/off switches.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace palettor::cli {

// An optional sign followed by decimal digits and nothing else, within [min, max].
std::optional<std::int32_t> ParseWholeNumber(std::string_view text, std::int32_t min, std::int32_t max);

// "on" or "off".
std::optional<bool> ParseOnOff(std::string_view text);

// Splits "--name=value" into its parts; a plain "--name" leaves `value` empty and returns false.
bool SplitInlineValue(std::string_view arg, std::string& name, std::string& value);

// When any argument is --help or -h, prints `help` on standard output and returns true.
bool PrintHelpIfAsked(const std::vector<std::string>& args, const char* help);

// Prints "palettor-cli: <message>" on standard error and returns kExitUsage.
int UsageError(const std::string& message);

}  // namespace palettor::cli
