#include "DeepPgmFile.h"

#include <cctype>

namespace palettor {

namespace {

class PgmParser {
 public:
  explicit PgmParser(const QByteArray& bytes) : bytes_(bytes) {}

  // A whole number after whitespace and comments; nothing when there is none or it exceeds `limit`.
  std::optional<qint64> Number(qint64 limit) {
    SkipSpaceAndComments();
    if (at_ >= bytes_.size() || !std::isdigit(static_cast<unsigned char>(bytes_[at_]))) return std::nullopt;
    qint64 value = 0;
    while (at_ < bytes_.size() && std::isdigit(static_cast<unsigned char>(bytes_[at_]))) {
      value = value * 10 + (bytes_[at_++] - '0');
      if (value > limit) return std::nullopt;
    }
    return value;
  }

  // The single whitespace byte that ends a binary file's header.
  bool EndOfHeader() {
    if (at_ >= bytes_.size() || !std::isspace(static_cast<unsigned char>(bytes_[at_]))) return false;
    ++at_;
    return true;
  }

  qsizetype Position() const { return at_; }

 private:
  void SkipSpaceAndComments() {
    while (at_ < bytes_.size()) {
      if (std::isspace(static_cast<unsigned char>(bytes_[at_]))) {
        ++at_;
      } else if (bytes_[at_] == '#') {
        while (at_ < bytes_.size() && bytes_[at_] != '\n' && bytes_[at_] != '\r') ++at_;
      } else {
        break;
      }
    }
  }

  const QByteArray& bytes_;
  qsizetype at_ = 2;  // after the magic number
};

GreyImageLoad Damaged(const QString& name, const QString& reason) {
  GreyImageLoad load;
  load.problem = GreyLoadProblem::Unreadable;
  load.error = QStringLiteral("%1: damaged PGM file: %2").arg(name, reason);
  return load;
}

}  // namespace

std::optional<GreyImageLoad> ReadDeepPgm(const QByteArray& bytes, const QString& name) {
  const bool binary = bytes.startsWith("P5");
  if (!binary && !bytes.startsWith("P2")) return std::nullopt;
  PgmParser parser(bytes);
  constexpr qint64 kLargestSide = 1 << 20;
  const auto width = parser.Number(kLargestSide);
  const auto height = parser.Number(kLargestSide);
  const auto maxSample = parser.Number(65535);
  // Anything odd in the header, or an 8-bit file, is Qt's to read or to refuse.
  if (!width || !height || !maxSample || *maxSample <= 255) return std::nullopt;
  if (*width == 0 || *height == 0) return Damaged(name, QStringLiteral("no pixels"));

  const qint64 samples = *width * *height;
  if (binary && (!parser.EndOfHeader() || bytes.size() - parser.Position() < samples * 2)) {
    return Damaged(name, QStringLiteral("the file ends before its last pixel"));
  }
  GreyImageLoad load;
  load.image = GreyImage(static_cast<int>(*width), static_cast<int>(*height), GreyDepth::Sixteen);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData()) + parser.Position();
  for (int y = 0; y < load.image.Height(); ++y) {
    std::uint16_t* row = load.image.Row16(y);
    for (int x = 0; x < load.image.Width(); ++x) {
      qint64 sample;
      if (binary) {
        sample = data[0] << 8 | data[1];  // most significant byte first
        data += 2;
      } else {
        const auto plain = parser.Number(65535);
        if (!plain) return Damaged(name, QStringLiteral("pixel (%1, %2) is missing").arg(x).arg(y));
        sample = *plain;
      }
      if (sample > *maxSample) {
        return Damaged(name, QStringLiteral("pixel (%1, %2) exceeds the maximum %3").arg(x).arg(y).arg(*maxSample));
      }
      row[x] = static_cast<std::uint16_t>((sample * 65535 + *maxSample / 2) / *maxSample);
    }
  }
  return load;
}

}  // namespace palettor
