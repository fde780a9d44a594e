#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <string>

namespace palettor::test {

// A parameter as the test list shows it; a backslash there would upset CTest's reading of that list.
inline std::string Printable(std::string text) {
  for (char& c : text) {
    if (c == '\\') c = '|';
  }
  return text;
}

// A test name from a case's index and a description: letters, digits and single '_' only, short
// enough to read, and unique through the index.
inline std::string IndexedName(std::size_t index, const std::string& description) {
  constexpr std::size_t kLongest = 64;
  std::string name = std::to_string(index);
  for (const char c : description) {
    if (name.size() >= kLongest) break;
    const bool kept = std::isalnum(static_cast<unsigned char>(c)) != 0;
    if (kept) {
      name += c;
    } else if (name.back() != '_') {
      name += '_';
    }
  }
  if (name.back() == '_') name.pop_back();
  return name;
}

// Test names from the arguments as GoogleTest prints them (give a case type a PrintTo).
template <typename Param>
std::string CaseName(const ::testing::TestParamInfo<Param>& info) {
  return IndexedName(info.index, "_" + ::testing::PrintToString(info.param));
}

}  // namespace palettor::test
