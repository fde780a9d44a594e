#include "WholeGreyChannel.h"

#include <algorithm>
#include <new>
#include <string>

#include "RasterError.h"

namespace palettor {

GreyImage ReadWholeGreyChannel(const ChannelRequest& request, std::int64_t pixelLimit) {
  SceneChannel channel = SceneChannel::Open(request);
  const auto depth = channel.LevelDepth();
  if (!depth) {
    throw Refused(channel.Name() + ": band " + std::to_string(channel.BandNumber()) +
                  " holds values in a unit rather than 8- or 16-bit grey levels; palettor-cli colourise colours it");
  }
  const int width = channel.Width(), height = channel.Height();
  const std::int64_t pixels = std::int64_t{width} * height;
  if (pixels > pixelLimit) {
    throw Refused(channel.Name() + " is " + std::to_string(width) + " \u00d7 " + std::to_string(height) +
                  " pixels, more than the " + std::to_string(pixelLimit) + " read whole here");
  }
  GreyImage image;
  try {
    image = GreyImage(width, height, *depth);
  } catch (const std::bad_alloc&) {
    throw NotEnoughMemory(channel.Name(), width, height);
  }
  // A few rows at a time: an RGB file's other two channels pass through buffers of that size.
  const int rowsAtOnce = std::max(1, (1 << 20) / std::max(width, 1));
  for (int y = 0; y < height; y += rowsAtOnce) {
    const int rows = std::min(rowsAtOnce, height - y);
    void* levels = *depth == GreyDepth::Eight ? static_cast<void*>(image.Row8(y)) : static_cast<void*>(image.Row16(y));
    try {
      channel.ReadLevels({0, y, width, rows}, width, rows, levels);
    } catch (const std::bad_alloc&) {
      throw NotEnoughMemory(channel.Name(), width, height);
    }
  }
  return image;
}

}  // namespace palettor
