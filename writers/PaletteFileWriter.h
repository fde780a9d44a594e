#pragma once
// The palette file: one palette (the twelve anchors and the three options, with an optional
// name) as UTF-8 JSON that people keep, edit by hand and send to each other:
//
//   {
//     "format": "palettor-palette",
//     "version": 1,
//     "name": "My IR",
//     "whiteTop": true,
//     "smoothColours": true,
//     "tailPercent": 12,
//     "anchors": {
//       "M70": {"hue": 220, "saturation": 70},
//       ...
//       "P40": {"hue": 15, "saturation": 25}
//     }
//   }
//
// The members are those the settings catalogue names for the window's 27 values. Written always
// in this order, anchors in index order, with a trailing newline; "name" is left out when empty.
// Values a hand-edited store may hold outside the ranges are written as the table uses them (hues
// wrapped around the colour circle, saturations and the tail percent clamped), so every file
// written here reads back. PaletteFile.h reads the format.
#include <QByteArray>
#include <QString>
#include <array>

#include "FileWriter.h"
#include "Palette.h"
#include "SettingsCatalogue.h"

namespace palettor {

inline constexpr char kPaletteFileFormat[] = "palettor-palette";
inline constexpr int kPaletteFileVersion = 1;

// The palette's members in the order a file holds them: the switches and the tail percent, then
// each anchor's hue and saturation from the blue tail on. Reading checks them in this order too,
// so the fault it names is the first in the file.
inline constexpr std::array<SettingId, kSettingCount> kPaletteFileOrder = [] {
  std::array<SettingId, kSettingCount> order{SettingId::WhiteTop, SettingId::SmoothColours, SettingId::TailPercent};
  for (std::size_t i = 0; i < 2 * kAnchorCount; ++i) order[3 + i] = static_cast<SettingId>(i);
  return order;
}();

class PaletteFileWriter final : public FileWriter {
 public:
  static QByteArray Encode(const Palette& palette, const QString& name);

  bool Write(const Palette& palette, const QString& name, const QString& target);
};

}  // namespace palettor
