#include "ColouriseScene.h"

#include <QString>
#include <memory>
#include <optional>

#include "ColouredSceneWriter.h"
#include "LutTable.h"
#include "NativeFileName.h"
#include "PaletteArgument.h"
#include "VisionSimulation.h"
#include "WriteFailure.h"

namespace palettor::cli {

CommandError FromRaster(const RasterError& error) {
  return error.GetKind() == RasterError::Kind::Refused ? UsageError(error.what()) : Failure(error.what());
}

SceneChannel OpenSceneChannel(const std::string& name, int band, const char* channel) {
  try {
    return SceneChannel::Open({name, band, {}});
  } catch (const RasterError& error) {
    throw FromRaster(InChannel(error, channel));
  }
}

void SetUpColouriser(const SceneSettings& settings, SceneColouriser& colouriser) {
  SetUpColouriser(settings, settings.table.Resolve(), colouriser);
}

Palette ComparedPalette(const CompareTable& compare) {
  return compare.paletteFile ? ReadPaletteArgument(compare.name).palette : PaletteNamed(compare.name).palette;
}

void SetUpColouriser(const SceneSettings& settings, const Palette& palette, SceneColouriser& colouriser) {
  auto table = std::make_unique<LutPixels>();
  GenerateTable(TableInputsOf(palette), *table);
  PackedColour noData = settings.noDataColour;
  if (settings.simulation != VisionSimulation::Normal) {
    auto simulated = std::make_unique<LutPixels>();
    SimulateVision(*table, settings.simulation, *simulated);
    table = std::move(simulated);
    noData = SimulateVision(noData, settings.simulation);
  }
  colouriser.SetTable(*table);
  colouriser.SetScale(settings.scale);
  colouriser.SetNoDataColour(noData);
}

RunChannels OpenRunChannels(bool demo, const std::optional<std::string>& ir, const std::optional<std::string>& vis,
                            const SceneSettings& settings) {
  RunChannels channels;
  if (demo) {
    channels.demo = std::make_unique<DemoScene>(MakeDemoScene());
    channels.ir = SceneChannel::FromLevels(channels.demo->ir, "the demo scene's infrared channel");
    channels.vis = SceneChannel::FromLevels(channels.demo->vis, "the demo scene's visible channel");
  } else {
    channels.ir = OpenSceneChannel(*ir, settings.irBand, "infrared image");
    channels.vis = OpenSceneChannel(*vis, settings.visBand, "visible image");
  }
  return channels;
}

ColouredScene MakeScene(SceneChannel ir, SceneChannel vis, const SceneSettings& settings,
                        const SceneColouriser& colouriser) {
  try {
    return ColouredScene(std::move(ir), std::move(vis), settings.options, colouriser);
  } catch (const RasterError& error) {
    throw FromRaster(error);
  }
}

void WriteScene(ColouredScene& scene, const std::string& driver, const std::string& out) {
  ColouredSceneWriter writer;
  try {
    if (writer.Write(scene, driver, DecodeFileName(out))) return;
  } catch (const RasterError& error) {
    throw FromRaster(error);
  }
  throw CannotWrite(out, "the coloured scene", writer.ErrorString());
}

}  // namespace palettor::cli
