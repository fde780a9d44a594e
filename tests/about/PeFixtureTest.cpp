// The three calls on Windows executables and libraries produced by a real resource compiler. The
// expected answers are the ones the fixtures' .rc scripts spell out.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ByteSource.h"
#include "CaseName.h"
#include "ExecutableResource.h"
#include "FixtureFiles.h"
#include "VersionApi.h"

namespace palettor {
namespace {

using test::Fixture;

// What the three calls give for one file.
struct FileAnswers {
  std::uint32_t size = 0;
  std::vector<std::uint8_t> buffer;

  explicit FileAnswers(const std::string& path) {
    std::uint32_t handle = 77;
    size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    if (size == 0) return;
    buffer.resize(size);
    EXPECT_TRUE(GetFileVersionInfoA(path.c_str(), handle, size, buffer.data()));
  }

  std::optional<std::string> Text(const std::string& path) const {
    void* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValueA(buffer.data(), path.c_str(), &value, &length)) return std::nullopt;
    return std::string(static_cast<const char*>(value));
  }

  std::optional<std::vector<std::uint8_t>> Binary(const char* path) const {
    void* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValueA(buffer.data(), path, &value, &length)) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    return std::vector<std::uint8_t>(bytes, bytes + length);
  }

  // Field `index` (0 = dwSignature) of the fixed record.
  std::uint32_t FixedField(int index) const {
    const auto record = Binary("\\");
    if (!record || record->size() < 52) {
      ADD_FAILURE() << "no fixed record";
      return 0;
    }
    return test::GetU32(record->data() + 4 * index);
  }
};

enum FixedIndex { kSignature = 0, kFileMs = 2, kFileLs, kProductMs, kProductLs, kMask, kFlags, kOs, kType };

// A case over each build of a fixture: named by the case and the file's ending ("-64.exe").
template <typename Case>
std::string FixtureCaseName(const ::testing::TestParamInfo<std::tuple<Case, const char*>>& info) {
  return test::IndexedName(info.index,
                           "_" + ::testing::PrintToString(std::get<0>(info.param)) + std::get<1>(info.param));
}

struct FixedCase {
  const char* file;  // without the -32/-64 suffix
  std::uint32_t fileMs, fileLs, productMs, productLs, mask, flags, os, type;
};

void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.file; }

class PeFixedRecord : public ::testing::TestWithParam<std::tuple<FixedCase, const char*>> {};

TEST_P(PeFixedRecord, IsTheRecordTheScriptDescribes) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto& [c, suffix] = GetParam();
  const FileAnswers answers(Fixture(std::string(c.file) + suffix));
  ASSERT_NE(answers.size, 0u);
  EXPECT_EQ(answers.FixedField(kSignature), 0xFEEF04BDu);
  EXPECT_EQ(answers.FixedField(kFileMs), c.fileMs);
  EXPECT_EQ(answers.FixedField(kFileLs), c.fileLs);
  EXPECT_EQ(answers.FixedField(kProductMs), c.productMs);
  EXPECT_EQ(answers.FixedField(kProductLs), c.productLs);
  EXPECT_EQ(answers.FixedField(kMask), c.mask);
  EXPECT_EQ(answers.FixedField(kFlags), c.flags);
  EXPECT_EQ(answers.FixedField(kOs), c.os);
  EXPECT_EQ(answers.FixedField(kType), c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PeFixedRecord,
    ::testing::Combine(
        ::testing::Values(FixedCase{"two_translations", 0x00020005, 0x00000001, 0x00020005, 0, 0x3F, 0, 0x40004, 2},
                          FixedCase{"neutral_translation", 0x00030001, 0x00040001, 0x00030001, 0, 0x3F, 0, 4, 1},
                          FixedCase{"all_flags", 0x00010000, 0x00060008, 0x00010000, 0x00060008, 0x3F, 0x3F, 4, 1},
                          FixedCase{"odd_flags", 0x00010002, 0x00030004, 0x00010002, 0x00030004, 0x3F, 0x52, 4, 1},
                          FixedCase{"unknown_flag", 0x00010000, 0, 0x00010000, 0, 0x7F, 0x40, 4, 1},
                          FixedCase{"no_file_version", 0x00010000, 0x00060008, 0x00030002, 0x00010000, 0x3F, 0, 4, 1},
                          FixedCase{"non_ascii", 0xFFFFFFFF, 0xFFFFFFFF, 0, 1, 0x3F, 0, 4, 1}),
        ::testing::Values("-64.exe", "-32.exe")),
    FixtureCaseName<FixedCase>);

