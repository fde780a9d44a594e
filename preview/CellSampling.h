#pragma once
// Cells of a region taken from cells already read that cover it: the view's part at the
// resolution it is drawn at, from the whole scene's cells or from finer ones read for the part.
#include "SceneCells.h"

namespace palettor {

// Whether `outer` covers all of `inner`.
bool Covers(const PixelWindow& outer, const PixelWindow& inner);

// `region` (inside `from.region`) at `width` × `height`: sample i across takes the scene's
// pixel floor((i + 0.5) × region width / width), and that pixel the nearest sample of `from`.
SceneCells ResampleCells(const SceneCells& from, const PixelWindow& region, int width, int height);

}  // namespace palettor
