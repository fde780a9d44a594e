#pragma once
// A palette file whose anchor colours are all worked out by hand (full-brightness colours of
// whole hues and saturations), with every option away from its default: the same palette as
// the file, as the program holds it, and as the patches must show it.
#include <string>

#include <gtest/gtest.h>

#include "PackedColour.h"
#include "Palette.h"

namespace palettor::test {

// Laid out as the program writes palette files, so an export can be compared with it.
inline const char kSamplePaletteFile[] = R"({
  "format": "palettor-palette",
  "version": 1,
  "name": "Sample",
  "whiteTop": false,
  "smoothColours": false,
  "tailPercent": 40,
  "anchors": {
    "M70": {"hue": 220, "saturation": 70},
    "M60": {"hue": 0, "saturation": 100},
    "M50": {"hue": 30, "saturation": 50},
    "M40": {"hue": 60, "saturation": 100},
    "M30": {"hue": 120, "saturation": 100},
    "M20": {"hue": 200, "saturation": 100},
    "M10": {"hue": 240, "saturation": 100},
    "O0": {"hue": 300, "saturation": 100},
    "P10": {"hue": 360, "saturation": 100},
    "P20": {"hue": 100, "saturation": 0},
    "P30": {"hue": 15, "saturation": 25},
    "P40": {"hue": 35, "saturation": 25}
  }
}
)";

inline const Palette kSamplePalette{{{{220, 70},
                                      {0, 100},
                                      {30, 50},
                                      {60, 100},
                                      {120, 100},
                                      {200, 100},
                                      {240, 100},
                                      {300, 100},
                                      {360, 100},
                                      {100, 0},
                                      {15, 25},
                                      {35, 25}}},
                                    40,
                                    false,
                                    false};

// The anchor colours (red, green, blue), blue tail first, then -60 ... +40.
inline const PackedColour kSamplePatches[] = {PackRGB(77, 136, 255),  PackRGB(255, 0, 0),     PackRGB(255, 191, 128),
                                              PackRGB(255, 255, 0),   PackRGB(0, 255, 0),     PackRGB(0, 170, 255),
                                              PackRGB(0, 0, 255),     PackRGB(255, 0, 255),   PackRGB(255, 0, 0),
                                              PackRGB(255, 255, 255), PackRGB(255, 207, 191), PackRGB(255, 228, 191)};

// `text` with its first `from` replaced by `to`; a test fails when `from` is not there.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "not in the text: " << from;
  else
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace palettor::test
