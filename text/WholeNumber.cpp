#include "WholeNumber.h"

#include <limits>

namespace palettor {

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulated as a negative number, whose range reaches one further than the positive one.
  constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 - (c - '0');
    if (value < kLowest) return std::nullopt;
  }
  if (!negative) {
    if (-value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    value = -value;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseWholeNumberIn(std::string_view text, std::int32_t min, std::int32_t max) {
  const auto value = ParseWholeNumber(text);
  if (!value || *value < min || *value > max) return std::nullopt;
  return value;
}

}  // namespace palettor
