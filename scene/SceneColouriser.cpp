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

template <typename IrLevel, typename VisLevel, unsigned kVisShift>
void ColouriseRow(const IrLevel* ir, const VisLevel* vis, int width, const std::uint8_t* columns,
                  const PackedColour* cells, std::uint8_t* out) {
  const auto cell = [&](int x) {
    const std::size_t ix = static_cast<std::size_t>(x);
    return cells[(static_cast<std::size_t>(vis[ix] >> kVisShift) << kCellShift) | columns[ir[ix]]];
  };
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

const std::uint8_t* LevelRow(const GreyImage& image, int y, std::uint8_t) { return image.Row8(y); }
const std::uint16_t* LevelRow(const GreyImage& image, int y, std::uint16_t) { return image.Row16(y); }

template <typename IrLevel, typename VisLevel, unsigned kVisShift>
void ColouriseRows(const GreyImage& ir, const GreyImage& vis, const std::uint8_t* columns, const PackedColour* cells,
                   std::uint8_t* rgb, std::ptrdiff_t stride) {
  for (int y = 0; y < ir.Height(); ++y) {
    ColouriseRow<IrLevel, VisLevel, kVisShift>(LevelRow(ir, y, IrLevel{}), LevelRow(vis, y, VisLevel{}), ir.Width(),
                                               columns, cells, rgb + static_cast<std::ptrdiff_t>(y) * stride);
  }
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
  const std::uint8_t* columns = ColumnMapOf(ir.Depth()).Data();
  const PackedColour* cells = cells_.data();
  const bool ir8 = ir.Depth() == GreyDepth::Eight;
  const bool vis8 = vis.Depth() == GreyDepth::Eight;
  if (ir8 && vis8) {
    ColouriseRows<std::uint8_t, std::uint8_t, 0>(ir, vis, columns, cells, rgb, stride);
  } else if (ir8) {
    ColouriseRows<std::uint8_t, std::uint16_t, 8>(ir, vis, columns, cells, rgb, stride);
  } else if (vis8) {
    ColouriseRows<std::uint16_t, std::uint8_t, 0>(ir, vis, columns, cells, rgb, stride);
  } else {
    ColouriseRows<std::uint16_t, std::uint16_t, 8>(ir, vis, columns, cells, rgb, stride);
  }
}

}  // namespace palettor
