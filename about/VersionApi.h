#pragma once
// The three version-information calls of Windows, answered from the file itself on any platform.
//
// The buffer filled by GetFileVersionInfoA holds the block exactly as stored, followed by a UTF-8 copy
// of every text value: VerQueryValueA hands out the stored bytes for binary values (the fixed record,
// the translation list) and the UTF-8 copy, NUL-terminated, for text. So the returned pointers stay
// valid as long as the buffer, as they do on Windows.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace palettor {

// Size of the buffer GetFileVersionInfoA needs for the file's block; 0 when the file cannot be read
// or carries no version-information block. `handle` is set to 0; it is only passed on.
std::uint32_t GetFileVersionInfoSizeA(const char* filename, std::uint32_t* handle);

// Fills `data` (`size` bytes, as returned by GetFileVersionInfoSizeA). False when the file cannot be
// read, holds no block any more, or its block no longer fits `size`.
bool GetFileVersionInfoA(const char* filename, std::uint32_t handle, std::uint32_t size, void* data);

// Looks up `subBlock` in a buffer filled by GetFileVersionInfoA: "\" gives the VS_FIXEDFILEINFO record
// (only when the block carries all of it), "\VarFileInfo\Translation" the array of 32-bit translations
// as stored, a string path its NUL-terminated UTF-8 text. `length` receives the byte count (for text,
// including the terminating NUL).
bool VerQueryValueA(const void* block, const char* subBlock, void** buffer, std::uint32_t* length);

// The pieces the calls are made of, for callers that already hold the file's bytes.
std::uint32_t VersionBufferSize(std::size_t blockSize);
// Lays out `block` as GetFileVersionInfoA does; false when `out` is too small.
bool FillVersionBuffer(std::span<const std::uint8_t> block, std::span<std::uint8_t> out);

// VS_FIXEDFILEINFO as published.
struct VsFixedFileInfo {
  std::uint32_t dwSignature;  // 0xFEEF04BD
  std::uint32_t dwStrucVersion;
  std::uint32_t dwFileVersionMS;
  std::uint32_t dwFileVersionLS;
  std::uint32_t dwProductVersionMS;
  std::uint32_t dwProductVersionLS;
  std::uint32_t dwFileFlagsMask;
  std::uint32_t dwFileFlags;
  std::uint32_t dwFileOS;
  std::uint32_t dwFileType;
  std::uint32_t dwFileSubtype;
  std::uint32_t dwFileDateMS;
  std::uint32_t dwFileDateLS;
};
static_assert(sizeof(VsFixedFileInfo) == 52);

}  // namespace palettor
