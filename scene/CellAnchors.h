#pragma once
// Which anchors give one cell of the table its colour, and the one anchor a user pointing at
// that cell means.
//
// A cell in the blue tail (column +2 degrees or warmer, brightness row inside the tail percent)
// takes the tail's colour. Elsewhere a column lies between two anchors a (colder) and b:
// with Smooth colours it blends them, b weighted ((t + 100) mod 10) / 10; without, columns
// up to 0 degrees take a and warmer ones b. The columns -1 ... +1 have the 0 degree anchor
// alone.
#include <array>

#include "LutTable.h"

namespace palettor {

struct CellAnchors {
  bool blueTail = false;
  // The anchors that show in the colour, colder first; `count` is 1 or 2.
  std::array<int, 2> anchors{};
  // Each one's share of the colour in tenths (adding up to 10).
  std::array<int, 2> tenths{};
  int count = 0;
  // What a click selects: the tail, the single anchor, or the larger share (the colder one
  // at exactly half).
  int selected = 0;
};

// column 0 ... 99 (x of the table), brightness 0 ... 255 counted from the bottom.
CellAnchors AnchorsOfCell(int column, int brightness, const TableInputs& table);

// Whether the blue tail replaces the colour of that cell.
bool IsBlueTailCell(int column, int brightness, int tailPercent);

}  // namespace palettor
