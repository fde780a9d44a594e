#pragma once
// Colours table cells with a table: the one step between a new table and a new picture, done for
// the samples in view only, so that it costs what the view's pixels cost whatever the scene's
// size. A view showing two tables side by side calls it once a side.
#include <QImage>
#include <QRect>

#include "SceneCells.h"
#include "SceneColouriser.h"

namespace palettor {

// `part` of the samples (in samples, inside the cells) coloured with the colouriser's table,
// scale and no-data colour into `target`, a Format_RGB32 image of part's size, reallocated only
// when it is not one already. `target` is null when it cannot be allocated or `part` is empty.
void ColourCells(const SceneCells& cells, const QRect& part, const SceneColouriser& colouriser, QImage& target);

}  // namespace palettor
