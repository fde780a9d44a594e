#include "ExecutableResource.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace palettor {

namespace {

// Largest block the 16-bit wLength can describe.
constexpr std::uint32_t kMaxBlockSize = 0xFFFF;
constexpr std::uint32_t kMinBlockSize = 6;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t Le64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(Le32(p)) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}

template <std::size_t N>
bool ReadAt(const ByteSource& file, std::uint64_t offset, std::array<std::uint8_t, N>& out) {
  return file.Read(offset, out);
}

// Reads the block from a resource or section of `available` bytes at `offset`.
std::optional<std::vector<std::uint8_t>> ReadBlockAt(const ByteSource& file, std::uint64_t offset,
                                                     std::uint64_t available) {
  std::array<std::uint8_t, 2> length{};
  if (available < kMinBlockSize || !ReadAt(file, offset, length)) return std::nullopt;
  const std::uint32_t size = Le16(length.data());
  if (size < kMinBlockSize || size > available || size > kMaxBlockSize) return std::nullopt;
  std::vector<std::uint8_t> block(size);
  if (!file.Read(offset, block)) return std::nullopt;
  return block;
}

// ---- PE ----

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVersionInfoId = 1;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kNameIsStringBit = 0x80000000u;
// The loader refuses images with more sections than this.
constexpr std::uint16_t kMaxSections = 96;

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
};

struct PeImage {
  std::vector<Section> sections;
  std::uint32_t resourceRva = 0;
  std::uint32_t resourceSize = 0;
};

