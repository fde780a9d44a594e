#pragma once
// A single-channel image as the viewer reads a satellite channel: every pixel one level,
// 0 ... 255 for an 8-bit image, 0 ... 65535 for a 16-bit one. Rows are contiguous, from the top.
#include <cstdint>
#include <vector>

namespace palettor {

enum class GreyDepth { Eight, Sixteen };

constexpr int MaxLevel(GreyDepth depth) { return depth == GreyDepth::Eight ? 255 : 65535; }

class GreyImage {
 public:
  GreyImage() = default;
  // All levels 0. Throws std::invalid_argument for a negative size.
  GreyImage(int width, int height, GreyDepth depth);

  int Width() const { return width_; }
  int Height() const { return height_; }
  GreyDepth Depth() const { return depth_; }
  int MaxLevel() const { return palettor::MaxLevel(depth_); }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }

  // Scan lines of `Width()` levels; Row8 for 8-bit images only, Row16 for 16-bit ones.
  std::uint8_t* Row8(int y);
  const std::uint8_t* Row8(int y) const;
  std::uint16_t* Row16(int y);
  const std::uint16_t* Row16(int y) const;

  // One pixel at a time, for probing and building small images; not for whole-image loops.
  int Level(int x, int y) const;
  void SetLevel(int x, int y, int level);

 private:
  std::size_t Offset(int x, int y) const;

  int width_ = 0;
  int height_ = 0;
  GreyDepth depth_ = GreyDepth::Eight;
  std::vector<std::uint8_t> levels8_;
  std::vector<std::uint16_t> levels16_;
};

bool SameSize(const GreyImage& a, const GreyImage& b);

}  // namespace palettor
