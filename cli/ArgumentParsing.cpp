#include "ArgumentParsing.h"

#include <cstdio>

#include "CliCommand.h"

namespace palettor::cli {

std::optional<std::int32_t> ParseWholeNumber(std::string_view text, std::int32_t min, std::int32_t max) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < min || value > max) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<bool> ParseOnOff(std::string_view text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

bool SplitInlineValue(std::string_view arg, std::string& name, std::string& value) {
  const auto eq = arg.find('=');
  if (eq == std::string_view::npos) {
    name.assign(arg);
    value.clear();
    return false;
  }
  name.assign(arg.substr(0, eq));
  value.assign(arg.substr(eq + 1));
  return true;
}

bool PrintHelpIfAsked(const std::vector<std::string>& args, const char* help) {
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(help, stdout);
      return true;
    }
  }
  return false;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "palettor-cli: %s\n", message.c_str());
  return kExitUsage;
}

}  // namespace palettor::cli
