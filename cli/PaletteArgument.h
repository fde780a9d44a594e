#pragma once
// Palettes named on the command line: a palette file (or "-" for standard input) and a palette
// by name, built-in or the user's own.
#include <string>

#include "NamedPalette.h"
#include "PaletteFile.h"

namespace palettor::cli {

// The palette file `file`. Throws UsageError (exit 2) for one that is not a valid palette file,
// with the member at fault, and Failure (exit 1) for one that cannot be read.
PaletteDocument ReadPaletteArgument(const std::string& file);

// The built-in or user palette called `name` (any case). Throws UsageError when there is none.
NamedPalette PaletteNamed(const std::string& name);

}  // namespace palettor::cli
