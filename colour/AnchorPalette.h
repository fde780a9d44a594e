#pragma once
// The twelve anchors that shape the table: index -7 is the blue tail, -6 ... 4 stand for
// -60 ... +40 degrees Celsius, one every ten degrees.
#include <array>
#include <cstdint>
#include <string>

#include "PackedColour.h"

namespace palettor {

constexpr int kBlueTailAnchor = -7;
constexpr int kFirstAnchor = -7;
constexpr int kLastAnchor = 4;
constexpr int kAnchorCount = kLastAnchor - kFirstAnchor + 1;

constexpr bool IsAnchorIndex(std::int64_t index) { return index >= kFirstAnchor && index <= kLastAnchor; }

// Position of an anchor index in a zero-based array of kAnchorCount entries.
constexpr std::size_t AnchorSlot(int index) { return static_cast<std::size_t>(index - kFirstAnchor); }

// "M70" ... "M10", "O0" (letter O, digit zero), "P10" ... "P40": names stored values and controls.
std::string AnchorSuffix(int index);

// The anchor as people name it, in UTF-8: "−60 °C" (with a minus sign), "0 °C", "+10 °C" ... for
// -6 ... 4, and "blue tail" for -7.
std::string AnchorName(int index);

// Full-brightness colour of a hue in whole degrees and a saturation in whole percent.
// A hue outside 0 ... kMaxHueDegrees is wrapped into it and a saturation outside
// 0 ... kMaxPercent clamped (ColourRanges.h); values within range derive exactly as they always have.
PackedColour DeriveAnchorColour(std::int32_t hue, std::int32_t saturation);

struct AnchorValue {
  std::int32_t hue;
  std::int32_t saturation;
  friend bool operator==(const AnchorValue&, const AnchorValue&) = default;
};

// Hue and saturation per anchor, indexed by AnchorSlot.
using AnchorValues = std::array<AnchorValue, kAnchorCount>;
using AnchorColours = std::array<PackedColour, kAnchorCount>;

// The palette a first start and "Reset colours" give: faint violet at -60 through white at
// 0 to light orange at +40, and a strong blue tail.
const AnchorValues& FactoryPalette();

AnchorColours DeriveAnchorColours(const AnchorValues& values);

// Hue and saturation as the engine uses them from a possibly hand-edited setting.
std::int32_t WrapHueDegrees(std::int32_t hue);
std::int32_t ClampSaturationPercent(std::int32_t saturation);

}  // namespace palettor
