#pragma once
// A channel of levels read whole into memory, for the preview, which keeps both channels of
// the scene it shows. The size is checked against a limit before anything is allocated.
#include <cstdint>

#include "GreyImage.h"
#include "SceneChannel.h"

namespace palettor {

// 8192 × 8192: a 16-bit channel of 128 MiB, its coloured view of 192 MiB.
constexpr std::int64_t kWholeChannelPixelLimit = std::int64_t{8192} * 8192;

// Throws RasterError: Refused for a channel of values (temperatures, reflectances) or one
// larger than `pixelLimit`, OutOfMemory when the levels do not fit in memory, and what
// SceneChannel::Open and ReadLevels throw.
GreyImage ReadWholeGreyChannel(const ChannelRequest& request, std::int64_t pixelLimit = kWholeChannelPixelLimit);

}  // namespace palettor
