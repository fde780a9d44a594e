#pragma once
#include <cstdint>

namespace palettor {

// A colour as the window toolkit and the bitmap take it: 0x00BBGGRR, red in the low byte.
using PackedColour = std::uint32_t;

// Only the low 8 bits of each channel are used: 257 contributes 1.
constexpr PackedColour PackRGB(int red, int green, int blue) {
  return (static_cast<PackedColour>(red) & 0xFFu) | ((static_cast<PackedColour>(green) & 0xFFu) << 8) |
         ((static_cast<PackedColour>(blue) & 0xFFu) << 16);
}

constexpr int RedOf(PackedColour c) { return static_cast<int>(c & 0xFFu); }
constexpr int GreenOf(PackedColour c) { return static_cast<int>((c & 0xFF00u) >> 8); }
constexpr int BlueOf(PackedColour c) { return static_cast<int>((c & 0xFF0000u) >> 16); }

}  // namespace palettor
