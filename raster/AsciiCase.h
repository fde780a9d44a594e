#pragma once
// Names that ignore the case of ASCII letters: units ("K", "Kelvin", "DEGC"), extensions (".TIF").
#include <algorithm>
#include <cctype>
#include <string_view>

namespace palettor {

inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace palettor
