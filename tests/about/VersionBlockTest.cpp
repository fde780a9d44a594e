// The block parser and the buffer the Windows-style calls hand out, on blocks built byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "BlockBuilder.h"
#include "CaseName.h"
#include "VersionApi.h"
#include "VersionBlock.h"

namespace palettor {
namespace {

using test::Bytes;

const Bytes kUkTranslation = {0x09, 0x08, 0xE4, 0x04};

Bytes SampleBlock() {
  return test::StandardBlock(u"080904E4",
                             {test::Text(u"CompanyName", u"Quillon"), test::Text(u"Web site", u"www.quillon.example"),
                              test::Text(u"Comments", u"2001 Dec 12")},
                             kUkTranslation);
}

// The block as GetFileVersionInfoA lays it out.
std::vector<std::uint8_t> Buffer(const Bytes& block) {
  std::vector<std::uint8_t> buffer(VersionBufferSize(block.size()));
  EXPECT_TRUE(FillVersionBuffer(block, buffer));
  return buffer;
}

std::optional<std::string> QueryText(const std::vector<std::uint8_t>& buffer, const char* path) {
  void* value = nullptr;
  std::uint32_t length = 0;
  if (!VerQueryValueA(buffer.data(), path, &value, &length)) return std::nullopt;
  return std::string(static_cast<const char*>(value));
}

struct PathCase {
  const char* path;
  const char* expected;  // null: the query fails
};

// Backslashes would be taken as escapes in the test names CTest registers.
void PrintTo(const PathCase& c, std::ostream* os) {
  for (const char* p = c.path; *p != 0; ++p) *os << (*p == '\\' ? '/' : *p);
}

class TextQuery : public ::testing::TestWithParam<PathCase> {};

TEST_P(TextQuery, AnswersLikeTheWindowsCall) {
  const auto buffer = Buffer(SampleBlock());
  const auto text = QueryText(buffer, GetParam().path);
  if (GetParam().expected == nullptr) {
    EXPECT_FALSE(text.has_value());
  } else {
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, TextQuery,
                         ::testing::Values(PathCase{"\\StringFileInfo\\080904E4\\CompanyName", "Quillon"},
                                           PathCase{"\\stringfileinfo\\080904e4\\companyname", "Quillon"},
                                           PathCase{"\\STRINGFILEINFO\\080904E4\\COMPANYNAME", "Quillon"},
                                           PathCase{"\\StringFileInfo\\080904E4\\web SITE", "www.quillon.example"},
                                           PathCase{"\\\\StringFileInfo\\\\080904E4\\Comments\\", "2001 Dec 12"},
                                           PathCase{"StringFileInfo\\080904E4\\Comments", "2001 Dec 12"},
                                           PathCase{"\\StringFileInfo\\080904E4\\Company", nullptr},
                                           PathCase{"\\StringFileInfo\\080904E4\\CompanyNameX", nullptr},
                                           PathCase{"\\StringFileInfo\\040904E4\\CompanyName", nullptr},
                                           PathCase{"\\StringFileInfo\\080904E4\\Web", nullptr},
                                           PathCase{"\\VarFileInfo\\080904E4\\CompanyName", nullptr}),
                         test::CaseName<PathCase>);

TEST(VersionQuery, RootGivesTheWholeFixedRecord) {
  const auto buffer = Buffer(SampleBlock());
  void* value = nullptr;
  std::uint32_t length = 0;
  ASSERT_TRUE(VerQueryValueA(buffer.data(), "\\", &value, &length));
  ASSERT_EQ(length, 52u);
  const auto* record = static_cast<const std::uint8_t*>(value);
  EXPECT_EQ(test::GetU32(record), 0xFEEF04BDu);
  EXPECT_EQ(test::GetU32(record + 8), 0x00010000u);
  EXPECT_EQ(test::GetU32(record + 12), 0x00060008u);
}

TEST(VersionQuery, RootWithoutACompleteRecordFails) {
  test::TestNode root = test::Binary(u"VS_VERSION_INFO", Bytes(20, 0xAB));
  root.children.push_back(test::Group(u"VarFileInfo", {test::Binary(u"Translation", kUkTranslation)}));
  const auto buffer = Buffer(test::Encode(root));
  void* value = nullptr;
  std::uint32_t length = 0;
  EXPECT_FALSE(VerQueryValueA(buffer.data(), "\\", &value, &length));
  EXPECT_TRUE(VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &value, &length));
}

TEST(VersionQuery, RootMarkedAsTextStillGivesTheStoredRecord) {
  Bytes block = SampleBlock();
  test::PutU16(block, 4, 1);       // wType: text
  test::PutU16(block, 2, 52 / 2);  // wValueLength in UTF-16 units, so the value stays 52 bytes
  const auto buffer = Buffer(block);
  void* value = nullptr;
  std::uint32_t length = 0;
  ASSERT_TRUE(VerQueryValueA(buffer.data(), "\\", &value, &length));
  EXPECT_EQ(length, 52u);
  EXPECT_EQ(test::GetU32(static_cast<const std::uint8_t*>(value)), 0xFEEF04BDu);
}

TEST(VersionQuery, TranslationListIsHandedOutAsStored) {
  const Bytes two = {0x00, 0x00, 0x00, 0x00, 0x07, 0x04, 0xB0, 0x04};
  const auto buffer = Buffer(test::StandardBlock(u"00000000", {}, two));
  void* value = nullptr;
  std::uint32_t length = 0;
  ASSERT_TRUE(VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 8u);
  EXPECT_EQ(0, std::memcmp(value, two.data(), two.size()));
}

TEST(VersionQuery, TextEndsAtItsFirstNul) {
  const auto buffer = Buffer(test::StandardBlock(
      u"080904E4", {test::Text(u"Comments", std::u16string(u"first\0second", 12))}, kUkTranslation));
  EXPECT_EQ(QueryText(buffer, "\\StringFileInfo\\080904E4\\Comments"), "first");
}

TEST(VersionQuery, TextLengthCountingBytesInsteadOfUnitsIsClampedToTheNode) {
  test::TestNode value = test::Text(u"Comments", u"abc");
  value.valueLength = 500;  // claims far more than the node holds
  const auto buffer = Buffer(test::StandardBlock(u"080904E4", {value, test::Text(u"After", u"z")}, kUkTranslation));
  EXPECT_EQ(QueryText(buffer, "\\StringFileInfo\\080904E4\\Comments"), "abc");
}

TEST(VersionQuery, StringsStoredAsBinaryAreStillText) {
  test::TestNode value = test::Text(u"Comments", u"typed as binary");
  value.type = 0;
  value.valueLength = static_cast<std::uint16_t>(value.value.size());
  const auto buffer = Buffer(test::StandardBlock(u"080904E4", {value}, kUkTranslation));
  EXPECT_EQ(QueryText(buffer, "\\StringFileInfo\\080904E4\\Comments"), "typed as binary");
}

TEST(VersionQuery, EmptyTextIsFoundAndEmpty) {
  const auto buffer = Buffer(test::StandardBlock(u"080904E4", {test::Text(u"Empty", u"")}, kUkTranslation));
  EXPECT_EQ(QueryText(buffer, "\\StringFileInfo\\080904E4\\Empty"), "");
}

TEST(VersionQuery, NullArgumentsFail) {
  const auto buffer = Buffer(SampleBlock());
  void* value = nullptr;
  std::uint32_t length = 0;
  EXPECT_FALSE(VerQueryValueA(nullptr, "\\", &value, &length));
  EXPECT_FALSE(VerQueryValueA(buffer.data(), nullptr, &value, &length));
  EXPECT_FALSE(VerQueryValueA(buffer.data(), "\\", nullptr, &length));
}

TEST(VersionBuffer, RefusesABlockWhoseLengthDisagreesOrABufferTooSmall) {
  Bytes block = SampleBlock();
  std::vector<std::uint8_t> buffer(VersionBufferSize(block.size()));
  EXPECT_FALSE(FillVersionBuffer(block, std::span(buffer).first(buffer.size() - 1)));
  test::PutU16(block, 0, static_cast<std::uint16_t>(block.size() - 4));
  EXPECT_FALSE(FillVersionBuffer(block, buffer));
  EXPECT_FALSE(FillVersionBuffer(Bytes{4, 0, 0, 0}, buffer));
}

// ---- UTF-16 to UTF-8 ----

struct Utf16Case {
  std::u16string in;
  std::string out;
};

void PrintTo(const Utf16Case& c, std::ostream* os) {
  for (char16_t unit : c.in) *os << std::hex << static_cast<unsigned>(unit) << ' ';
}

class Utf16Conversion : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16Conversion, GivesUtf8) {
  Bytes bytes;
  for (char16_t unit : GetParam().in) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  EXPECT_EQ(Utf16ToUtf8(bytes), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16Conversion,
                         ::testing::Values(Utf16Case{u"", ""}, Utf16Case{u"Palettor", "Palettor"},
                                           Utf16Case{u"\u00E9", "\xC3\xA9"},
                                           Utf16Case{u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
                                           Utf16Case{u"\u20AC", "\xE2\x82\xAC"}, Utf16Case{u"\uFFFF", "\xEF\xBF\xBF"},
                                           Utf16Case{u"\U0001F600", "\xF0\x9F\x98\x80"},
                                           Utf16Case{u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
                                           Utf16Case{std::u16string(1, char16_t{0xD800}), "\xEF\xBF\xBD"},
                                           Utf16Case{std::u16string{char16_t{0xDC00}, u'a'},
                                                     "\xEF\xBF\xBD"
                                                     "a"},
                                           Utf16Case{std::u16string{char16_t{0xD83D}, u'a'},
                                                     "\xEF\xBF\xBD"
                                                     "a"},
                                           Utf16Case{std::u16string(u"ab\0cd", 5), "ab"}),
                         test::CaseName<Utf16Case>);

TEST(Utf16Conversion, OddTrailingByteIsIgnored) { EXPECT_EQ(Utf16ToUtf8(Bytes{'a', 0, 'b'}), "a"); }

TEST(Utf16Conversion, StopsBeforeACharacterThatDoesNotFit) {
  const Bytes euroTwice = {0xAC, 0x20, 0xAC, 0x20};
  char out[5];
  EXPECT_EQ(Utf16ToUtf8(euroTwice, out), 3u);
}

// ---- Hostile blocks ----

// Every answer must lie inside the block, whatever the block says about itself.
void ExpectAnswersInside(std::span<const std::uint8_t> block) {
  for (const char* path : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\080904E4\\CompanyName",
                           "\\StringFileInfo\\080904E4\\Web site", "\\StringFileInfo\\080904E4\\Comments",
                           "\\StringFileInfo\\080904E4", "\\StringFileInfo"}) {
    const auto value = QueryVersionBlock(block, path);
    if (!value) continue;
    EXPECT_LE(value->offset, block.size()) << path;
    EXPECT_LE(value->size, block.size() - value->offset) << path;
  }
  ForEachTextValue(block, [&](const VersionValue& value) { EXPECT_LE(value.offset + value.size, block.size()); });
}

// The buffer built from a damaged block answers every query with text that ends inside the buffer.
void ExpectBufferSafe(Bytes block) {
  if (block.size() < 6 || block.size() > 0xFFFF) return;
  test::PutU16(block, 0, static_cast<std::uint16_t>(block.size()));
  std::vector<std::uint8_t> buffer(VersionBufferSize(block.size()));
  ASSERT_TRUE(FillVersionBuffer(block, buffer));
  for (const char* path : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\080904E4\\CompanyName",
                           "\\StringFileInfo\\080904E4\\Comments"}) {
    void* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValueA(buffer.data(), path, &value, &length)) continue;
    const auto* at = static_cast<const std::uint8_t*>(value);
    ASSERT_GE(at, buffer.data());
    ASSERT_LE(at + length, buffer.data() + buffer.size()) << path;
  }
}

TEST(HostileBlock, EveryTruncationIsAnsweredInsideTheBytes) {
  const Bytes block = SampleBlock();
  for (std::size_t size = 0; size <= block.size(); ++size) {
    ExpectAnswersInside(std::span(block).first(size));
    ExpectBufferSafe(Bytes(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size)));
  }
}

