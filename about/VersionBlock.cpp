#include "VersionBlock.h"

#include <algorithm>

namespace palettor {

namespace {

constexpr std::size_t kHeaderSize = 6;  // wLength, wValueLength, wType
constexpr std::uint16_t kTextType = 1;
// The tree is four levels deep (root, StringFileInfo, table, string); anything deeper is not walked.
constexpr int kMaxDepth = 8;

std::uint16_t U16(std::span<const std::uint8_t> block, std::size_t at) {
  return static_cast<std::uint16_t>(block[at] | (block[at + 1] << 8));
}

constexpr std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

struct Node {
  std::size_t end = 0;       // one past the node's last byte, never past its parent
  std::size_t keyStart = 0;  // UTF-16 key, without its NUL
  std::size_t keyEnd = 0;
  VersionValue value;
  std::size_t childrenStart = 0;
};

// The node at `start`, which must lie within [start, limit).
std::optional<Node> ReadNode(std::span<const std::uint8_t> block, std::size_t start, std::size_t limit) {
  if (start > limit || limit - start < kHeaderSize) return std::nullopt;
  const std::size_t length = U16(block, start);
  if (length < kHeaderSize) return std::nullopt;
  Node node;
  node.end = std::min(limit, start + length);
  const std::size_t valueLength = U16(block, start + 2);
  const std::uint16_t type = U16(block, start + 4);

  node.keyStart = start + kHeaderSize;
  std::size_t at = node.keyStart;
  while (true) {
    if (node.end - at < 2) return std::nullopt;  // no terminating NUL inside the node
    if (U16(block, at) == 0) break;
    at += 2;
  }
  node.keyEnd = at;

  const std::size_t valueStart = Align4(at + 2);
  const std::size_t claimed = type == kTextType ? valueLength * 2 : valueLength;
  node.value.text = type == kTextType;
  node.value.offset = std::min(valueStart, node.end);
  node.value.size = std::min(claimed, node.end - node.value.offset);
  node.childrenStart = Align4(valueStart + claimed);
  return node;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The key compared with a path element, both as UTF-8, ASCII letters without regard to case.
bool KeyMatches(std::span<const std::uint8_t> block, const Node& node, std::string_view name) {
  char converted[256 * 3];
  const auto key = block.subspan(node.keyStart, node.keyEnd - node.keyStart);
  if (key.size() / 2 > 256) return false;  // longer than any name a query can carry
  const std::size_t n = Utf16ToUtf8(key, converted);
  if (n != name.size()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (FoldAscii(converted[i]) != FoldAscii(name[i])) return false;
  }
  return true;
}

// Calls `each` for every child of `parent` until it returns false.
template <typename Each>
void ForEachChild(std::span<const std::uint8_t> block, const Node& parent, Each&& each) {
  std::size_t at = parent.childrenStart;
  while (at < parent.end && parent.end - at >= kHeaderSize) {
    const auto child = ReadNode(block, at, parent.end);
    if (!child) return;
    if (!each(*child)) return;
    at = Align4(child->end);  // wLength >= 6, so this always moves on
  }
}

bool IsStringFileInfo(std::span<const std::uint8_t> block, const Node& node) {
  return KeyMatches(block, node, "StringFileInfo");
}

void VisitText(std::span<const std::uint8_t> block, const Node& node, int depth, bool underStrings,
               const std::function<void(const VersionValue&)>& visit) {
  // The strings of a StringFileInfo table are text whatever their type says.
  VersionValue value = node.value;
  if (underStrings && depth == 3) value.text = true;
  if (value.text) visit(value);
  if (depth >= kMaxDepth) return;
  ForEachChild(block, node, [&](const Node& child) {
    VisitText(block, child, depth + 1, underStrings || (depth == 0 && IsStringFileInfo(block, child)), visit);
    return true;
  });
}

void AppendUtf8(char32_t c, char* out, std::size_t& n) {
  if (c < 0x80) {
    out[n++] = static_cast<char>(c);
  } else if (c < 0x800) {
    out[n++] = static_cast<char>(0xC0 | (c >> 6));
    out[n++] = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out[n++] = static_cast<char>(0xE0 | (c >> 12));
    out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[n++] = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out[n++] = static_cast<char>(0xF0 | (c >> 18));
    out[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[n++] = static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::size_t Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::span<char> out) {
  const std::size_t units = bytes.size() / 2;
  std::size_t n = 0;
  char encoded[4];
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t unit = U16(bytes, 2 * i);
    if (unit == 0) break;
    char32_t c = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
      const char32_t low = U16(bytes, 2 * i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    std::size_t length = 0;
    AppendUtf8(c, encoded, length);
    if (out.size() - n < length) break;
    std::copy_n(encoded, length, out.begin() + static_cast<std::ptrdiff_t>(n));
    n += length;
  }
  return n;
}

std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes) {
  std::string text(bytes.size() / 2 * 3, '\0');
  text.resize(Utf16ToUtf8(bytes, text));
  return text;
}

std::optional<VersionValue> QueryVersionBlock(std::span<const std::uint8_t> block, std::string_view subBlock) {
  auto node = ReadNode(block, 0, block.size());
  if (!node) return std::nullopt;
  std::size_t depth = 0;
  bool underStrings = false;
  while (!subBlock.empty()) {
    const std::size_t cut = subBlock.find('\\');
    const std::string_view name = subBlock.substr(0, cut);
    subBlock = cut == std::string_view::npos ? std::string_view{} : subBlock.substr(cut + 1);
    if (name.empty()) continue;
    std::optional<Node> found;
    ForEachChild(block, *node, [&](const Node& child) {
      if (!KeyMatches(block, child, name)) return true;
      found = child;
      return false;
    });
    if (!found) return std::nullopt;
    if (depth == 0) underStrings = IsStringFileInfo(block, *found);
    node = found;
    ++depth;
  }
  VersionValue value = node->value;
  if (underStrings && depth == 3) value.text = true;
  return value;
}

void ForEachTextValue(std::span<const std::uint8_t> block, const std::function<void(const VersionValue&)>& visit) {
  const auto root = ReadNode(block, 0, block.size());
  if (root) VisitText(block, *root, 0, false, visit);
}

}  // namespace palettor
