#pragma once
// A satellite scene coloured with the table: the infrared and the visible channel as the rules
// read them (InfraredRule.h, VisibleRule.h), each pixel coloured by SceneColouriser, a pixel
// without data in either channel in the no-data colour.
//
// Channels of different sizes make a scene the size of the larger one (by pixel count), the
// smaller sampled by nearest neighbour (NearestSampling.h). They must have the same shape
// (aspect ratios within 1 %) and, where both are georeferenced, cover the same area (each edge
// within half a pixel of the coarser channel).
//
// Colour() works a window at a time through buffers of a fixed size, whatever the scene's size.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "InfraredRule.h"
#include "SceneChannel.h"
#include "SceneColouriser.h"
#include "VisibleRule.h"

namespace palettor {

struct SceneOptions {
  bool levelScaleGiven = false;  // --ir-scale: for channels of levels only
  std::optional<TemperatureUnit> irUnit;
  std::optional<ReflectanceUnit> visUnit;
  std::optional<double> visGamma;  // for reflectances only; 1 when not given
};

// What one pixel of the scene is, in the channels' units: for pointing at it.
struct ScenePixel {
  std::optional<double> ir;           // the infrared value in its band's unit, or its level; nothing: no data
  std::optional<double> celsius;      // its temperature, by the unit or the level rule's scale
  std::optional<double> vis;          // the visible value in its band's unit, or its level
  std::optional<double> reflectance;  // for a visible channel in a reflectance unit
  std::optional<int> column, row;     // the table cell (row counted from the bottom); nothing without data
};

class ColouredScene {
 public:
  // `colouriser` (its table, scale and no-data colour) must outlive the scene. Throws
  // RasterError (Refused) when the channels cannot make a scene with these options.
  ColouredScene(SceneChannel ir, SceneChannel vis, const SceneOptions& options, const SceneColouriser& colouriser);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const SceneChannel& Infrared() const { return ir_; }
  const SceneChannel& Visible() const { return vis_; }
  const InfraredRule& IrRule() const { return irRule_; }
  const VisibleRule& VisRule() const { return visRule_; }

  // The infrared channel's georeferencing, for the scene's pixels.
  std::optional<std::array<double, 6>> GeoTransform() const;
  const OGRSpatialReference* SpatialReference() const { return ir_.SpatialReference(); }

  // 24-bit RGB of `window`: three bytes a pixel, each row `stride` bytes after the one above.
  // Throws RasterError when a channel cannot be read.
  void Colour(const PixelWindow& window, std::uint8_t* rgb, std::ptrdiff_t stride);

  // From column `x` of the scene on, Colour() takes its colours from `right` (which must hold
  // the same scale and outlive the scene): two tables side by side on one scene. An `x` of 0
  // colours all of it with `right`, one of Width() or more none of it.
  void SplitAt(int x, const SceneColouriser& right);

  // The table cells Colour() colours `window` from, rows packed: `columns` 0 ... 99, or
  // SceneColouriser::kNoDataColumn for a pixel without data in either channel; `brightness`
  // rows 0 ... 255 counted from the bottom; `sides` whether the column holds a temperature
  // beyond the table's edge (a TableSide). The caller's buffers bound the window's size.
  // Throws RasterError when a channel cannot be read.
  void Cells(const PixelWindow& window, std::uint8_t* columns, std::uint8_t* brightness, TableSide* sides);

  // The pixel (x, y) of the scene, each channel read at its own pixel under it. Throws
  // RasterError when a channel cannot be read.
  ScenePixel PixelAt(int x, int y);

 private:
  // A channel's pixels in the scene's grid as table cells: infrared columns (or
  // SceneColouriser::kNoDataColumn), visible rows (or kNoDataRow).
  static constexpr std::uint16_t kNoDataRow = 0x100;
  void InfraredColumns(const PixelWindow& window, std::uint8_t* columns);
  // Infrared columns in the low byte, their TableSide in the high one.
  static constexpr int kSideShift = 8;
  void InfraredColumnsAndSides(const PixelWindow& window, std::uint16_t* cells);
  template <typename Cell>
  void ConvertInfrared(const PixelWindow& window, Cell* out);
  void VisibleRows(const PixelWindow& window, std::uint16_t* rows);
  // The channel's pixels under `window` of the scene: the window itself for a channel of the
  // scene's size, else the nearest pixels of the smaller one; `convert` gives the cells of a
  // window of the channel at its own size.
  template <typename Cell, typename Convert>
  void InSceneGrid(const SceneChannel& channel, const PixelWindow& window, Cell* cells, std::vector<Cell>& source,
                   const Convert& convert);
  void ColourLevels(const PixelWindow& window, std::uint8_t* rgb, std::ptrdiff_t stride);

  SceneChannel ir_, vis_;
  InfraredRule irRule_;
  VisibleRule visRule_;
  const SceneColouriser& colouriser_;
  const SceneColouriser* right_ = nullptr;
  int split_ = 0;
  // How many of a row's pixels in `window` take colouriser_ (the rest take right_).
  int LeftPixels(const PixelWindow& window) const;
  int width_ = 0, height_ = 0;
  bool levelsAlone_ = false;  // both channels levels of the scene's size without no-data: the plain rule

  std::vector<std::uint16_t> irLevels_, visLevels_;
  std::vector<double> values_;
  std::vector<std::uint8_t> columns_, irSource_;
  std::vector<std::uint16_t> rows_, visSource_, irCells_, irCellSource_;
  std::vector<std::uint8_t> brightness_;
};

}  // namespace palettor
