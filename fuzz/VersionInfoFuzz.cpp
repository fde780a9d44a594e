// Any file is a candidate executable: find its version block, lay it out as GetFileVersionInfoA does
// and ask every kind of question. The same bytes are also taken as a block themselves, so the tree
// walk is reached without first getting past the PE and ELF headers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "ExecutableResource.h"
#include "VersionApi.h"

namespace {

const char* const kPaths[] = {
    "\\",
    "\\VarFileInfo\\Translation",
    "\\StringFileInfo\\080904E4\\CompanyName",
    "\\StringFileInfo\\040904e4\\productname",
    "\\StringFileInfo\\080904E4\\Web site",
    "\\StringFileInfo\\080904E4",
    "\\StringFileInfo",
    "\\\\StringFileInfo\\\\00000000\\\\Comments\\",
    "\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j",
};

volatile std::uint8_t sink;

void Ask(std::span<const std::uint8_t> block) {
  std::vector<std::uint8_t> buffer(palettor::VersionBufferSize(block.size()));
  if (!palettor::FillVersionBuffer(block, buffer)) return;
  for (const char* path : kPaths) {
    void* value = nullptr;
    std::uint32_t length = 0;
    if (!palettor::VerQueryValueA(buffer.data(), path, &value, &length)) continue;
    // Touch every byte the answer claims, so an answer reaching outside the buffer is caught.
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    std::uint8_t sum = 0;
    for (std::uint32_t i = 0; i < length; ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
    sink = sum;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  if (const auto block = palettor::ReadVersionBlock(palettor::MemoryByteSource(input))) Ask(*block);

  if (size >= 6 && size <= 0xFFFF) {
    std::vector<std::uint8_t> block(input.begin(), input.end());
    block[0] = static_cast<std::uint8_t>(size & 0xFF);  // a block states its own length
    block[1] = static_cast<std::uint8_t>(size >> 8);
    Ask(block);
  }
  return 0;
}
