#pragma once
// Whole decimal numbers as the program reads them everywhere: in the colour editor's boxes and
// on palettor-cli's command line.
#include <cstdint>
#include <optional>
#include <string_view>

namespace palettor {

// An optional '+' or '-' followed by one or more ASCII digits and nothing else (no spaces, no
// fraction, no exponent, no base prefix), whose value fits in 32 bits.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// The same, and within [min, max].
std::optional<std::int32_t> ParseWholeNumberIn(std::string_view text, std::int32_t min, std::int32_t max);

}  // namespace palettor