std::optional<PeImage> ReadPeHeaders(const ByteSource& file) {
  std::array<std::uint8_t, 64> dos{};
  if (!ReadAt(file, 0, dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
  const std::uint64_t peOffset = Le32(&dos[0x3C]);
  std::array<std::uint8_t, 24> coff{};  // signature + file header
  if (!ReadAt(file, peOffset, coff) || std::memcmp(coff.data(), "PE\0\0", 4) != 0) return std::nullopt;
  const std::uint16_t sectionCount = Le16(&coff[6]);
  const std::uint16_t optionalSize = Le16(&coff[20]);
  if (sectionCount > kMaxSections) return std::nullopt;
  const std::uint64_t optionalOffset = peOffset + coff.size();

  std::array<std::uint8_t, 2> magic{};
  if (!ReadAt(file, optionalOffset, magic)) return std::nullopt;
  std::uint64_t rvaCountOffset = 0;
  switch (Le16(magic.data())) {
    case kPe32Magic: rvaCountOffset = 92; break;
    case kPe32PlusMagic: rvaCountOffset = 108; break;
    default: return std::nullopt;
  }
  const std::uint64_t directoriesOffset = rvaCountOffset + 4;
  const std::uint64_t resourceEntryEnd = directoriesOffset + 8 * (kResourceDirectoryIndex + 1);
  if (optionalSize < resourceEntryEnd) return std::nullopt;
  std::array<std::uint8_t, 4> rvaCount{};
  if (!ReadAt(file, optionalOffset + rvaCountOffset, rvaCount)) return std::nullopt;
  if (Le32(rvaCount.data()) <= kResourceDirectoryIndex) return std::nullopt;
  std::array<std::uint8_t, 8> resourceEntry{};
  if (!ReadAt(file, optionalOffset + directoriesOffset + 8 * kResourceDirectoryIndex, resourceEntry)) {
    return std::nullopt;
  }
  PeImage image;
  image.resourceRva = Le32(&resourceEntry[0]);
  image.resourceSize = Le32(&resourceEntry[4]);
  if (image.resourceRva == 0 || image.resourceSize == 0) return std::nullopt;

  const std::uint64_t tableOffset = optionalOffset + optionalSize;
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    std::array<std::uint8_t, 40> header{};
    if (!ReadAt(file, tableOffset + 40u * i, header)) return std::nullopt;
    Section s;
    s.virtualSize = Le32(&header[8]);
    s.virtualAddress = Le32(&header[12]);
    s.rawSize = Le32(&header[16]);
    s.rawOffset = Le32(&header[20]);
    // Like the loader, refuse an image whose sections run past the end of the file: that is what a
    // truncated copy looks like.
    if (s.rawSize != 0 && (s.rawOffset > file.Size() || s.rawSize > file.Size() - s.rawOffset)) {
      return std::nullopt;
    }
    image.sections.push_back(s);
  }
  return image;
}

// The file offset of `length` bytes at `rva`, when they lie in one section's raw data.
std::optional<std::uint64_t> FileOffsetOf(const PeImage& image, std::uint32_t rva, std::uint32_t length) {
  for (const Section& s : image.sections) {
    if (rva < s.virtualAddress) continue;
    const std::uint64_t into = rva - s.virtualAddress;
    if (into >= s.rawSize || length > s.rawSize - into) continue;
    return s.rawOffset + into;
  }
  return std::nullopt;
}

struct ResourceTree {
  const ByteSource& file;
  std::uint64_t base = 0;  // file offset of the root directory
  std::uint32_t size = 0;  // bytes of the resource directory data

  bool Read(std::uint32_t offset, std::span<std::uint8_t> out) const {
    if (offset > size || out.size() > size - offset) return false;
    return file.Read(base + offset, out);
  }

  // The entry of directory `directory` with the numeric `id`, or with `any` the first entry.
  std::optional<std::uint32_t> Find(std::uint32_t directory, std::optional<std::uint32_t> id) const {
    std::array<std::uint8_t, 16> header{};
    if (!Read(directory, header)) return std::nullopt;
    const std::uint32_t named = Le16(&header[12]);
    const std::uint32_t numbered = Le16(&header[14]);
    for (std::uint32_t i = 0; i < named + numbered; ++i) {
      std::array<std::uint8_t, 8> entry{};
      if (!Read(directory + 16 + 8 * i, entry)) return std::nullopt;
      const std::uint32_t name = Le32(&entry[0]);
      if (id && ((name & kNameIsStringBit) != 0 || name != *id)) continue;
      return Le32(&entry[4]);
    }
    return std::nullopt;
  }
};

std::optional<std::vector<std::uint8_t>> ReadPeVersionBlock(const ByteSource& file) {
  const auto image = ReadPeHeaders(file);
  if (!image) return std::nullopt;
  // The directory must sit in one section; its size bounds every offset inside it.
  std::optional<std::uint64_t> base;
  std::uint32_t size = image->resourceSize;
  for (const Section& s : image->sections) {
    if (image->resourceRva < s.virtualAddress) continue;
    const std::uint64_t into = image->resourceRva - s.virtualAddress;
    if (into >= s.rawSize) continue;
    base = s.rawOffset + into;
    size = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, s.rawSize - into));
    break;
  }
  if (!base) return std::nullopt;
  const ResourceTree tree{file, *base, size};

  // Three levels: type, name, language; each of the first two must lead to a subdirectory, the last to
  // a data entry. Windows picks the language by the user's preferences; one version resource per file
  // is the rule, so the first language is taken.
  const auto typeEntry = tree.Find(0, kRtVersion);
  if (!typeEntry || (*typeEntry & kSubdirectoryBit) == 0) return std::nullopt;
  const auto nameEntry = tree.Find(*typeEntry & ~kSubdirectoryBit, kVersionInfoId);
  if (!nameEntry || (*nameEntry & kSubdirectoryBit) == 0) return std::nullopt;
  const auto languageEntry = tree.Find(*nameEntry & ~kSubdirectoryBit, std::nullopt);
  if (!languageEntry || (*languageEntry & kSubdirectoryBit) != 0) return std::nullopt;

  std::array<std::uint8_t, 16> data{};
  if (!tree.Read(*languageEntry, data)) return std::nullopt;
  const std::uint32_t dataRva = Le32(&data[0]);
  const std::uint32_t dataSize = Le32(&data[4]);
  const auto dataOffset = FileOffsetOf(*image, dataRva, dataSize);
  if (!dataOffset) return std::nullopt;
  return ReadBlockAt(file, *dataOffset, dataSize);
}

// ---- ELF ----

