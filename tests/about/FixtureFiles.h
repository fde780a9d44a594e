#pragma once
// The PE fixtures built by windres and the mingw linker (tests/about/fixtures/*.rc).
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace palettor::test {

inline std::string Fixture(const std::string& name) { return std::string(PALETTOR_FIXTURE_DIR) + "/" + name; }

inline std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace palettor::test
