#pragma once
// The PE fixtures built by windres and the mingw linker (tests/about/fixtures/*.rc); without
// the mingw-w64 binutils none are built, and the tests that read them skip.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// First in a test that reads the fixtures.
#define SKIP_WITHOUT_PE_FIXTURES() \
  if (!PALETTOR_PE_FIXTURES) GTEST_SKIP() << "no PE fixtures: the build found no mingw-w64 binutils"

namespace palettor::test {

inline std::string Fixture(const std::string& name) { return std::string(PALETTOR_FIXTURE_DIR) + "/" + name; }

// In one read: the instrumented test programs are tens of megabytes.
inline std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) bytes.clear();
  return bytes;
}

}  // namespace palettor::test
