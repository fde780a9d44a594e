#include "BuiltInPalettes.h"

#include "EmbeddedPresets.h"
#include "PaletteFile.h"

namespace palettor {

namespace {

std::vector<NamedPalette> ReadBuiltInPalettes() {
  std::vector<NamedPalette> palettes;
  for (const EmbeddedPreset& preset : EmbeddedPresets()) {
    const PaletteReadResult read = ParsePalette(preset.text);
    // The files are compiled in and checked by the tests: a fault here is a broken build.
    if (!read.document) qFatal("built-in palette %s: %s", preset.name, qPrintable(read.error.Message()));
    palettes.push_back({QString::fromLatin1(preset.name), read.document->palette, {}});
  }
  return palettes;
}

}  // namespace

const std::vector<NamedPalette>& BuiltInPalettes() {
  static const std::vector<NamedPalette> palettes = ReadBuiltInPalettes();
  return palettes;
}

}  // namespace palettor
