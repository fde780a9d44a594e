#include "NetpbmFile.h"

#include <cpl_vsi.h>

#include <array>
#include <memory>
#include <vector>

#include "RasterError.h"

namespace palettor {

namespace {

struct VsiClose {
  void operator()(VSILFILE* file) const { VSIFCloseL(file); }
};
using VsiFile = std::unique_ptr<VSILFILE, VsiClose>;

// Bytes of a file one at a time, through a buffer.
class ByteReader {
 public:
  explicit ByteReader(VSILFILE* file) : file_(file) {}

  // The next byte, or -1 at the end.
  int Peek() {
    if (at_ == size_ && !Fill()) return -1;
    return static_cast<unsigned char>(buffer_[at_]);
  }
  int Get() {
    const int c = Peek();
    if (c >= 0) {
      ++at_;
      ++position_;
    }
    return c;
  }
  std::uint64_t Position() const { return position_; }

 private:
  bool Fill() {
    size_ = VSIFReadL(buffer_.data(), 1, buffer_.size(), file_);
    at_ = 0;
    return size_ > 0;
  }

  VSILFILE* file_;
  std::array<char, 1 << 16> buffer_{};
  std::size_t at_ = 0, size_ = 0;
  std::uint64_t position_ = 0;
};

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void SkipSpaceAndComments(ByteReader& in) {
  for (int c = in.Peek(); c >= 0; c = in.Peek()) {
    if (IsSpace(c)) {
      in.Get();
    } else if (c == '#') {
      while (c >= 0 && c != '\n' && c != '\r') c = in.Get();
    } else {
      return;
    }
  }
}

// A whole number after whitespace and comments; nothing when there is none or it exceeds `limit`.
std::optional<std::int64_t> Number(ByteReader& in, std::int64_t limit) {
  SkipSpaceAndComments(in);
  int c = in.Peek();
  if (c < '0' || c > '9') return std::nullopt;
  std::int64_t value = 0;
  for (; c >= '0' && c <= '9'; c = in.Peek()) {
    value = value * 10 + (in.Get() - '0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

RasterError Damaged(const std::string& name, const NetpbmHeader& header, const std::string& reason) {
  return Unreadable(name + ": damaged " + header.Kind() + " file: " + reason);
}

VsiFile OpenBytes(const std::string& name) { return VsiFile(VSIFOpenL(name.c_str(), "rb")); }

}  // namespace

int NetpbmLevel(int sample, const NetpbmHeader& header) {
  const std::int64_t s = sample, m = header.maxSample;
  if (s > m) return -1;
  if (header.channels == 3) return static_cast<int>((s * 65535 / m * 255 + 32767) / 65535);
  if (m <= 255) return static_cast<int>(s * 255 / m);
  return static_cast<int>((s * 65535 + m / 2) / m);
}

std::optional<NetpbmHeader> ReadNetpbmHeader(const std::string& name) {
  const VsiFile file = OpenBytes(name);
  if (!file) return std::nullopt;
  ByteReader in(file.get());
  if (in.Get() != 'P') return std::nullopt;
  NetpbmHeader header;
  switch (in.Get()) {
    case '2': header.plain = true; break;
    case '3':
      header.plain = true;
      header.channels = 3;
      break;
    case '5': break;
    case '6': header.channels = 3; break;
    default: return std::nullopt;
  }
  // "P5" must be followed by a separator to be the magic number rather than a word.
  if (const int c = in.Peek(); !IsSpace(c) && c != '#') return std::nullopt;

  constexpr std::int64_t kLargestSide = 1 << 24;
  const auto width = Number(in, kLargestSide);
  const auto height = Number(in, kLargestSide);
  const auto maxSample = Number(in, 65535);
  if (!width || !height || !maxSample) throw Damaged(name, header, "the header does not read");
  if (*width == 0 || *height == 0) throw Damaged(name, header, "no pixels");
  if (*maxSample == 0) throw Damaged(name, header, "the maximum sample is 0");
  header.width = static_cast<int>(*width);
  header.height = static_cast<int>(*height);
  header.maxSample = static_cast<int>(*maxSample);

  VSIStatBufL stat{};
  if (VSIStatL(name.c_str(), &stat) != 0) throw Unreadable(name + ": cannot tell the file's size");
  const auto fileSize = static_cast<std::uint64_t>(stat.st_size);
  const std::uint64_t samples = std::uint64_t(*width) * std::uint64_t(*height) * std::uint64_t(header.channels);
  if (header.plain) {
    header.dataOffset = in.Position();
    if (*width * *height > kPlainNetpbmPixelLimit) {
      throw Refused(name + ": a plain-text " + header.Kind() + " file of " + std::to_string(*width) + " \u00d7 " +
                    std::to_string(*height) + " pixels is more than the " + std::to_string(kPlainNetpbmPixelLimit) +
                    " this reader takes; convert it to the binary kind (P5 or P6)");
    }
    // Every sample but the last needs a digit and a separator.
    if (fileSize < header.dataOffset || fileSize - header.dataOffset < 2 * samples - 1) {
      throw Damaged(name, header, "the file ends before its last pixel");
    }
  } else {
    if (!IsSpace(in.Get())) throw Damaged(name, header, "the header does not end in a separator");
    header.dataOffset = in.Position();
    const std::uint64_t bytes = samples * (header.WideSamples() ? 2 : 1);
    if (fileSize < header.dataOffset || fileSize - header.dataOffset < bytes) {
      throw Damaged(name, header, "the file ends before its last pixel");
    }
  }
  return header;
}

GDALDatasetUniquePtr ReadPlainNetpbm(const std::string& name, const NetpbmHeader& header) {
  const bool eight = !header.WideSamples();
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
  GDALDatasetUniquePtr dataset(
      memory->Create("", header.width, header.height, header.channels, eight ? GDT_Byte : GDT_UInt16, nullptr));
  if (!dataset) throw NotEnoughMemory(name, header.width, header.height);

  const VsiFile file = OpenBytes(name);
  if (!file || VSIFSeekL(file.get(), header.dataOffset, SEEK_SET) != 0)
    throw Unreadable(name + ": cannot read it again");
  ByteReader in(file.get());
  const auto width = static_cast<std::size_t>(header.width);
  std::vector<std::uint16_t> row(width * static_cast<std::size_t>(header.channels));
  for (int y = 0; y < header.height; ++y) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      const auto sample = Number(in, 65535);
      const std::string where =
          "pixel (" + std::to_string(i / static_cast<std::size_t>(header.channels)) + ", " + std::to_string(y) + ")";
      if (!sample) throw Damaged(name, header, where + " is missing");
      if (*sample > header.maxSample) {
        throw Damaged(name, header, where + " exceeds the maximum " + std::to_string(header.maxSample));
      }
      row[i] = static_cast<std::uint16_t>(*sample);
    }
    // The channels are interleaved in the file, so each band takes every third sample.
    for (int band = 1; band <= header.channels; ++band) {
      const GSpacing step = static_cast<GSpacing>(sizeof(std::uint16_t)) * header.channels;
      if (dataset->GetRasterBand(band)->RasterIO(GF_Write, 0, y, header.width, 1, row.data() + (band - 1), header.width,
                                                 1, GDT_UInt16, step, 0, nullptr) != CE_None) {
        throw NotEnoughMemory(name, header.width, header.height);
      }
    }
  }
  return dataset;
}

}  // namespace palettor
