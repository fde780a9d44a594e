#include "ControlCharacters.h"

#include <cstdint>

namespace palettor {

namespace {

bool IsC0OrDelete(std::uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

// Bytes of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(0);
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// U+0080 ... U+009F are C2 80 ... C2 9F in UTF-8.
bool IsC1(std::string_view sequence) {
  return sequence.size() == 2 && static_cast<std::uint8_t>(sequence[0]) == 0xC2 &&
         static_cast<std::uint8_t>(sequence[1]) <= 0x9F;
}

// U+202A ... U+202E are E2 80 AA ... E2 80 AE, U+2066 ... U+2069 are E2 81 A6 ... E2 81 A9.
bool IsBidirectionalControl(std::string_view sequence) {
  if (sequence.size() != 3 || static_cast<std::uint8_t>(sequence[0]) != 0xE2) return false;
  const auto second = static_cast<std::uint8_t>(sequence[1]), third = static_cast<std::uint8_t>(sequence[2]);
  return (second == 0x80 && third >= 0xAA && third <= 0xAE) || (second == 0x81 && third >= 0xA6 && third <= 0xA9);
}

void AppendHex(std::string& out, const char* prefix, std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += prefix;
  out += kDigits[value >> 4];
  out += kDigits[value & 0xF];
}

}  // namespace

bool HasControlCharacters(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = SequenceLength(text);
    if (length == 1 && IsC0OrDelete(static_cast<std::uint8_t>(text[0]))) return true;
    if (IsC1(text.substr(0, length))) return true;
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return false;
}

std::string EscapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = SequenceLength(text);
    const auto first = static_cast<std::uint8_t>(text[0]);
    if (length == 0) {
      AppendHex(out, "\\x", first);
      text.remove_prefix(1);
      continue;
    }
    if (length == 1 && IsC0OrDelete(first)) {
      switch (first) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: AppendHex(out, "\\x", first);
      }
    } else if (IsC1(text.substr(0, length))) {
      AppendHex(out, "\\u00", static_cast<std::uint8_t>(text[1]));
    } else if (IsBidirectionalControl(text.substr(0, length))) {
      // The code point is 0x2000 + the low six bits of the last two bytes.
      const auto low = static_cast<std::uint8_t>(((text[1] & 0x3F) << 6 | (text[2] & 0x3F)) & 0xFF);
      AppendHex(out, "\\u20", low);
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace palettor
