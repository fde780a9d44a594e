#pragma once
// One scene of palettor-cli colourise: its channels opened, coloured with the run's table and
// written, every failure a CommandError (refusals exit 2, failures 1).
#include <memory>
#include <optional>
#include <string>

#include "CliCommand.h"
#include "ColouredScene.h"
#include "ColouriseOptions.h"
#include "DemoScene.h"
#include "Palette.h"
#include "RasterError.h"
#include "SceneChannel.h"
#include "SceneColouriser.h"

namespace palettor::cli {

CommandError FromRaster(const RasterError& error);

// `channel`: "infrared image" or "visible image", as messages name it.
SceneChannel OpenSceneChannel(const std::string& name, int band, const char* channel);

// A run's two channels: its files, or the built-in demo scene, which is kept here because its
// channels read the demo's levels in place.
struct RunChannels {
  std::unique_ptr<DemoScene> demo;
  std::optional<SceneChannel> ir, vis;
};
// Opens `ir` and `vis` (bands as `settings` say), or makes the demo scene when `demo`.
RunChannels OpenRunChannels(bool demo, const std::optional<std::string>& ir, const std::optional<std::string>& vis,
                            const SceneSettings& settings);

// The table, scale and no-data colour of a run (reads the stored settings or a palette file
// when the table options say so).
void SetUpColouriser(const SceneSettings& settings, SceneColouriser& colouriser);
// The same with the table of `palette` in place of the table options'.
void SetUpColouriser(const SceneSettings& settings, const Palette& palette, SceneColouriser& colouriser);

// The palette of --compare-palette or --compare-preset. Throws UsageError for a file that is
// not a palette file or a name that names no palette, Failure for a file that cannot be read.
Palette ComparedPalette(const CompareTable& compare);

// The scene of `ir` and `vis`; `colouriser` must outlive it, and may be set up afterwards.
ColouredScene MakeScene(SceneChannel ir, SceneChannel vis, const SceneSettings& settings,
                        const SceneColouriser& colouriser);

// The scene into `out` with `driver`.
void WriteScene(ColouredScene& scene, const std::string& driver, const std::string& out);

}  // namespace palettor::cli