INSTANTIATE_TEST_SUITE_P(Libraries, PeFixedRecord,
                         ::testing::Values(std::make_tuple(FixedCase{"all_flags", 0x00010000, 0x00060008, 0x00010000,
                                                                     0x00060008, 0x3F, 0x3F, 4, 1},
                                                           "-64.dll"),
                                           std::make_tuple(FixedCase{"two_translations", 0x00020005, 1, 0x00020005, 0,
                                                                     0x3F, 0, 0x40004, 2},
                                                           "-32.dll")),
                         FixtureCaseName<FixedCase>);

struct TextCase {
  const char* file;
  const char* path;
  const char* expected;  // null: the query fails
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.file << ' ';
  for (const char* p = c.path; *p != 0; ++p) *os << (*p == '\\' ? '/' : *p);
}

class PeText : public ::testing::TestWithParam<std::tuple<TextCase, const char*>> {};

TEST_P(PeText, IsTheValueTheScriptStores) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto& [c, suffix] = GetParam();
  const FileAnswers answers(Fixture(std::string(c.file) + suffix));
  ASSERT_NE(answers.size, 0u);
  const auto text = answers.Text(c.path);
  if (c.expected == nullptr) {
    EXPECT_FALSE(text.has_value());
  } else {
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PeText,
    ::testing::Combine(
        ::testing::Values(
            TextCase{"two_translations", "\\StringFileInfo\\080904E4\\CompanyName", "Quillon Ltd"},
            TextCase{"two_translations", "\\StringFileInfo\\080904e4\\web site", "www.quillon.example"},
            TextCase{"two_translations", "\\StringFileInfo\\040704B0\\CompanyName", "Quillon GmbH"},
            TextCase{"two_translations", "\\StringFileInfo\\040704b0\\PRODUCTNAME", "Zwilling"},
            TextCase{"two_translations", "\\StringFileInfo\\040704B0\\Web site", nullptr},
            TextCase{"two_translations", "\\StringFileInfo\\040904E4\\CompanyName", nullptr},
            TextCase{"neutral_translation", "\\StringFileInfo\\00000000\\CompanyName", "Neutral table"},
            TextCase{"neutral_translation", "\\StringFileInfo\\040904E4\\CompanyName", "US English table"},
            TextCase{"all_flags", "\\StringFileInfo\\080904E4\\PrivateBuild", "built by hand"},
            TextCase{"no_file_version", "\\StringFileInfo\\080904E4\\FileVersion", nullptr},
            TextCase{"no_file_version", "\\StringFileInfo\\080904E4\\ProductVersion", "1.0"},
            TextCase{"non_ascii", "\\StringFileInfo\\080904E4\\CompanyName",
                     "Stra\xC3\x9F"
                     "e & S\xC3\xB6hne"},
            TextCase{"non_ascii", "\\StringFileInfo\\080904E4\\FileDescription",
                     "\xCE\xA9mega \xE6\xBC\xA2\xE5\xAD\x97"},
            TextCase{"non_ascii", "\\StringFileInfo\\080904E4\\LegalCopyright", "\xC2\xA9 2001 \xF0\x9F\x8C\x88"},
            TextCase{"non_ascii", "\\StringFileInfo\\080904E4\\Comments", "broken \xEF\xBF\xBD pair"},
            TextCase{"non_ascii", "\\StringFileInfo\\080904E4\\ProductName", "Caf\xC3\xA9"},
            TextCase{"no_translation", "\\StringFileInfo\\040904E4\\ProductName", "Fallback"},
            TextCase{"no_translation", "\\StringFileInfo\\040904E4\\Empty", ""}),
        ::testing::Values("-64.exe", "-32.exe")),
    FixtureCaseName<TextCase>);

struct TranslationCase {
  const char* file;
  std::vector<std::uint8_t> expected;  // empty: the query fails
};

void PrintTo(const TranslationCase& c, std::ostream* os) { *os << c.file; }

class PeTranslation : public ::testing::TestWithParam<std::tuple<TranslationCase, const char*>> {};

