#include "BlockBuilder.h"

namespace palettor::test {

namespace {

void AppendUtf16(Bytes& out, const std::u16string& text) {
  for (char16_t unit : text) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  out.push_back(0);
  out.push_back(0);
}

void Pad4(Bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

}  // namespace

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

TestNode Text(std::u16string key, const std::u16string& value) {
  TestNode node{std::move(key), {}, 0, 1, {}};
  node.value.clear();
  for (char16_t unit : value) {
    node.value.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    node.value.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  node.value.push_back(0);
  node.value.push_back(0);
  node.valueLength = static_cast<std::uint16_t>(value.size() + 1);
  return node;
}

TestNode Binary(std::u16string key, Bytes value) {
  const auto length = static_cast<std::uint16_t>(value.size());
  return TestNode{std::move(key), std::move(value), length, 0, {}};
}

TestNode Group(std::u16string key, std::vector<TestNode> children) {
  return TestNode{std::move(key), {}, 0, 1, std::move(children)};
}

TestNode Fixed(std::uint32_t fileMs, std::uint32_t fileLs, std::uint32_t flags) {
  Bytes record(52, 0);
  PutU32(record, 0, 0xFEEF04BD);
  PutU32(record, 4, 0x00010000);
  PutU32(record, 8, fileMs);
  PutU32(record, 12, fileLs);
  PutU32(record, 16, fileMs);
  PutU32(record, 20, fileLs);
  PutU32(record, 24, 0x3F);
  PutU32(record, 28, flags);
  PutU32(record, 32, 4);
  PutU32(record, 36, 1);
  return Binary(u"VS_VERSION_INFO", record);
}

Bytes Encode(const TestNode& node) {
  Bytes out(6, 0);
  AppendUtf16(out, node.key);
  Pad4(out);
  out.insert(out.end(), node.value.begin(), node.value.end());
  for (const TestNode& child : node.children) {
    Pad4(out);
    const Bytes encoded = Encode(child);
    out.insert(out.end(), encoded.begin(), encoded.end());
  }
  PutU16(out, 0, static_cast<std::uint16_t>(out.size()));
  PutU16(out, 2, node.valueLength);
  PutU16(out, 4, node.type);
  return out;
}

Bytes StandardBlock(const std::u16string& table, std::vector<TestNode> strings, const Bytes& translations) {
  TestNode root = Fixed(0x00010000, 0x00060008, 0);
  root.children.push_back(Group(u"StringFileInfo", {Group(table, std::move(strings))}));
  root.children.push_back(Group(u"VarFileInfo", {Binary(u"Translation", translations)}));
  return Encode(root);
}

}  // namespace palettor::test
