#pragma once
// The version-information block (the published VS_VERSIONINFO layout) as it is stored in a file:
// a tree of nodes, each
//   u16 wLength (bytes, the node and its children), u16 wValueLength, u16 wType (1 text, 0 binary),
//   UTF-16 key up to a NUL, padding to 4 bytes, the value (wValueLength bytes, or UTF-16 units for
//   text), padding to 4 bytes, the children.
// All integers are little-endian and every offset is relative to the start of the block. Nothing in
// the block is trusted: a length that runs past its parent ends the walk there, and a key without its
// NUL ends it too, so any byte sequence is answered without reading outside it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace palettor {

// Where a value lies inside the block, clamped to its node.
struct VersionValue {
  std::size_t offset = 0;
  std::size_t size = 0;  // bytes
  bool text = false;     // UTF-16 text rather than binary data
};

// The value at `subBlock`, a path of names separated by backslashes ("\" is the root and its
// VS_FIXEDFILEINFO, "\VarFileInfo\Translation", "\StringFileInfo\080904E4\CompanyName"). Names match
// without regard to ASCII case; empty path elements are skipped.
std::optional<VersionValue> QueryVersionBlock(std::span<const std::uint8_t> block, std::string_view subBlock);

// Calls `visit` for every text value in the tree (at most a few levels deep), parents before children.
void ForEachTextValue(std::span<const std::uint8_t> block, const std::function<void(const VersionValue&)>& visit);

// UTF-16LE up to the first NUL unit (or the end of `bytes`) as UTF-8; a lone surrogate becomes U+FFFD.
// Writes at most 3 bytes per UTF-16 unit, never more than `out.size()`, and returns the bytes written.
std::size_t Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::span<char> out);
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace palettor
