#include "GreyImage.h"

#include <cassert>
#include <stdexcept>

namespace palettor {

GreyImage::GreyImage(int width, int height, GreyDepth depth) : width_(width), height_(height), depth_(depth) {
  if (width < 0 || height < 0) throw std::invalid_argument("a grey image cannot have a negative size");
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (depth == GreyDepth::Eight) {
    levels8_.assign(count, 0);
  } else {
    levels16_.assign(count, 0);
  }
}

std::size_t GreyImage::Offset(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
}

std::uint8_t* GreyImage::Row8(int y) {
  assert(depth_ == GreyDepth::Eight && y >= 0 && y < height_);
  return levels8_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
}

const std::uint8_t* GreyImage::Row8(int y) const {
  assert(depth_ == GreyDepth::Eight && y >= 0 && y < height_);
  return levels8_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
}

std::uint16_t* GreyImage::Row16(int y) {
  assert(depth_ == GreyDepth::Sixteen && y >= 0 && y < height_);
  return levels16_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
}

const std::uint16_t* GreyImage::Row16(int y) const {
  assert(depth_ == GreyDepth::Sixteen && y >= 0 && y < height_);
  return levels16_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
}

int GreyImage::Level(int x, int y) const {
  const std::size_t i = Offset(x, y);
  return depth_ == GreyDepth::Eight ? levels8_[i] : levels16_[i];
}

void GreyImage::SetLevel(int x, int y, int level) {
  assert(level >= 0 && level <= MaxLevel());
  const std::size_t i = Offset(x, y);
  if (depth_ == GreyDepth::Eight) {
    levels8_[i] = static_cast<std::uint8_t>(level);
  } else {
    levels16_[i] = static_cast<std::uint16_t>(level);
  }
}

bool SameSize(const GreyImage& a, const GreyImage& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

}  // namespace palettor
