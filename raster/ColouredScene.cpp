#include "ColouredScene.h"

#include <gdal.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <string>

#include "ColumnMap.h"
#include "NearestSampling.h"
#include "RasterError.h"

namespace palettor {

namespace {

// Pixels worked on at once: a few megabytes of buffers whatever the scene's width.
constexpr std::int64_t kChunkPixels = std::int64_t{1} << 18;

std::string BandText(const SceneChannel& channel) {
  return "band " + std::to_string(channel.BandNumber()) + " (" + GDALGetDataTypeName(channel.Calibration().type) + ")";
}

std::string LevelsText(GreyDepth depth) { return depth == GreyDepth::Eight ? "8-bit levels" : "16-bit levels"; }

std::string UnitProblem(const SceneChannel& channel, const char* what) {
  const std::string& unit = channel.Calibration().unit;
  return BandText(channel) + (unit.empty() ? " has no unit" : " is in \"" + unit + "\", which is not " + what);
}

InfraredRule ChooseInfraredRule(const SceneChannel& ir, const SceneOptions& options) {
  InfraredRule rule;
  if (options.irUnit) {
    rule.unit = options.irUnit;
  } else if (const auto unit = TemperatureUnitNamed(ir.Calibration().unit)) {
    rule.unit = unit;
  } else if (const auto depth = ir.LevelDepth()) {
    rule.levelDepth = *depth;
    return rule;
  } else {
    throw Refused("the infrared image " + ir.Name() + ": " + UnitProblem(ir, "a temperature") +
                  "; give its unit with --ir-unit K or --ir-unit C");
  }
  if (options.levelScaleGiven) {
    throw Refused("--ir-scale sets the temperatures of 8- and 16-bit levels; the infrared image " + ir.Name() +
                  " holds temperatures in " + std::string(TemperatureUnitSymbol(*rule.unit)));
  }
  return rule;
}

VisibleRule ChooseVisibleRule(const SceneChannel& vis, const SceneOptions& options) {
  VisibleRule rule;
  if (options.visUnit) {
    rule.unit = options.visUnit;
  } else if (const auto unit = ReflectanceUnitNamed(vis.Calibration().unit)) {
    rule.unit = unit;
  } else if (const auto depth = vis.LevelDepth()) {
    rule.levelDepth = *depth;
    if (options.visGamma) {
      throw Refused("--vis-gamma brightens reflectances; the visible image " + vis.Name() + " holds " +
                    LevelsText(*depth));
    }
    return rule;
  } else {
    throw Refused("the visible image " + vis.Name() + ": " + UnitProblem(vis, "a reflectance") +
                  "; give its unit with --vis-unit 1 (a fraction) or --vis-unit %");
  }
  rule.gamma = options.visGamma.value_or(1.0);
  return rule;
}

std::string SizeText(const SceneChannel& channel) {
  return std::to_string(channel.Width()) + " x " + std::to_string(channel.Height());
}

struct Extent {
  double minX, maxX, minY, maxY;
  double pixelWidth, pixelHeight;
};

Extent ExtentOf(const std::array<double, 6>& t, int width, int height) {
  Extent e{};
  const double xs[4] = {t[0], t[0] + width * t[1], t[0] + height * t[2], t[0] + width * t[1] + height * t[2]};
  const double ys[4] = {t[3], t[3] + width * t[4], t[3] + height * t[5], t[3] + width * t[4] + height * t[5]};
  e.minX = *std::min_element(xs, xs + 4);
  e.maxX = *std::max_element(xs, xs + 4);
  e.minY = *std::min_element(ys, ys + 4);
  e.maxY = *std::max_element(ys, ys + 4);
  e.pixelWidth = std::hypot(t[1], t[4]);
  e.pixelHeight = std::hypot(t[2], t[5]);
  return e;
}

std::string ExtentText(const Extent& e) {
  char text[160];
  std::snprintf(text, sizeof text, "x %.10g to %.10g, y %.10g to %.10g", e.minX, e.maxX, e.minY, e.maxY);
  return text;
}

void CheckSameScene(const SceneChannel& ir, const SceneChannel& vis) {
  if (ir.Width() != vis.Width() || ir.Height() != vis.Height()) {
    const double irAspect = static_cast<double>(ir.Width()) / ir.Height();
    const double visAspect = static_cast<double>(vis.Width()) / vis.Height();
    if (std::fabs(irAspect / visAspect - 1.0) > 0.01) {
      throw Refused("the infrared image " + ir.Name() + " is " + SizeText(ir) + " pixels and the visible image " +
                    vis.Name() + " " + SizeText(vis) +
                    ": the channels of a scene have the same shape (their aspect ratios differ by more than 1 %)");
    }
  }
  const auto irTransform = ir.GeoTransform(), visTransform = vis.GeoTransform();
  if (!irTransform || !visTransform) return;
  const Extent a = ExtentOf(*irTransform, ir.Width(), ir.Height());
  const Extent b = ExtentOf(*visTransform, vis.Width(), vis.Height());
  const double toleranceX = 0.5 * std::max(a.pixelWidth, b.pixelWidth);
  const double toleranceY = 0.5 * std::max(a.pixelHeight, b.pixelHeight);
  const bool same = std::fabs(a.minX - b.minX) <= toleranceX && std::fabs(a.maxX - b.maxX) <= toleranceX &&
                    std::fabs(a.minY - b.minY) <= toleranceY && std::fabs(a.maxY - b.maxY) <= toleranceY;
  if (!same) {
    throw Refused("the infrared image " + ir.Name() + " covers " + ExtentText(a) + " and the visible image " +
                  vis.Name() + " " + ExtentText(b) + ": the channels of a scene cover the same area");
  }
}

template <typename T>
T* Sized(std::vector<T>& buffer, std::size_t count) {
  if (buffer.size() < count) buffer.resize(count);
  return buffer.data();
}

}  // namespace

ColouredScene::ColouredScene(SceneChannel ir, SceneChannel vis, const SceneOptions& options,
                             const SceneColouriser& colouriser)
    : ir_(std::move(ir)),
      vis_(std::move(vis)),
      irRule_(ChooseInfraredRule(ir_, options)),
      visRule_(ChooseVisibleRule(vis_, options)),
      colouriser_(colouriser) {
  CheckSameScene(ir_, vis_);
  const auto pixels = [](const SceneChannel& c) { return std::int64_t{c.Width()} * c.Height(); };
  const SceneChannel& larger = pixels(vis_) > pixels(ir_) ? vis_ : ir_;
  width_ = larger.Width();
  height_ = larger.Height();
  levelsAlone_ = !irRule_.unit && !visRule_.unit && !ir_.NoDataLevel() && !vis_.NoDataLevel() &&
                 ir_.Width() == vis_.Width() && ir_.Height() == vis_.Height();
}

std::optional<std::array<double, 6>> ColouredScene::GeoTransform() const {
  auto t = ir_.GeoTransform();
  if (!t) return t;
  const double sx = static_cast<double>(ir_.Width()) / width_, sy = static_cast<double>(ir_.Height()) / height_;
  (*t)[1] *= sx;
  (*t)[4] *= sx;
  (*t)[2] *= sy;
  (*t)[5] *= sy;
  return t;
}

template <typename Cell, typename Convert>
void ColouredScene::InSceneGrid(const SceneChannel& channel, const PixelWindow& window, Cell* cells,
                                std::vector<Cell>& source, const Convert& convert) {
  if (channel.Width() == width_ && channel.Height() == height_) {
    convert(window, cells);
    return;
  }
  const std::vector<int> xs = NearestSources(window.x, window.width, channel.Width(), width_);
  const std::vector<int> ys = NearestSources(window.y, window.height, channel.Height(), height_);
  const PixelWindow from{xs.front(), ys.front(), xs.back() - xs.front() + 1, ys.back() - ys.front() + 1};
  Cell* read = Sized(source, static_cast<std::size_t>(from.width) * static_cast<std::size_t>(from.height));
  convert(from, read);
  for (int y = 0; y < window.height; ++y) {
    const Cell* row = read + static_cast<std::ptrdiff_t>(ys[static_cast<std::size_t>(y)] - from.y) * from.width;
    Cell* out = cells + static_cast<std::ptrdiff_t>(y) * window.width;
    for (int x = 0; x < window.width; ++x) out[x] = row[xs[static_cast<std::size_t>(x)] - from.x];
  }
}

template <typename Cell>
void ColouredScene::ConvertInfrared(const PixelWindow& w, Cell* out) {
  // Sides only when asked for: colouring keeps its one byte a pixel.
  constexpr bool kWithSides = sizeof(Cell) > 1;
  const auto count = static_cast<std::size_t>(w.width) * static_cast<std::size_t>(w.height);
  const auto withSide = [](int column, TableSide side) {
    return static_cast<Cell>(column | (static_cast<int>(side) << kSideShift));
  };
  if (!irRule_.unit) {
    std::uint16_t* levels = Sized(irLevels_, count);
    ir_.ReadLevels(w, w.width, w.height, levels);
    const ColumnMap& map = colouriser_.ColumnMapOf(irRule_.levelDepth);
    const auto noData = ir_.NoDataLevel();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(levels);
    const int maxLevel = MaxLevel(irRule_.levelDepth);
    for (std::size_t i = 0; i < count; ++i) {
      const int level = irRule_.levelDepth == GreyDepth::Eight ? bytes[i] : levels[i];
      if (noData && level == *noData) {
        out[i] = SceneColouriser::kNoDataColumn;
        continue;
      }
      const int column = map.Column(level);
      if constexpr (kWithSides) {
        // Only the edge columns hold temperatures beyond the table.
        const bool edge = column == 0 || column == kTableWidth - 1;
        out[i] = withSide(
            column, edge ? SideOfTemperature(TemperatureOfLevel(map.Scale(), level, maxLevel)) : TableSide::Within);
      } else {
        out[i] = static_cast<Cell>(column);
      }
    }
    return;
  }
  double* values = Sized(values_, count);
  ir_.ReadValues(w, w.width, w.height, values);
  const TemperatureUnit unit = *irRule_.unit;
  for (std::size_t i = 0; i < count; ++i) {
    if (std::isnan(values[i])) {
      out[i] = SceneColouriser::kNoDataColumn;
      continue;
    }
    const double celsius = Celsius(values[i], unit);
    if constexpr (kWithSides) {
      out[i] = withSide(ColumnOfTemperature(celsius), SideOfTemperature(celsius));
    } else {
      out[i] = static_cast<Cell>(ColumnOfTemperature(celsius));
    }
  }
}

void ColouredScene::InfraredColumns(const PixelWindow& window, std::uint8_t* columns) try {
  InSceneGrid(ir_, window, columns, irSource_,
              [&](const PixelWindow& w, std::uint8_t* out) { ConvertInfrared(w, out); });
} catch (const RasterError& error) {
  throw InChannel(error, "infrared image");
}

void ColouredScene::InfraredColumnsAndSides(const PixelWindow& window, std::uint16_t* cells) try {
  InSceneGrid(ir_, window, cells, irCellSource_,
              [&](const PixelWindow& w, std::uint16_t* out) { ConvertInfrared(w, out); });
} catch (const RasterError& error) {
  throw InChannel(error, "infrared image");
}

void ColouredScene::VisibleRows(const PixelWindow& window, std::uint16_t* rows) try {
  InSceneGrid(vis_, window, rows, visSource_, [&](const PixelWindow& w, std::uint16_t* out) {
    const auto count = static_cast<std::size_t>(w.width) * static_cast<std::size_t>(w.height);
    if (!visRule_.unit) {
      std::uint16_t* levels = Sized(visLevels_, count);
      vis_.ReadLevels(w, w.width, w.height, levels);
      const auto noData = vis_.NoDataLevel();
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(levels);
      const bool eight = visRule_.levelDepth == GreyDepth::Eight;
      for (std::size_t i = 0; i < count; ++i) {
        const int level = eight ? bytes[i] : levels[i];
        out[i] = noData && level == *noData ? kNoDataRow
                                            : static_cast<std::uint16_t>(BrightnessOfLevel(level, visRule_.levelDepth));
      }
      return;
    }
    double* values = Sized(values_, count);
    vis_.ReadValues(w, w.width, w.height, values);
    const ReflectanceUnit unit = *visRule_.unit;
    const double gamma = visRule_.gamma;
    for (std::size_t i = 0; i < count; ++i) {
      out[i] = std::isnan(values[i])
                   ? kNoDataRow
                   : static_cast<std::uint16_t>(RowOfReflectance(Reflectance(values[i], unit), gamma));
    }
  });
} catch (const RasterError& error) {
  throw InChannel(error, "visible image");
}

void ColouredScene::ColourLevels(const PixelWindow& window, std::uint8_t* rgb, std::ptrdiff_t stride) {
  const auto count = static_cast<std::size_t>(window.width) * static_cast<std::size_t>(window.height);
  std::uint16_t* ir = Sized(irLevels_, count);
  std::uint16_t* vis = Sized(visLevels_, count);
  try {
    ir_.ReadLevels(window, window.width, window.height, ir);
  } catch (const RasterError& error) {
    throw InChannel(error, "infrared image");
  }
  try {
    vis_.ReadLevels(window, window.width, window.height, vis);
  } catch (const RasterError& error) {
    throw InChannel(error, "visible image");
  }
  const std::size_t irBytes = irRule_.levelDepth == GreyDepth::Eight ? 1 : 2;
  const std::size_t visBytes = visRule_.levelDepth == GreyDepth::Eight ? 1 : 2;
  const int left = LeftPixels(window);
  for (int y = 0; y < window.height; ++y) {
    const auto row = static_cast<std::size_t>(y) * static_cast<std::size_t>(window.width);
    const auto* irRow = reinterpret_cast<const std::uint8_t*>(ir) + row * irBytes;
    const auto* visRow = reinterpret_cast<const std::uint8_t*>(vis) + row * visBytes;
    std::uint8_t* out = rgb + y * stride;
    colouriser_.ColouriseLevelRow(irRow, irRule_.levelDepth, visRow, visRule_.levelDepth, left, out);
    if (left == window.width) continue;
    const auto skipped = static_cast<std::size_t>(left);
    right_->ColouriseLevelRow(irRow + skipped * irBytes, irRule_.levelDepth, visRow + skipped * visBytes,
                              visRule_.levelDepth, window.width - left, out + 3 * left);
  }
}

ScenePixel ColouredScene::PixelAt(int x, int y) {
  ScenePixel pixel;
  const auto at = [&](SceneChannel& channel) {
    const PixelWindow one{NearestSource(x, channel.Width(), width_), NearestSource(y, channel.Height(), height_), 1, 1};
    double value = 0;
    channel.ReadValues(one, 1, 1, &value);
    return std::isnan(value) ? std::nullopt : std::optional<double>(value);
  };
  pixel.ir = at(ir_);
  pixel.vis = at(vis_);
  if (pixel.ir) {
    pixel.celsius = irRule_.unit ? Celsius(*pixel.ir, *irRule_.unit)
                                 : TemperatureOfLevel(colouriser_.Scale(), static_cast<int>(*pixel.ir),
                                                      MaxLevel(irRule_.levelDepth));
  }
  if (pixel.vis && visRule_.unit) pixel.reflectance = Reflectance(*pixel.vis, *visRule_.unit);
  if (pixel.celsius && pixel.vis) {
    pixel.column = ColumnOfTemperature(*pixel.celsius);
    pixel.row = pixel.reflectance ? RowOfReflectance(*pixel.reflectance, visRule_.gamma)
                                  : BrightnessOfLevel(static_cast<int>(*pixel.vis), visRule_.levelDepth);
  }
  return pixel;
}

void ColouredScene::Colour(const PixelWindow& window, std::uint8_t* rgb, std::ptrdiff_t stride) {
  if (window.width <= 0 || window.height <= 0) return;
  const int rowsAtOnce = static_cast<int>(std::clamp<std::int64_t>(kChunkPixels / window.width, 1, window.height));
  try {
    for (int done = 0; done < window.height; done += rowsAtOnce) {
      const PixelWindow chunk{window.x, window.y + done, window.width, std::min(rowsAtOnce, window.height - done)};
      std::uint8_t* out = rgb + static_cast<std::ptrdiff_t>(done) * stride;
      if (levelsAlone_) {
        ColourLevels(chunk, out, stride);
        continue;
      }
      const auto count = static_cast<std::size_t>(chunk.width) * static_cast<std::size_t>(chunk.height);
      std::uint8_t* columns = Sized(columns_, count);
      std::uint16_t* rows = Sized(rows_, count);
      std::uint8_t* brightness = Sized(brightness_, count);
      InfraredColumns(chunk, columns);
      VisibleRows(chunk, rows);
      for (std::size_t i = 0; i < count; ++i) {
        if (rows[i] == kNoDataRow) columns[i] = SceneColouriser::kNoDataColumn;
        brightness[i] = static_cast<std::uint8_t>(rows[i]);
      }
      const int left = LeftPixels(chunk);
      for (int y = 0; y < chunk.height; ++y) {
        const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(chunk.width);
        colouriser_.ColouriseCellRow(columns + at, brightness + at, left, out + y * stride);
        if (left == chunk.width) continue;
        const std::size_t rest = at + static_cast<std::size_t>(left);
        right_->ColouriseCellRow(columns + rest, brightness + rest, chunk.width - left, out + y * stride + 3 * left);
      }
    }
  } catch (const std::bad_alloc&) {
    const SceneChannel& larger = ir_.Width() == width_ && ir_.Height() == height_ ? ir_ : vis_;
    throw NotEnoughMemory(larger.Name(), larger.Width(), larger.Height());
  }
}

void ColouredScene::SplitAt(int x, const SceneColouriser& right) {
  right_ = &right;
  split_ = x;
}

int ColouredScene::LeftPixels(const PixelWindow& window) const {
  if (!right_) return window.width;
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{split_} - window.x, 0, window.width));
}

