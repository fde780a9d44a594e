// Any bytes are a candidate scene channel: a PNG, BMP, TIFF, GIF or Netpbm file (binary or
// plain text). Whatever opens must read whole, as levels, or be refused with a reason; what a
// header claims must never cost more than the file holds.
#include <cpl_vsi.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "GdalSession.h"
#include "RasterError.h"
#include "SceneChannel.h"
#include "WholeGreyChannel.h"

namespace {

// A picture of more pixels than this is refused before anything is allocated for it; the
// fuzzer's inputs are far smaller, so a larger one only claims what it does not hold.
constexpr std::int64_t kPixelLimit = std::int64_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace palettor;
  UseGdal();
  const std::string name = "/vsimem/scene-fuzz";
  VSILFILE* file = VSIFileFromMemBuffer(name.c_str(), const_cast<GByte*>(data), size, FALSE);
  if (!file) return 0;
  VSIFCloseL(file);
  const ChannelRequest request{name, 0, {"PNG", "BMP", "GTiff", "GIF", "PNM"}};
  try {
    const GreyImage image = ReadWholeGreyChannel(request, kPixelLimit);
    if (image.IsEmpty()) std::abort();  // a channel that reads has pixels
  } catch (const RasterError& error) {
    if (std::string(error.what()).empty()) std::abort();  // every refusal says why
  }
  // The same file as values, a few rows of it, as colourise reads a band in a unit.
  try {
    SceneChannel channel = SceneChannel::Open(request);
    if (std::int64_t{channel.Width()} * channel.Height() <= kPixelLimit) {
      const int rows = channel.Height() < 4 ? channel.Height() : 4;
      std::vector<double> values(static_cast<std::size_t>(channel.Width()) * static_cast<std::size_t>(rows));
      channel.ReadValues({0, 0, channel.Width(), rows}, channel.Width(), rows, values.data());
    }
  } catch (const RasterError&) {
  }
  VSIUnlink(name.c_str());
  return 0;
}
