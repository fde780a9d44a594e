#include "SceneColouriser.h"

#include <bit>
#include <cstring>
#include <stdexcept>

namespace palettor {

namespace {

// Four pixels are stored as three 32-bit words; packed colours are red, green, blue in memory
// order only on a little-endian machine.
static_assert(std::endian::native == std::endian::little, "the scan-line writer assumes little-endian words");

constexpr unsigned kCellShift = 7;  // log2 of the cell row stride

// Stores four pixels as three 32-bit words; `cell(x)` gives pixel x's packed colour.
template <typename Cell>
void WritePixels(int width, std::uint8_t* out, const Cell& cell) {
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const std::uint32_t p0 = cell(x), p1 = cell(x + 1), p2 = cell(x + 2), p3 = cell(x + 3);
    // Built in registers: an array here would go through the stack and stall the stores.
    const std::uint64_t first = p0 | (std::uint64_t{p1} << 24) | (std::uint64_t{p2} << 48);
    const std::uint32_t last = (p2 >> 16) | (p3 << 8);
    std::memcpy(out, &first, sizeof first);
    std::memcpy(out + sizeof first, &last, sizeof last);
    out += sizeof first + sizeof last;
  }
  for (; x < width; ++x) {
    const std::uint32_t p = cell(x);
    out[0] = static_cast<std::uint8_t>(p);
    out[1] = static_cast<std::uint8_t>(p >> 8);
    out[2] = static_cast<std::uint8_t>(p >> 16);
    out += 3;
  }
}

template <typename IrLevel, typename VisLevel, unsigned kVisShift>
void ColouriseRow(const IrLevel* ir, const VisLevel* vis, int width, const std::uint8_t* columns,
                  const PackedColour* cells, std::uint8_t* out) {
  WritePixels(width, out, [&](int x) {
    const std::size_t ix = static_cast<std::size_t>(x);
    return cells[(static_cast<std::size_t>(vis[ix] >> kVisShift) << kCellShift) | columns[ir[ix]]];
  });
}

const void* LevelRow(const GreyImage& image, int y) {
  return image.Depth() == GreyDepth::Eight ? static_cast<const void*>(image.Row8(y))
                                           : static_cast<const void*>(image.Row16(y));
}

}  // namespace

SceneColouriser::SceneColouriser() : columns8_(IrScale{}, GreyDepth::Eight), columns16_(IrScale{}, GreyDepth::Sixteen) {
  LutPixels table;
  GenerateTable(FactoryTableInputs(), table);
  SetTable(table);
}

void SceneColouriser::SetScale(IrScale scale) {
  if (scale == columns8_.Scale()) return;
  columns8_ = ColumnMap(scale, GreyDepth::Eight);
  columns16_ = ColumnMap(scale, GreyDepth::Sixteen);
}

void SceneColouriser::SetTable(const LutPixels& table) {
  for (int brightness = 0; brightness < kTableHeight; ++brightness) {
    const std::size_t fromRow = static_cast<std::size_t>(kTableHeight - 1 - brightness) * kTableWidth;
    std::memcpy(&cells_[static_cast<std::size_t>(brightness) * kCellStride], &table[fromRow],
                kTableWidth * sizeof(PackedColour));
  }
}

void SceneColouriser::Colourise(const GreyImage& ir, const GreyImage& vis, std::uint8_t* rgb,
                                std::ptrdiff_t stride) const {
  if (!SameSize(ir, vis)) throw std::invalid_argument("the infrared and visible images differ in size");
  for (int y = 0; y < ir.Height(); ++y) {
    ColouriseLevelRow(LevelRow(ir, y), ir.Depth(), LevelRow(vis, y), vis.Depth(), ir.Width(),
                      rgb + static_cast<std::ptrdiff_t>(y) * stride);
  }
}

void SceneColouriser::ColouriseLevelRow(const void* irLevels, GreyDepth irDepth, const void* visLevels,
                                        GreyDepth visDepth, int width, std::uint8_t* rgb) const {
  const std::uint8_t* columns = ColumnMapOf(irDepth).Data();
  const PackedColour* cells = cells_.data();
  const auto* ir8 = static_cast<const std::uint8_t*>(irLevels);
  const auto* ir16 = static_cast<const std::uint16_t*>(irLevels);
  const auto* vis8 = static_cast<const std::uint8_t*>(visLevels);
  const auto* vis16 = static_cast<const std::uint16_t*>(visLevels);
  const bool eightBitIr = irDepth == GreyDepth::Eight;
  if (visDepth == GreyDepth::Eight) {
    eightBitIr ? ColouriseRow<std::uint8_t, std::uint8_t, 0>(ir8, vis8, width, columns, cells, rgb)
               : ColouriseRow<std::uint16_t, std::uint8_t, 0>(ir16, vis8, width, columns, cells, rgb);
  } else {
    eightBitIr ? ColouriseRow<std::uint8_t, std::uint16_t, 8>(ir8, vis16, width, columns, cells, rgb)
               : ColouriseRow<std::uint16_t, std::uint16_t, 8>(ir16, vis16, width, columns, cells, rgb);
  }
}

void SceneColouriser::ColouriseCellRow(const std::uint8_t* columns, const std::uint8_t* brightness, int width,
                                       std::uint8_t* rgb) const {
  const PackedColour* cells = cells_.data();
  WritePixels(width, rgb, [&](int x) {
    const std::size_t ix = static_cast<std::size_t>(x);
    return columns[ix] == kNoDataColumn ? noData_ : cells[(std::size_t{brightness[ix]} << kCellShift) | columns[ix]];
  });
}

}  // namespace palettor
