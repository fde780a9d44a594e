#pragma once
// The table as a legend to print beside a coloured satellite image: the table as a colour bar,
// temperature across (the window's scale: -60, -50 ... +40, then "°C") and brightness up the
// side (0, 64, 128, 192, 255, titled "brightness"), black on white, as a PNG.
//
// Every table cell is a block of whole pixels of exactly its colour: cellWidth x cellHeight,
// the same for all cells, with no smoothing. The default is the window's view, 3 x 1. A size
// asked for is the size of the whole image; the cells then take the largest whole size that
// fits, the bar is centred in what is left over, and the labels grow with the cells (text scale
// min(cellWidth / 3, cellHeight), from 1 to 8). The text is drawn from a font built into the
// program, so the file is the same on every machine. It is always a PNG file, and only a name
// that says so is written.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "FileWriter.h"
#include "LutTable.h"

namespace palettor {

inline constexpr int kMaxLegendSide = 4096;

struct LegendLayout {
  int width = 0, height = 0;          // the whole image
  int cellWidth = 0, cellHeight = 0;  // pixels per table cell
  int barLeft = 0, barTop = 0;        // the top-left pixel of the cell of -60 degrees, brightness 255
  int textScale = 1;
};

QImage DrawLegend(const LutPixels& pixels, const LegendLayout& layout);

class TableLegendWriter final : public FileWriter {
 public:
  // The PNG file's bytes; empty only if the encoder fails.
  static QByteArray Encode(const LutPixels& pixels, const LegendLayout& layout);

  // At the default size.
  TableLegendWriter();

  // An image `width` x `height` pixels; a side not given takes the default cell size. False,
  // with ErrorString() saying why and which sizes would do, when the bar and its labels do not
  // fit; the size stays as it was.
  bool SetSize(std::optional<int> width, std::optional<int> height);
  const LegendLayout& Layout() const { return layout_; }

  // Whether `target` names a PNG file (".png" in any case) or standard output; false, with
  // ErrorString() saying so, for any other name.
  bool AcceptsTarget(const QString& target);

  // A target that AcceptsTarget refuses is refused here too.
  bool Write(const LutPixels& pixels, const QString& target);

 private:
  LegendLayout layout_;
};

}  // namespace palettor
