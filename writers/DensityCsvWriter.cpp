#include "DensityCsvWriter.h"

#include <charconv>

#include "TableCells.h"

namespace palettor {

namespace {

template <typename Number>
void Append(QByteArray& out, Number number, char after) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, end - digits).append(after);
}

}  // namespace

QByteArray DensityCsvWriter::Encode(const SceneDensity& density) {
  QByteArray out;
  out.reserve(kTablePixels * 16);
  out.append(kDensityCsvHeader).append('\n');
  for (int column = 0; column < kTableWidth; ++column) {
    for (int brightness = 0; brightness <= kTableMaxBrightness; ++brightness) {
      Append(out, CelsiusOfColumn(column), ',');
      Append(out, brightness, ',');
      Append(out, density.Count(column, brightness), '\n');
    }
  }
  return out;
}

bool DensityCsvWriter::Write(const SceneDensity& density, const QString& target) {
  return WriteBytes(Encode(density), target);
}

}  // namespace palettor
