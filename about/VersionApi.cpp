#include "VersionApi.h"

#include <cstring>
#include <string_view>

#include "ByteSource.h"
#include "ExecutableResource.h"
#include "VersionBlock.h"

namespace palettor {

namespace {

constexpr std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// A text value stored at block offset o is copied to kTextArea + 2·o. Converting one UTF-16 unit takes
// at most 3 bytes, so a value of s bytes needs at most 1.5·s + 1 (with its NUL) and can never reach
// the copy of the next value, which starts at least 2·s further on.
std::size_t TextAreaOffset(std::size_t blockSize) { return Align4(blockSize); }
std::size_t TextAreaSize(std::size_t blockSize) { return 2 * blockSize + 8; }

std::optional<std::vector<std::uint8_t>> ReadFileBlock(const char* filename) {
  if (filename == nullptr) return std::nullopt;
  FileByteSource file;
  if (!file.Open(filename).empty()) return std::nullopt;
  return ReadVersionBlock(file);
}

std::size_t StoredBlockSize(const std::uint8_t* block) { return static_cast<std::size_t>(block[0] | (block[1] << 8)); }

}  // namespace

std::uint32_t VersionBufferSize(std::size_t blockSize) {
  return static_cast<std::uint32_t>(TextAreaOffset(blockSize) + TextAreaSize(blockSize));
}

bool FillVersionBuffer(std::span<const std::uint8_t> block, std::span<std::uint8_t> out) {
  if (block.size() < 6 || StoredBlockSize(block.data()) != block.size()) return false;
  if (out.size() < VersionBufferSize(block.size())) return false;
  std::memset(out.data(), 0, out.size());
  std::memcpy(out.data(), block.data(), block.size());
  const std::size_t area = TextAreaOffset(block.size());
  const std::size_t areaEnd = area + TextAreaSize(block.size());
  ForEachTextValue(block, [&](const VersionValue& value) {
    const std::size_t at = area + 2 * value.offset;
    if (at >= areaEnd) return;
    // Leave room for the NUL: the area was zeroed, so the byte after the text already is one.
    const auto room = std::span(reinterpret_cast<char*>(out.data()) + at, areaEnd - at - 1);
    const std::size_t written = Utf16ToUtf8(block.subspan(value.offset, value.size), room);
    out[at + written] = 0;
  });
  return true;
}

std::uint32_t GetFileVersionInfoSizeA(const char* filename, std::uint32_t* handle) {
  if (handle != nullptr) *handle = 0;
  const auto block = ReadFileBlock(filename);
  return block ? VersionBufferSize(block->size()) : 0;
}

bool GetFileVersionInfoA(const char* filename, std::uint32_t /*handle*/, std::uint32_t size, void* data) {
  if (data == nullptr) return false;
  const auto block = ReadFileBlock(filename);
  if (!block) return false;
  return FillVersionBuffer(*block, std::span(static_cast<std::uint8_t*>(data), size));
}

bool VerQueryValueA(const void* block, const char* subBlock, void** buffer, std::uint32_t* length) {
  if (block == nullptr || subBlock == nullptr || buffer == nullptr) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  const std::size_t size = StoredBlockSize(bytes);
  const auto stored = std::span(bytes, size);
  const auto value = QueryVersionBlock(stored, subBlock);
  if (!value) return false;
  const std::string_view path = subBlock;
  const bool root = path.find_first_not_of('\\') == std::string_view::npos;
  if (root && value->size < sizeof(VsFixedFileInfo)) {
    return false;  // no complete fixed record; callers read all 52 bytes of it
  }
  // The interface hands out writable pointers into the caller's buffer, as the Windows call does.
  auto* base = const_cast<std::uint8_t*>(bytes);
  if (value->text && !root) {  // the fixed record is binary whatever the root's type says
    char* text = reinterpret_cast<char*>(base + TextAreaOffset(size) + 2 * value->offset);
    *buffer = text;
    if (length != nullptr) *length = static_cast<std::uint32_t>(std::strlen(text) + 1);
  } else {
    *buffer = base + value->offset;
    if (length != nullptr) *length = static_cast<std::uint32_t>(value->size);
  }
  return true;
}

}  // namespace palettor
