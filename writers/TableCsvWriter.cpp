#include "TableCsvWriter.h"

#include <charconv>

#include "TableCells.h"

namespace palettor {

namespace {

void Append(QByteArray& out, int number, char after) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, end - digits).append(after);
}

}  // namespace

QByteArray TableCsvWriter::Encode(const LutPixels& pixels) {
  QByteArray out;
  out.reserve(kTablePixels * 20);
  out.append(kTableCsvHeader).append('\n');
  for (int column = 0; column < kTableWidth; ++column) {
    for (int brightness = 0; brightness <= kTableMaxBrightness; ++brightness) {
      const PackedColour cell = CellColour(pixels, column, brightness);
      Append(out, CelsiusOfColumn(column), ',');
      Append(out, brightness, ',');
      Append(out, RedOf(cell), ',');
      Append(out, GreenOf(cell), ',');
      Append(out, BlueOf(cell), '\n');
    }
  }
  return out;
}

bool TableCsvWriter::Write(const LutPixels& pixels, const QString& target) {
  return WriteBytes(Encode(pixels), target);
}

}  // namespace palettor
