// The version resource the build stores in the project's own ELF executables (this test program
// carries it too), and the ELF reader on damaged and 32-bit files.
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ByteSource.h"
#include "CaseName.h"
#include "ExecutablePath.h"
#include "ExecutableResource.h"
#include "FixtureFiles.h"
#include "VersionApi.h"
#include "VersionBlock.h"

namespace palettor {
namespace {

std::vector<std::uint8_t> OwnExecutable() { return test::ReadWholeFile(RunningExecutablePath()); }

std::vector<std::uint8_t> OwnBlock() {
  FileByteSource file;
  EXPECT_EQ(file.Open(RunningExecutablePath()), "");
  const auto block = ReadVersionBlock(file);
  EXPECT_TRUE(block.has_value());
  return block.value_or(std::vector<std::uint8_t>{});
}

TEST(EmbeddedResource, IsTheBlockWindresBuildsFromTheSameDescription) {
  SKIP_WITHOUT_PE_FIXTURES();
  // Two independent producers: the project's generator (ELF section) and the resource compiler
  // (PE fixture compiled from the .rc the generator writes for the same description).
  const auto pe = ReadVersionBlock(MemoryByteSource(test::ReadWholeFile(test::Fixture("palettor-64.exe"))));
  ASSERT_TRUE(pe.has_value());
  EXPECT_EQ(OwnBlock(), *pe);
}

TEST(EmbeddedResource, IsTheGeneratedBlockFile) {
  EXPECT_EQ(OwnBlock(), test::ReadWholeFile(PALETTOR_VERSION_BLOCK_FILE));
}

TEST(EmbeddedResource, FixedRecordIsVersion1068ForWin32Applications) {
  const auto block = OwnBlock();
  const auto fixed = QueryVersionBlock(block, "\\");
  ASSERT_TRUE(fixed.has_value());
  ASSERT_EQ(fixed->size, 52u);
  const std::uint8_t* r = block.data() + fixed->offset;
  EXPECT_EQ(test::GetU32(r), 0xFEEF04BDu);
  EXPECT_EQ(test::GetU32(r + 8), 0x00010000u);   // file version 1.0
  EXPECT_EQ(test::GetU32(r + 12), 0x00060008u);  // .6.8
  EXPECT_EQ(test::GetU32(r + 16), 0x00010000u);  // product version 1.0
  EXPECT_EQ(test::GetU32(r + 20), 0x00060008u);  // .6.8
  EXPECT_EQ(test::GetU32(r + 24), 0x3Fu);
  EXPECT_EQ(test::GetU32(r + 28), 0u);
  EXPECT_EQ(test::GetU32(r + 32), 4u);
  EXPECT_EQ(test::GetU32(r + 36), 1u);
}

TEST(EmbeddedResource, HasOneUkEnglishWindowsLatin1Translation) {
  const auto block = OwnBlock();
  const auto list = QueryVersionBlock(block, "\\VarFileInfo\\Translation");
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->size, 4u);
  EXPECT_EQ(test::GetU32(block.data() + list->offset), 0x04E40809u);
}

TEST(EmbeddedResource, StoresTheKeysInTheirOrder) {
  const auto block = OwnBlock();
  std::size_t previous = 0;
  for (const char* key :
       {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright", "LegalTrademarks",
        "OriginalFilename", "ProductName", "ProductVersion", "Comments", "Author", "Web site"}) {
    const auto value = QueryVersionBlock(block, std::string("\\StringFileInfo\\080904E4\\") + key);
    ASSERT_TRUE(value.has_value()) << key;
    EXPECT_GT(value->offset, previous) << key;
    EXPECT_GT(value->size, 2u) << key << " is empty";
    previous = value->offset;
  }
}

struct KeyValue {
  const char* key;
  const char* value;
};

void PrintTo(const KeyValue& c, std::ostream* os) { *os << c.key; }

class EmbeddedText : public ::testing::TestWithParam<KeyValue> {};

TEST_P(EmbeddedText, HasTheGivenValue) {
  const auto block = OwnBlock();
  const auto value = QueryVersionBlock(block, std::string("\\StringFileInfo\\080904E4\\") + GetParam().key);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(Utf16ToUtf8(std::span(block).subspan(value->offset, value->size)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Keys, EmbeddedText,
                         ::testing::Values(KeyValue{"FileVersion", "1.0.6.8"}, KeyValue{"InternalName", "Palettor"},
                                           KeyValue{"OriginalFilename", "Palettor.exe"},
                                           KeyValue{"ProductName", "Palettor"}, KeyValue{"ProductVersion", "1.0"},
                                           KeyValue{"Comments", "2001 Dec 12"}, KeyValue{"CompanyName", "Quillon"}),
                         test::CaseName<KeyValue>);

TEST(EmbeddedResource, WebAddressCarriesNoScheme) {
  const auto block = OwnBlock();
  const auto value = QueryVersionBlock(block, "\\StringFileInfo\\080904E4\\Web site");
  ASSERT_TRUE(value.has_value());
  const std::string address = Utf16ToUtf8(std::span(block).subspan(value->offset, value->size));
  EXPECT_FALSE(address.empty());
  EXPECT_EQ(address.find("://"), std::string::npos);
}

// ---- Damaged ELF files ----

struct ElfLayout {
  Elf64_Ehdr header;
  std::size_t versionHeader;  // file offset of the version section's header
};

ElfLayout Layout(const std::vector<std::uint8_t>& elf) {
  ElfLayout layout{};
  std::memcpy(&layout.header, elf.data(), sizeof layout.header);
  Elf64_Shdr names{};
  std::memcpy(&names, elf.data() + layout.header.e_shoff + layout.header.e_shstrndx * sizeof(Elf64_Shdr), sizeof names);
  for (std::size_t i = 0; i < layout.header.e_shnum; ++i) {
    Elf64_Shdr s{};
    const std::size_t at = layout.header.e_shoff + i * sizeof(Elf64_Shdr);
    std::memcpy(&s, elf.data() + at, sizeof s);
    if (std::strcmp(reinterpret_cast<const char*>(elf.data() + names.sh_offset + s.sh_name), ".versioninfo") == 0) {
      layout.versionHeader = at;
    }
  }
  return layout;
}

struct ElfDamage {
  const char* what;
  std::size_t (*where)(const ElfLayout&);
  std::uint64_t value;
  int width;  // bytes written
};

void PrintTo(const ElfDamage& c, std::ostream* os) { *os << c.what; }

class ElfDamaged : public ::testing::TestWithParam<ElfDamage> {};

TEST_P(ElfDamaged, HasNoVersionResource) {
  auto elf = OwnExecutable();
  ASSERT_EQ(elf[EI_CLASS], ELFCLASS64);
  const ElfLayout layout = Layout(elf);
  ASSERT_NE(layout.versionHeader, 0u);
  const std::size_t at = GetParam().where(layout);
  for (int i = 0; i < GetParam().width; ++i) {
    elf[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(GetParam().value >> (8 * i));
  }
  EXPECT_FALSE(ReadVersionBlock(MemoryByteSource(elf)).has_value()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ElfDamaged,
    ::testing::Values(
        ElfDamage{"magic", [](const ElfLayout&) { return std::size_t{1}; }, 'X', 1},
        ElfDamage{"big-endian", [](const ElfLayout&) { return std::size_t{EI_DATA}; }, ELFDATA2MSB, 1},
        ElfDamage{"class", [](const ElfLayout&) { return std::size_t{EI_CLASS}; }, 7, 1},
        ElfDamage{"section table past the end", [](const ElfLayout&) { return offsetof(Elf64_Ehdr, e_shoff); },
                  ~std::uint64_t{0} - 100, 8},
        ElfDamage{"no section table", [](const ElfLayout&) { return offsetof(Elf64_Ehdr, e_shoff); }, 0, 8},
        ElfDamage{"name table index out of range", [](const ElfLayout&) { return offsetof(Elf64_Ehdr, e_shstrndx); },
                  0xFFF0, 2},
        ElfDamage{"section entries too small", [](const ElfLayout&) { return offsetof(Elf64_Ehdr, e_shentsize); }, 8,
                  2},
        ElfDamage{"section data past the end",
                  [](const ElfLayout& l) { return l.versionHeader + offsetof(Elf64_Shdr, sh_offset); },
                  ~std::uint64_t{0} - 3, 8},
        ElfDamage{"section smaller than its block",
                  [](const ElfLayout& l) { return l.versionHeader + offsetof(Elf64_Shdr, sh_size); }, 40, 8},
        ElfDamage{"section without data",
                  [](const ElfLayout& l) { return l.versionHeader + offsetof(Elf64_Shdr, sh_type); }, SHT_NOBITS, 4},
        ElfDamage{"section name past its table",
                  [](const ElfLayout& l) { return l.versionHeader + offsetof(Elf64_Shdr, sh_name); }, 0xFFFFFFF0, 4}),
    test::CaseName<ElfDamage>);

TEST(ElfTruncation, NoPrefixGivesADifferentBlock) {
  const auto elf = OwnExecutable();
  const auto full = ReadVersionBlock(MemoryByteSource(elf));
  ASSERT_TRUE(full.has_value());
  const std::size_t step = elf.size() / 997 + 1;
  for (std::size_t size = 0; size < elf.size(); size += step) {
    const auto block = ReadVersionBlock(MemoryByteSource(std::span(elf).first(size)));
    if (block) {
      EXPECT_EQ(*block, *full) << "cut at " << size;
    }
  }
}

// A minimal 32-bit ELF file: header, the block, the name table, three section headers.
std::vector<std::uint8_t> Elf32With(const std::vector<std::uint8_t>& block, const char* sectionName) {
  const std::string names = std::string("\0.shstrtab\0", 11) + sectionName + '\0';
  const std::size_t blockAt = sizeof(Elf32_Ehdr);
  const std::size_t namesAt = blockAt + block.size();
  const std::size_t tableAt = (namesAt + names.size() + 3) / 4 * 4;
  std::vector<std::uint8_t> file(tableAt + 3 * sizeof(Elf32_Shdr), 0);

  Elf32_Ehdr h{};
  std::memcpy(h.e_ident, ELFMAG, SELFMAG);
  h.e_ident[EI_CLASS] = ELFCLASS32;
  h.e_ident[EI_DATA] = ELFDATA2LSB;
  h.e_ident[EI_VERSION] = EV_CURRENT;
  h.e_type = ET_EXEC;
  h.e_machine = EM_386;
  h.e_version = EV_CURRENT;
  h.e_shoff = static_cast<Elf32_Off>(tableAt);
  h.e_ehsize = sizeof(Elf32_Ehdr);
  h.e_shentsize = sizeof(Elf32_Shdr);
  h.e_shnum = 3;
  h.e_shstrndx = 1;

  Elf32_Shdr sections[3]{};
  sections[1].sh_name = 1;
  sections[1].sh_type = SHT_STRTAB;
  sections[1].sh_offset = static_cast<Elf32_Off>(namesAt);
  sections[1].sh_size = static_cast<Elf32_Word>(names.size());
  sections[2].sh_name = 11;
  sections[2].sh_type = SHT_PROGBITS;
  sections[2].sh_offset = static_cast<Elf32_Off>(blockAt);
  sections[2].sh_size = static_cast<Elf32_Word>(block.size());

  std::memcpy(file.data(), &h, sizeof h);
  std::copy(block.begin(), block.end(), file.begin() + static_cast<std::ptrdiff_t>(blockAt));
  std::copy(names.begin(), names.end(), file.begin() + static_cast<std::ptrdiff_t>(namesAt));
  std::memcpy(file.data() + tableAt, sections, sizeof sections);
  return file;
}

TEST(Elf32, SectionIsFound) {
  const auto block = test::StandardBlock(u"080904E4", {test::Text(u"ProductName", u"Tiny")}, {0x09, 0x08, 0xE4, 0x04});
  const auto found = ReadVersionBlock(MemoryByteSource(Elf32With(block, ".versioninfo")));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, block);
}

TEST(Elf32, SectionWithAnotherNameIsIgnored) {
  const auto block = test::StandardBlock(u"080904E4", {}, {0x09, 0x08, 0xE4, 0x04});
  EXPECT_FALSE(ReadVersionBlock(MemoryByteSource(Elf32With(block, ".versioninfo2"))).has_value());
  EXPECT_FALSE(ReadVersionBlock(MemoryByteSource(Elf32With(block, ".versioninf"))).has_value());
}

TEST(FileSource, ReadsRangesInsideTheFileOnly) {
  FileByteSource file;
  ASSERT_EQ(file.Open(RunningExecutablePath()), "");
  std::uint8_t magic[4];
  EXPECT_TRUE(file.Read(0, magic));
  EXPECT_EQ(0, std::memcmp(magic,
                           "\x7F"
                           "ELF",
                           4));
  EXPECT_FALSE(file.Read(file.Size() - 2, magic));
  EXPECT_FALSE(file.Read(~std::uint64_t{0} - 1, magic));
  EXPECT_TRUE(file.Read(file.Size(), std::span<std::uint8_t>{}));
}

TEST(FileSource, ReportsWhyAFileCannotBeOpened) {
  FileByteSource file;
  EXPECT_EQ(file.Open("/nonexistent/palettor"), "No such file or directory");
  EXPECT_EQ(file.Open("/"), "Is a directory");
  EXPECT_EQ(file.Open("/dev/null"), "not a regular file");
}

}  // namespace
}  // namespace palettor