TEST_P(PeTranslation, IsTheListAsStored) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto& [c, suffix] = GetParam();
  const FileAnswers answers(Fixture(std::string(c.file) + suffix));
  ASSERT_NE(answers.size, 0u);
  const auto list = answers.Binary("\\VarFileInfo\\Translation");
  if (c.expected.empty()) {
    EXPECT_FALSE(list.has_value());
  } else {
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PeTranslation,
                         ::testing::Combine(::testing::Values(TranslationCase{"two_translations",
                                                                              {0x09, 0x08, 0xE4, 0x04, 0x07, 0x04, 0xB0,
                                                                               0x04}},
                                                              TranslationCase{"neutral_translation", {0, 0, 0, 0}},
                                                              TranslationCase{"all_flags", {0x09, 0x08, 0xE4, 0x04}},
                                                              TranslationCase{"no_translation", {}}),
                                            ::testing::Values("-64.exe", "-32.exe")),
                         FixtureCaseName<TranslationCase>);

class PeWithoutVersion : public ::testing::TestWithParam<const char*> {};

TEST_P(PeWithoutVersion, HasNoVersionResource) {
  SKIP_WITHOUT_PE_FIXTURES();
  std::uint32_t handle = 0;
  EXPECT_EQ(GetFileVersionInfoSizeA(Fixture(GetParam()).c_str(), &handle), 0u);
  std::vector<std::uint8_t> buffer(4096);
  EXPECT_FALSE(GetFileVersionInfoA(Fixture(GetParam()).c_str(), 0, 4096, buffer.data()));
}

INSTANTIATE_TEST_SUITE_P(Files, PeWithoutVersion,
                         ::testing::Values("wrong_id-64.exe", "wrong_id-32.exe", "truncated-64.exe", "no-such-file.exe",
                                           "two_translations.o-not-there", ""),
                         test::CaseName<const char*>);

TEST(PeTruncation, NoPrefixOfAFileGivesADifferentBlock) {
  SKIP_WITHOUT_PE_FIXTURES();
  for (const char* name : {"two_translations-64.exe", "non_ascii-32.exe", "all_flags-64.dll"}) {
    const auto bytes = test::ReadWholeFile(Fixture(name));
    ASSERT_GT(bytes.size(), 1024u) << name;
    const auto full = ReadVersionBlock(MemoryByteSource(bytes));
    ASSERT_TRUE(full.has_value()) << name;
    for (std::size_t size = 0; size < bytes.size(); size += 7) {
      const auto block = ReadVersionBlock(MemoryByteSource(std::span(bytes).first(size)));
      if (size <= 1024) {
        EXPECT_FALSE(block.has_value()) << name << " cut at " << size;
      } else if (block) {
        EXPECT_EQ(*block, *full) << name << " cut at " << size;
      }
    }
  }
}

TEST(PeTruncation, BufferTooSmallForTheBlockIsRefused) {
  SKIP_WITHOUT_PE_FIXTURES();
  const std::string path = Fixture("two_translations-64.exe");
  std::uint32_t handle = 0;
  const std::uint32_t size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<std::uint8_t> buffer(size);
  EXPECT_FALSE(GetFileVersionInfoA(path.c_str(), handle, size - 1, buffer.data()));
  EXPECT_FALSE(GetFileVersionInfoA(path.c_str(), handle, size, nullptr));
}

// Damaged header fields of a real file: the answer is the block or nothing, never a fault.
TEST(PeCorruption, EveryHeaderByteDamagedGivesTheBlockOrNothing) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto original = test::ReadWholeFile(Fixture("two_translations-32.exe"));
  const auto full = ReadVersionBlock(MemoryByteSource(original));
  ASSERT_TRUE(full.has_value());
  // Headers, section table and resource directory all lie in the first 0x200 bytes and the
  // directory's first entries; damage each of them.
  for (std::size_t at = 0; at < std::min<std::size_t>(original.size(), 0x900); ++at) {
    for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x80}, std::uint8_t{0xFF}}) {
      auto bytes = original;
      bytes[at] = value;
      const auto block = ReadVersionBlock(MemoryByteSource(bytes));
      if (block) {
        EXPECT_GE(block->size(), 6u);
      }
    }
  }
}

}  // namespace
}  // namespace palettor
