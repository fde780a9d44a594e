#pragma once
// Colours a satellite scene with the table, as the viewer does: each pixel takes the table's
// colour at the column of its infrared level (see ColumnMap.h) and the row of its visible
// level: b = L for an 8-bit visible image, L >> 8 for a 16-bit one (0 = darkest, the table's
// bottom row). The two channels may differ in depth but not in size.
//
// Channels in other units arrive as cells already worked out (a column and a row per pixel);
// a pixel without data in either channel takes the no-data colour.
#include <array>
#include <cstddef>
#include <cstdint>

#include "ColumnMap.h"
#include "GreyImage.h"
#include "LutTable.h"

namespace palettor {

// The table row (counted from the bottom) of a visible level.
constexpr int BrightnessOfLevel(int level, GreyDepth depth) { return depth == GreyDepth::Eight ? level : level >> 8; }

class SceneColouriser {
 public:
  // The default scale and the table the window starts with on a first run.
  SceneColouriser();

  void SetScale(IrScale scale);
  IrScale Scale() const { return columns8_.Scale(); }
  const ColumnMap& ColumnMapOf(GreyDepth depth) const { return depth == GreyDepth::Eight ? columns8_ : columns16_; }

  // The table as GenerateTable fills it (rows from the top).
  void SetTable(const LutPixels& table);
  // Table colour at column 0 ... 99 and brightness row 0 ... 255 counted from the bottom.
  PackedColour ColourAt(int column, int brightness) const {
    return cells_[static_cast<std::size_t>(brightness) * kCellStride + static_cast<std::size_t>(column)];
  }

  // Writes the coloured scene as 24-bit RGB, three bytes per pixel in the order red, green,
  // blue, each row of ir.Width() pixels starting `stride` bytes after the one above it
  // (a QImage::Format_RGB888 scan line fits). Allocates nothing.
  // Throws std::invalid_argument when the two images differ in size.
  void Colourise(const GreyImage& ir, const GreyImage& vis, std::uint8_t* rgb, std::ptrdiff_t stride) const;

  // One scan line of `width` pixels from levels of the given depths (uint8_t or uint16_t
  // arrays), with the same rule as colourise.
  void ColouriseLevelRow(const void* irLevels, GreyDepth irDepth, const void* visLevels, GreyDepth visDepth, int width,
                         std::uint8_t* rgb) const;

  // One scan line from table cells: `columns` 0 ... 99 or kNoDataColumn, `brightness` rows
  // 0 ... 255 counted from the bottom.
  static constexpr std::uint8_t kNoDataColumn = 0xFF;
  void ColouriseCellRow(const std::uint8_t* columns, const std::uint8_t* brightness, int width,
                        std::uint8_t* rgb) const;
  void SetNoDataColour(PackedColour colour) { noData_ = colour; }
  PackedColour NoDataColour() const { return noData_; }

 private:
  // Rows of 128 so that a cell's index is a shift and an or.
  static constexpr std::size_t kCellStride = 128;

  ColumnMap columns8_;
  ColumnMap columns16_;
  std::array<PackedColour, kCellStride * kTableHeight> cells_{};
  PackedColour noData_ = PackRGB(0, 0, 0);
};

}  // namespace palettor
