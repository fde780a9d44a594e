#pragma once
// The options of palettor-cli colourise that apply to every scene of a run (one scene, or each
// line of --pairs): the channels' bands and units, the scale, gamma, no-data colour, output
// driver, simulation and table.
#include <optional>
#include <string>

#include "ArgumentParsing.h"
#include "ColouredScene.h"
#include "PackedColour.h"
#include "TableOptions.h"
#include "VisionSimulation.h"

namespace palettor::cli {

// The other table of a split image (--compare-palette FILE or --compare-preset NAME).
struct CompareTable {
  bool paletteFile = false;  // else a built-in or user palette's name
  std::string name;
};

struct SceneSettings {
  IrScale scale;
  SceneOptions options;
  int irBand = 0, visBand = 0;
  PackedColour noDataColour = PackRGB(0, 0, 0);
  VisionSimulation simulation = VisionSimulation::Normal;
  TableOptions table;
  std::optional<std::string> driver;  // --format
  // Columns from `split` on coloured with `compare`'s table instead (the two come together).
  std::optional<CompareTable> compare;
  std::optional<int> split;
};

// When the cursor stands on one of these options (or a table option), reads it and its value
// and returns true; false for any other argument. Throws UsageError for a value it cannot
// accept.
bool TakeSceneOption(ArgumentCursor& arg, SceneSettings& settings);

// The same for the options that say how the channels are read (--ir-band, --vis-band,
// --ir-unit, --vis-unit, --ir-scale, --vis-gamma) alone, for commands that read a scene
// without colouring it.
bool TakeReadingOption(ArgumentCursor& arg, SceneSettings& settings);

// The GDAL driver that writes `out`: --format's, else the one its extension names; standard
// output is PNG. Throws UsageError for a name without a known extension.
std::string DriverFor(const std::string& out, const SceneSettings& settings);

}  // namespace palettor::cli
