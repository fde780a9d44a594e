#pragma once
// The preview's status line for the pixel under the pointer: where it is, its levels, its
// temperature, the table cell it takes its colour from and the anchors that make that colour.
#include <QString>

#include "ColouredScene.h"
#include "LutTable.h"
#include "PixelProbe.h"

namespace palettor {

// "−16.1 °C", "+20.0 °C", "0.0 °C": one decimal, a sign on both sides of zero, the typographic
// minus as the anchors' names have it.
QString FormatCelsius(double celsius);

// "x 512, y 300 | IR 143: −16.1 °C | VIS 87 | column 44, row 168 | −20 °C 40 % and −10 °C 60 %:
// a click selects −10 °C".
QString DescribePixel(const PixelProbe& probe);

// The same for a pixel of a scene read through its rules: each channel's value in its unit
// ("IR 221.4 K = −51.8 °C", "VIS 0.62", "VIS 62.0 %") or its level as the level rule reads it
// ("IR 143: −16.1 °C", "VIS 87"), "no data" for a channel without, then the table cell and its
// anchors, or "no data" when the pixel takes the no-data colour.
QString DescribeScenePixel(int x, int y, const ScenePixel& pixel, const InfraredRule& irRule,
                           const VisibleRule& visRule, const TableInputs& table);

}  // namespace palettor