TEST(HostileBlock, EverySingleByteCorruptionIsAnsweredInsideTheBytes) {
  const Bytes original = SampleBlock();
  for (std::size_t at = 0; at < original.size(); ++at) {
    for (std::uint8_t replacement : {std::uint8_t{0x00}, std::uint8_t{0x01}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
      Bytes block = original;
      block[at] = replacement;
      ExpectAnswersInside(block);
      ExpectBufferSafe(block);
    }
  }
}

TEST(HostileBlock, ZeroLengthChildEndsTheWalk) {
  Bytes block = SampleBlock();
  // The first child of the root starts right after the fixed record.
  const auto strings = QueryVersionBlock(block, "\\StringFileInfo");
  ASSERT_TRUE(strings.has_value());
  const std::size_t childStart = 92;  // 6 + "VS_VERSION_INFO\0" (32) + pad (2) + record (52)
  ASSERT_EQ(block[childStart + 6], 'S');
  test::PutU16(block, childStart, 0);
  EXPECT_FALSE(QueryVersionBlock(block, "\\StringFileInfo").has_value());
  EXPECT_FALSE(QueryVersionBlock(block, "\\VarFileInfo\\Translation").has_value());
  EXPECT_TRUE(QueryVersionBlock(block, "\\").has_value());
}

TEST(HostileBlock, KeyWithoutItsNulIsNotMatched) {
  test::TestNode root = test::Fixed(0, 0, 0);
  Bytes block = test::Encode(root);
  // Overwrite the root key's terminating NUL and everything after it with letters.
  for (std::size_t i = 6 + 30; i < block.size(); i += 2) test::PutU16(block, i, u'X');
  EXPECT_FALSE(QueryVersionBlock(block, "\\").has_value());
}

TEST(HostileBlock, DeepNestingIsNotFollowedForText) {
  test::TestNode deepest = test::Text(u"k", u"deep");
  for (int i = 0; i < 20; ++i) deepest = test::Group(u"g", {deepest});
  test::TestNode root = test::Fixed(0, 0, 0);
  root.children.push_back(deepest);
  const Bytes block = test::Encode(root);
  int visited = 0;
  ForEachTextValue(block, [&](const VersionValue&) { ++visited; });
  EXPECT_LE(visited, 9);
  ExpectBufferSafe(block);
}

}  // namespace
}  // namespace palettor
