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
//     "nightFloorPercent": 30,
//     "anchors": {
//       "M70": {"hue": 220, "saturation": 70},
//       ...
//       "P40": {"hue": 15, "saturation": 25}
//     }
//   }
//
// The members are those the settings catalogue names for the palette's values: the window's 27
// and the night floor. Written always in this order, anchors in index order, with a trailing
// newline; "name" is left out when empty, and "nightFloorPercent" when 0, so that a palette
// without a night floor is written as it was before there was one.
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

// The palette's members in the order a file holds them: the switches, the tail percent and the
// night floor, then each anchor's hue and saturation from the blue tail on. Reading checks them
// in this order too, so the fault it names is the first in the file.
inline constexpr std::array<SettingId, kSettingCount + kTableValueCount> kPaletteFileOrder = [] {
  std::array<SettingId, kSettingCount + kTableValueCount> order{SettingId::WhiteTop, SettingId::SmoothColours,
                                                                SettingId::TailPercent, SettingId::NightFloorPercent};
  for (std::size_t i = 0; i < 2 * kAnchorCount; ++i) order[4 + i] = static_cast<SettingId>(i);
  return order;
}();

// The members beyond the window's 27 (the table subkey's values): a file may leave them out, and
// then they take their defaults; one is written only when it differs from its default.
constexpr bool IsOptionalMember(SettingId id) { return Position(id) >= kSettingCount; }

class PaletteFileWriter final : public FileWriter {
 public:
  static QByteArray Encode(const Palette& palette, const QString& name);

  bool Write(const Palette& palette, const QString& name, const QString& target);
};

}  // namespace palettor