constexpr std::uint8_t kElfClass32 = 1;
constexpr std::uint8_t kElfClass64 = 2;
constexpr std::uint8_t kElfLittleEndian = 1;
constexpr std::uint32_t kShtNobits = 8;
constexpr std::uint16_t kShnXindex = 0xFFFF;
constexpr std::uint32_t kMaxElfSections = 1u << 16;

struct ElfSection {
  std::uint32_t name = 0;
  std::uint32_t type = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint32_t link = 0;
};

std::optional<ElfSection> ReadElfSection(const ByteSource& file, bool is64, std::uint64_t tableOffset,
                                         std::uint64_t entrySize, std::uint64_t index) {
  std::array<std::uint8_t, 64> h{};
  const std::size_t needed = is64 ? 64 : 40;
  if (entrySize < needed) return std::nullopt;
  if (!file.Read(tableOffset + entrySize * index, std::span(h).first(needed))) return std::nullopt;
  ElfSection s;
  s.name = Le32(&h[0]);
  s.type = Le32(&h[4]);
  if (is64) {
    s.offset = Le64(&h[24]);
    s.size = Le64(&h[32]);
    s.link = Le32(&h[40]);
  } else {
    s.offset = Le32(&h[16]);
    s.size = Le32(&h[20]);
    s.link = Le32(&h[24]);
  }
  return s;
}

std::optional<std::vector<std::uint8_t>> ReadElfVersionBlock(const ByteSource& file) {
  std::array<std::uint8_t, 64> h{};
  if (!file.Read(0, std::span(h).first(52))) return std::nullopt;
  constexpr std::array<std::uint8_t, 4> kElfMagic{0x7F, 'E', 'L', 'F'};
  if (std::memcmp(h.data(), kElfMagic.data(), kElfMagic.size()) != 0 || h[5] != kElfLittleEndian) return std::nullopt;
  if (h[4] != kElfClass32 && h[4] != kElfClass64) return std::nullopt;
  const bool is64 = h[4] == kElfClass64;
  if (is64 && !ReadAt(file, 0, h)) return std::nullopt;
  const std::uint64_t tableOffset = is64 ? Le64(&h[40]) : Le32(&h[32]);
  const std::uint64_t entrySize = Le16(is64 ? &h[58] : &h[46]);
  std::uint64_t count = Le16(is64 ? &h[60] : &h[48]);
  std::uint64_t namesIndex = Le16(is64 ? &h[62] : &h[50]);
  if (tableOffset == 0) return std::nullopt;
  // Large section counts and name-table indexes live in section 0.
  if (count == 0 || namesIndex == kShnXindex) {
    const auto first = ReadElfSection(file, is64, tableOffset, entrySize, 0);
    if (!first) return std::nullopt;
    if (count == 0) count = first->size;
    if (namesIndex == kShnXindex) namesIndex = first->link;
  }
  if (count > kMaxElfSections || namesIndex >= count) return std::nullopt;
  const auto names = ReadElfSection(file, is64, tableOffset, entrySize, namesIndex);
  if (!names || names->type == kShtNobits) return std::nullopt;

  const std::string_view wanted = kVersionSectionName;
  for (std::uint64_t i = 0; i < count; ++i) {
    const auto s = ReadElfSection(file, is64, tableOffset, entrySize, i);
    if (!s) return std::nullopt;
    if (s->type == kShtNobits || s->name >= names->size || names->size - s->name < wanted.size() + 1) continue;
    std::array<char, 16> name{};
    static_assert(sizeof(".versioninfo") <= 16);
    const auto nameBytes = std::span(reinterpret_cast<std::uint8_t*>(name.data()), wanted.size() + 1);
    if (!file.Read(names->offset + s->name, nameBytes)) continue;
    if (std::string_view(name.data(), wanted.size()) != wanted || name[wanted.size()] != '\0') continue;
    return ReadBlockAt(file, s->offset, s->size);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadVersionBlock(const ByteSource& file) {
  if (auto block = ReadPeVersionBlock(file)) return block;
  return ReadElfVersionBlock(file);
}

}  // namespace palettor
