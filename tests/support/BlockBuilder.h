#pragma once
// Builds version-information blocks for tests, byte by byte, the way resource compilers lay them out.
#include <cstdint>
#include <string>
#include <vector>

namespace palettor::test {

using Bytes = std::vector<std::uint8_t>;

struct TestNode {
  std::u16string key;
  Bytes value;
  std::uint16_t valueLength = 0;  // as stored: bytes, or UTF-16 units for text
  std::uint16_t type = 0;         // 1 text, 0 binary
  std::vector<TestNode> children;
};

TestNode Text(std::u16string key, const std::u16string& value);  // value stored with its NUL
TestNode Binary(std::u16string key, Bytes value);
TestNode Group(std::u16string key, std::vector<TestNode> children);
TestNode Fixed(std::uint32_t fileMs, std::uint32_t fileLs, std::uint32_t flags);  // the root, no children

Bytes Encode(const TestNode& node);

// Root with a fixed record, one string table `table` holding `strings`, and a translation list.
Bytes StandardBlock(const std::u16string& table, std::vector<TestNode> strings, const Bytes& translations);

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value);
void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const std::uint8_t* at);

}  // namespace palettor::test