void ColouredScene::Cells(const PixelWindow& window, std::uint8_t* columns, std::uint8_t* brightness,
                          TableSide* sides) {
  if (window.width <= 0 || window.height <= 0) return;
  const auto count = static_cast<std::size_t>(window.width) * static_cast<std::size_t>(window.height);
  try {
    std::uint16_t* ir = Sized(irCells_, count);
    std::uint16_t* rows = Sized(rows_, count);
    InfraredColumnsAndSides(window, ir);
    VisibleRows(window, rows);
    for (std::size_t i = 0; i < count; ++i) {
      const bool noData = rows[i] == kNoDataRow || (ir[i] & 0xFF) == SceneColouriser::kNoDataColumn;
      columns[i] = noData ? SceneColouriser::kNoDataColumn : static_cast<std::uint8_t>(ir[i] & 0xFF);
      brightness[i] = static_cast<std::uint8_t>(rows[i]);
      sides[i] = noData ? TableSide::Within : static_cast<TableSide>(ir[i] >> kSideShift);
    }
  } catch (const std::bad_alloc&) {
    const SceneChannel& larger = ir_.Width() == width_ && ir_.Height() == height_ ? ir_ : vis_;
    throw NotEnoughMemory(larger.Name(), larger.Width(), larger.Height());
  }
}

}  // namespace palettor
