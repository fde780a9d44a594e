#include "DensityPicture.h"

#include <algorithm>
#include <functional>

namespace palettor {

namespace {

// Black on light colours, white on dark ones: the outline shows on any table.
QRgb Contrasting(QRgb under) { return qGray(under) >= 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255); }

}  // namespace

void DensityPicture::SetCounts(const SceneDensity* counts) {
  hasCounts_ = counts != nullptr;
  outline_.clear();
  std::fill(busiest_.begin(), busiest_.end(), 0);
  if (!counts) {
    std::fill(used_.begin(), used_.end(), 1);
    return;
  }
  std::vector<std::uint64_t> sorted;
  sorted.reserve(kTablePixels);
  for (int c = 0; c < kTableWidth; ++c) {
    for (int b = 0; b < kTableHeight; ++b) {
      const std::uint64_t n = counts->Count(c, b);
      used_[Index({c, b})] = n > 0;
      if (n > 0) sorted.push_back(n);
    }
  }
  if (sorted.empty()) return;
  std::sort(sorted.begin(), sorted.end(), std::greater<>());
  // The count of the cell that brings the running sum to a quarter of all pixels.
  const std::uint64_t quarter = (counts->Pixels() + 3) / 4;
  std::uint64_t sum = 0, threshold = sorted.front();
  for (const std::uint64_t n : sorted) {
    sum += n;
    threshold = n;
    if (sum >= quarter) break;
  }
  for (int c = 0; c < kTableWidth; ++c) {
    for (int b = 0; b < kTableHeight; ++b) busiest_[Index({c, b})] = counts->Count(c, b) >= threshold;
  }
  // The outline: picture pixels outside the busiest cells that touch one, diagonals included.
  const auto busyAt = [this](int x, int y) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return false;
    return busiest_[Index({x / kColumnWidth, kTableHeight - 1 - y})] != 0;
  };
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (busyAt(x, y)) continue;
      bool touches = false;
      for (int dy = -1; dy <= 1 && !touches; ++dy) {
        for (int dx = -1; dx <= 1 && !touches; ++dx) touches = busyAt(x + dx, y + dy);
      }
      if (touches) outline_.push_back(y * kWidth + x);
    }
  }
}

bool DensityPicture::IsUsed(TableCell cell) const { return !hasCounts_ || used_[Index(cell)] != 0; }

bool DensityPicture::IsBusiest(TableCell cell) const { return busiest_[Index(cell)] != 0; }

void DensityPicture::Draw(const LutPixels& table, QImage& picture) const {
  if (picture.size() != QSize(kWidth, kHeight) || picture.format() != QImage::Format_RGB32)
    picture = QImage(kWidth, kHeight, QImage::Format_RGB32);
  for (int y = 0; y < kHeight; ++y) {
    const int brightness = kTableHeight - 1 - y;
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int column = 0; column < kTableWidth; ++column) {
      const PackedColour c = table[static_cast<std::size_t>(y * kTableWidth + column)];
      const int shift = used_[Index({column, brightness})] ? 0 : 2;  // a quarter of the brightness
      const QRgb shown = qRgb(RedOf(c) >> shift, GreenOf(c) >> shift, BlueOf(c) >> shift);
      std::fill_n(line + column * kColumnWidth, kColumnWidth, shown);
    }
  }
  auto* pixels = reinterpret_cast<QRgb*>(picture.bits());
  for (const int at : outline_) pixels[at] = Contrasting(pixels[at]);
}

}  // namespace palettor
