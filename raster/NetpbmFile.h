#pragma once
// Netpbm grey and colour images (PGM, PPM), which GDAL reads only in part: it takes the binary
// kinds (P5, P6) but not the plain-text ones (P2, P3), does not scale samples from a maximum
// below the full range, and reads past a short file's end as zeros. So the header is read
// here, the declared size checked against the file's real size before anything is allocated,
// and the plain kinds parsed here too, within a limit.
//
// Samples scale to levels as the program always read them. Grey (PGM): a maximum M up to 255
// gives 8-bit levels s × 255 / M (rounded down), a larger one 16-bit levels
// (s × 65535 + M / 2) / M. Colour (PPM) gives 8-bit levels whatever M: s × 65535 / M (rounded
// down) taken to 8 bits as (x × 255 + 32767) / 65535. A sample above M is damage.
#include <gdal_priv.h>

#include <cstdint>
#include <optional>
#include <string>

#include "GreyImage.h"

namespace palettor {

struct NetpbmHeader {
  bool plain = false;  // P2, P3
  int channels = 1;    // 1 (PGM) or 3 (PPM)
  int width = 0;
  int height = 0;
  int maxSample = 255;
  std::uint64_t dataOffset = 0;  // of the first sample

  // Of the levels.
  GreyDepth Depth() const { return channels == 1 && maxSample > 255 ? GreyDepth::Sixteen : GreyDepth::Eight; }
  // Of the samples in the file.
  bool WideSamples() const { return maxSample > 255; }
  const char* Kind() const { return channels == 1 ? "PGM" : "PPM"; }
};

// The most pixels a plain file may declare: it is read into memory whole.
constexpr std::int64_t kPlainNetpbmPixelLimit = std::int64_t{1} << 25;

// Nothing when `name` does not begin as a Netpbm grey or colour file; throws RasterError for
// one that does but is damaged (a header that does not read, binary samples that would end
// past the file's end). `name` is opened through GDAL's file layer.
std::optional<NetpbmHeader> ReadNetpbmHeader(const std::string& name);

// The samples of a plain file, checked against its maximum, as raw samples in a MEM dataset
// (Byte or UInt16, one band per channel). Throws RasterError.
GDALDatasetUniquePtr ReadPlainNetpbm(const std::string& name, const NetpbmHeader& header);

// The level of a sample, or -1 when it exceeds the maximum.
int NetpbmLevel(int sample, const NetpbmHeader& header);

}  // namespace palettor
