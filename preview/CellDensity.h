#pragma once
// Where the cells the view keeps of a scene fall in the table: the whole scene's cells, every
// pixel for a scene kept at full resolution, a sample of them for a larger one.
#include "ColumnMap.h"
#include "SceneCells.h"
#include "SceneDensity.h"

namespace palettor {

// The levels' columns and sides on `scale`; a sample without data counts as no data.
SceneDensity DensityOfCells(const SceneCells& cells, IrScale scale);

}  // namespace palettor
