#pragma once
// A palette as menus and the command line offer it: by name.
#include <QString>

#include "Palette.h"

namespace palettor {

struct NamedPalette {
  QString name;
  Palette palette;
  QString file;  // where a user palette lives; "" for a built-in one
  bool IsBuiltIn() const { return file.isEmpty(); }
};

}  // namespace palettor
