#pragma once
#include <compare>

namespace palettor {

// A cell of the table: column 0 ... 99 (-60 ... +39 degrees), brightness row 0 ... 255 counted
// from the bottom.
struct TableCell {
  int column = 0;
  int brightness = 0;
  friend bool operator==(const TableCell&, const TableCell&) = default;
};

}  // namespace palettor
