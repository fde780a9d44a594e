#include "CellAnchors.h"

#include "AnchorPalette.h"

namespace palettor {

bool IsBlueTailCell(int column, int brightness, int tailPercent) {
  const int celsius = column + kTableFirstCelsius;
  return celsius >= 2 && (brightness * 100) / 255 < tailPercent;
}

CellAnchors AnchorsOfCell(int column, int brightness, const TableInputs& table) {
  CellAnchors cell;
  if (IsBlueTailCell(column, brightness, table.tailPercent)) {
    cell.blueTail = true;
    cell.anchors[0] = cell.selected = kBlueTailAnchor;
    cell.tenths[0] = 10;
    cell.count = 1;
    return cell;
  }
  const int celsius = column + kTableFirstCelsius;
  int colder = (celsius + 60) / 10 - 6;
  int warmer = colder + 1;
  if (celsius >= -1 && celsius <= 1) colder = warmer = 0;
  const int warmerTenths = (celsius + 100) % 10;

  const auto single = [&cell](int anchor) {
    cell.anchors[0] = cell.selected = anchor;
    cell.tenths[0] = 10;
    cell.count = 1;
  };
  if (!table.smoothColours) {
    single(celsius >= 1 ? warmer : colder);
  } else if (colder == warmer || warmerTenths == 0) {
    single(colder);
  } else {
    cell.anchors = {colder, warmer};
    cell.tenths = {10 - warmerTenths, warmerTenths};
    cell.count = 2;
    cell.selected = warmerTenths > 5 ? warmer : colder;
  }
  return cell;
}

}  // namespace palettor
