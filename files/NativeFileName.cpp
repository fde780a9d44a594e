#include "NativeFileName.h"

#include <cstdint>

namespace palettor {

namespace {

constexpr char16_t kFirstEscape = 0xDC80;  // stands for the byte 0x80; 0xDCFF for 0xFF

// Bytes of the well-formed UTF-8 sequence at `at` (RFC 3629: no overlong forms, no surrogates,
// nothing above U+10FFFF), or 0.
qsizetype SequenceLength(QByteArrayView bytes, qsizetype at) {
  const auto byte = [&](qsizetype i) { return static_cast<std::uint8_t>(bytes[at + i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  qsizetype length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  for (qsizetype i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

QString DecodeFileName(QByteArrayView bytes) {
  QString name;
  name.reserve(bytes.size());
  for (qsizetype at = 0; at < bytes.size();) {
    const qsizetype length = SequenceLength(bytes, at);
    if (length == 0) {
      name += QChar(static_cast<char16_t>(kFirstEscape + static_cast<std::uint8_t>(bytes[at]) - 0x80));
      ++at;
    } else {
      name += QString::fromUtf8(bytes.sliced(at, length));
      at += length;
    }
  }
  return name;
}

QByteArray EncodeFileName(const QString& name) {
  QByteArray bytes;
  bytes.reserve(name.size());
  for (qsizetype at = 0; at < name.size(); ++at) {
    const char16_t unit = name[at].unicode();
    if (unit >= kFirstEscape && unit <= 0xDCFF) {
      bytes += static_cast<char>(unit - kFirstEscape + 0x80);
    } else if (QChar::isHighSurrogate(unit) && at + 1 < name.size() && name[at + 1].isLowSurrogate()) {
      bytes += QStringView(name).sliced(at, 2).toUtf8();
      ++at;
    } else if (QChar::isSurrogate(unit)) {
      bytes += "\xEF\xBF\xBD";
    } else {
      bytes += QStringView(name).sliced(at, 1).toUtf8();
    }
  }
  return bytes;
}

}  // namespace palettor
