#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace palettor::test {

// A parameter as the test list shows it; a backslash there would upset CTest's reading of that list.
inline std::string Printable(std::string text) {
  for (char& c : text) {
    if (c == '\\') c = '|';
  }
  return text;
}

// Test names from the arguments, made of letters, digits and '_' only, and kept unique.
template <typename Param>
std::string CaseName(const ::testing::TestParamInfo<Param>& info) {
  std::string name = ::testing::PrintToString(info.param);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return std::to_string(info.index) + "_" + name;
}

}  // namespace palettor::test
