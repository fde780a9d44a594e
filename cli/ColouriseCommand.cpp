// palettor-cli colourise: a satellite scene (an infrared and a visible channel, or the built-in
// demo scene) coloured with the table, as the viewer colours it.
#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "ColouredScene.h"
#include "ColouredSceneWriter.h"
#include "DecimalNumber.h"
#include "DemoScene.h"
#include "LutTable.h"
#include "OutputFile.h"
#include "RasterError.h"
#include "SceneColouriser.h"
#include "SceneFileFormat.h"
#include "TableOptions.h"
#include "VisionSimulation.h"
#include "WholeNumber.h"

namespace palettor::cli {

namespace {

// What applies to every scene of a run.
struct SceneSettings {
  IrScale scale;
  SceneOptions options;
  int irBand = 0, visBand = 0;
  PackedColour noDataColour = PackRGB(0, 0, 0);
  VisionSimulation simulation = VisionSimulation::Normal;
  TableOptions table;
  std::optional<std::string> driver;  // --format
};

struct ColouriseRequest {
  std::optional<std::string> ir;
  std::optional<std::string> vis;
  bool demo = false;
  std::string out;
  std::string driver;
  SceneSettings settings;
};

// "BLACK,WHITE": two decimal temperatures in degrees Celsius.
IrScale ParseScale(const std::string& text) {
  const auto comma = text.find(',');
  const std::string expected = "--ir-scale '" + text + "': expected BLACK,WHITE, two temperatures in degrees Celsius";
  if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) throw UsageError(expected);
  const auto black = ParseDecimal(std::string_view(text).substr(0, comma));
  const auto white = ParseDecimal(std::string_view(text).substr(comma + 1));
  if (!black || !white) throw UsageError(expected + " written as decimal numbers (40,-60 or -5.5,12.25)");
  const IrScale scale{*black, *white};
  if (*black == *white) throw UsageError("--ir-scale '" + text + "': BLACK and WHITE must differ");
  if (!IsUsableScale(scale)) throw UsageError("--ir-scale '" + text + "': the two temperatures are too far apart");
  // No cloud top is 150 degrees Celsius: these are kelvin, which would hold every pixel at +39.
  constexpr double kSurelyKelvin = 150.0;
  if (*black >= kSurelyKelvin && *white >= kSurelyKelvin) {
    throw UsageError("--ir-scale '" + text + "': the scale is in degrees Celsius; 313.15 K is 40 \u00b0C");
  }
  return scale;
}

int ParseBand(ArgumentCursor& arg) {
  const std::string text = arg.TakeValue(arg.Name() + " needs a band number, 1 or more");
  const auto band = ParseWholeNumberIn(text, 1, INT32_MAX);
  if (!band) throw UsageError(arg.Name() + " '" + text + "': expected a band number, 1 or more");
  return *band;
}

// "R,G,B", each 0 to 255.
PackedColour ParseColour(const std::string& text) {
  const std::string expected = "--nodata-colour '" + text + "': expected R,G,B, three whole numbers 0 to 255";
  const auto first = text.find(','), second = text.find(',', first == std::string::npos ? first : first + 1);
  if (first == std::string::npos || second == std::string::npos || text.find(',', second + 1) != std::string::npos) {
    throw UsageError(expected);
  }
  const std::string_view view(text);
  const auto red = ParseWholeNumberIn(view.substr(0, first), 0, 255);
  const auto green = ParseWholeNumberIn(view.substr(first + 1, second - first - 1), 0, 255);
  const auto blue = ParseWholeNumberIn(view.substr(second + 1), 0, 255);
  if (!red || !green || !blue) throw UsageError(expected);
  return PackRGB(*red, *green, *blue);
}

double ParseGamma(const std::string& text) {
  const auto gamma = ParseDecimal(text);
  if (!gamma || !(*gamma > 0))
    throw UsageError("--vis-gamma '" + text + "': expected a number above 0 (1 changes nothing)");
  return *gamma;
}

std::string NonEmptyFile(ArgumentCursor& arg, const std::string& what) {
  const std::string missing = arg.Name() + " needs " + what;
  std::string value = arg.TakeValue(missing);
  if (value.empty()) throw UsageError(missing);
  return value;
}

CommandError FromRaster(const RasterError& error) {
  return error.GetKind() == RasterError::Kind::Refused ? UsageError(error.what()) : Failure(error.what());
}

// Takes one of the options every scene of a run shares; false for any other argument.
bool TakeSceneOption(ArgumentCursor& arg, SceneSettings& settings) {
  if (settings.table.Take(arg)) return true;
  const std::string& name = arg.Name();
  if (name == "--ir-scale") {
    settings.scale = ParseScale(arg.TakeValue("--ir-scale needs BLACK,WHITE, two temperatures in degrees Celsius"));
    settings.options.levelScaleGiven = true;
  } else if (name == "--ir-band") {
    settings.irBand = ParseBand(arg);
  } else if (name == "--vis-band") {
    settings.visBand = ParseBand(arg);
  } else if (name == "--ir-unit") {
    const std::string text = arg.TakeValue("--ir-unit needs K or C");
    settings.options.irUnit = TemperatureUnitNamed(text);
    if (!settings.options.irUnit)
      throw UsageError("--ir-unit '" + text + "': expected K (kelvin) or C (degrees Celsius)");
  } else if (name == "--vis-unit") {
    const std::string text = arg.TakeValue("--vis-unit needs 1 or %");
    settings.options.visUnit = ReflectanceUnitNamed(text);
    if (!settings.options.visUnit)
      throw UsageError("--vis-unit '" + text + "': expected 1 (a fraction) or % (percent)");
  } else if (name == "--vis-gamma") {
    settings.options.visGamma = ParseGamma(arg.TakeValue("--vis-gamma needs a number above 0"));
  } else if (name == "--nodata-colour") {
    settings.noDataColour = ParseColour(arg.TakeValue("--nodata-colour needs R,G,B"));
  } else if (name == "--format") {
    const std::string text = arg.TakeValue("--format needs the name of a GDAL driver (PNG, GTiff, COG ...)");
    try {
      settings.driver = CheckedSceneDriver(text);
    } catch (const RasterError& error) {
      throw FromRaster(error);
    }
  } else if (name == "--simulate") {
    const std::string text =
        arg.TakeValue("--simulate needs normal, protanopia, deuteranopia, tritanopia or greyscale");
    const auto simulation = VisionSimulationNamed(text);
    if (!simulation) {
      throw UsageError("--simulate '" + text + "': expected normal, protanopia, deuteranopia, tritanopia or greyscale");
    }
    settings.simulation = *simulation;
  } else {
    return false;
  }
  return true;
}

// The driver that writes `out`: --format's, else the one its extension names; "-" is PNG.
std::string DriverFor(const std::string& out, const SceneSettings& settings) {
  if (settings.driver) return *settings.driver;
  if (NamesStandardOutput(QString::fromStdString(out))) return "PNG";
  if (auto driver = SceneDriverForName(out)) return *driver;
  throw UsageError("--out '" + out + "': unknown image format; the name must end in " + kSceneFileExtensions +
                   " (or be - for PNG on standard output), or --format names a GDAL driver");
}

ColouriseRequest ParseColourise(const Arguments& args) {
  ColouriseRequest request;
  bool haveOut = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (TakeSceneOption(arg, request.settings)) continue;
    const std::string& name = arg.Name();
    if (name == "--ir") {
      request.ir = NonEmptyFile(arg, "the infrared image's file name");
    } else if (name == "--vis") {
      request.vis = NonEmptyFile(arg, "the visible image's file name");
    } else if (name == "--demo") {
      arg.ExpectNoValue();
      request.demo = true;
    } else if (name == "--out") {
      request.out = NonEmptyFile(arg, "a file name, or - for standard output");
      haveOut = true;
    } else {
      throw UsageError("colourise: unknown argument '" + arg.Raw() + "' (see palettor-cli colourise --help)");
    }
  }
  if (request.demo && (request.ir || request.vis))
    throw UsageError("colourise: --demo colours the built-in scene; it cannot go with --ir or --vis");
  if (!request.demo && !(request.ir && request.vis)) {
    throw UsageError(request.ir || request.vis ? "colourise: --ir and --vis go together: both channels are needed"
                                               : "colourise: --ir FILE --vis FILE (or --demo) is required");
  }
  if (!haveOut) throw UsageError("colourise: --out FILE (or --out - for standard output) is required");
  request.driver = DriverFor(request.out, request.settings);
  return request;
}

SceneChannel OpenChannel(const std::string& name, int band, const char* channel) {
  try {
    return SceneChannel::Open({name, band, {}});
  } catch (const RasterError& error) {
    throw FromRaster(InChannel(error, channel));
  }
}

// The table and the rules of a run, as the scenes are coloured with them.
void SetUpColouriser(const SceneSettings& settings, SceneColouriser& colouriser) {
  auto table = std::make_unique<LutPixels>();
  GenerateTable(TableInputsOf(settings.table.Resolve()), *table);
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

void WriteScene(ColouredScene& scene, const std::string& driver, const std::string& out) {
  ColouredSceneWriter writer;
  try {
    if (writer.Write(scene, driver, QString::fromStdString(out))) return;
  } catch (const RasterError& error) {
    throw FromRaster(error);
  }
  const std::string where =
      NamesStandardOutput(QString::fromStdString(out)) ? "the coloured scene to standard output" : out;
  throw Failure("cannot write " + where + ": " + writer.ErrorString().toStdString());
}

const std::string kColouriseHelp =
    std::string(
        "Usage: palettor-cli colourise (--ir FILE --vis FILE | --demo) --out FILE|-\n"
        "                              [--ir-band N] [--vis-band N] [--ir-unit K|C] [--vis-unit 1|%]\n"
        "                              [--ir-scale BLACK,WHITE] [--vis-gamma G] [--nodata-colour R,G,B]\n"
        "                              [--format DRIVER] [--simulate MODE] [table options]\n"
        "\n"
        "Colours a satellite scene with the look-up table as the viewer does: every pixel takes\n"
        "the table's colour in the column of its infrared temperature and the row of its visible\n"
        "brightness.\n"
        "\n"
        "  --ir FILE            the infrared channel and\n"
        "  --vis FILE           the visible channel: anything GDAL reads (GeoTIFF, NetCDF, HDF5,\n"
        "                       PNG, BMP, PGM ...), a file or a subdataset as GDAL names it\n"
        "                       (NETCDF:\"file.nc\":CMI, HDF5:\"file.h5\"://group/var). Grey images\n"
        "                       of 8 bits (levels 0 to 255) or 16 bits (0 to 65535) read as\n"
        "                       always; a pixel whose red, green and blue differ is refused.\n"
        "  --ir-band N          the band of a file of several (default 1; an RGB image's three\n"
        "  --vis-band N         together)\n"
        "  --demo               the built-in demo scene (1024 x 768) instead; palettor-cli\n"
        "                       demo-scene writes its two channels\n"
        "  --out FILE|-         the coloured scene, 24-bit RGB, the size of the larger channel, in\n"
        "                       the format of FILE's extension: .png, .bmp, .tif or .tiff\n"
        "                       (GeoTIFF, LZW, with the infrared channel's georeferencing), .webp,\n"
        "                       .jpg or .jpeg; - writes PNG to standard output. A file is replaced\n"
        "                       only once the new one is complete; a device or FIFO is written\n"
        "                       into, never replaced.\n"
        "  --format DRIVER      write with this GDAL driver whatever FILE's name (GTiff, COG, PNG\n"
        "                       ...; gdalinfo --formats lists them)\n"
        "  --ir-unit K|C        the infrared channel's unit, for a band that states none or a\n"
        "                       wrong one: K (kelvin) or C (degrees Celsius)\n"
        "  --vis-unit 1|%       the visible channel's unit, likewise: 1 (a reflectance from 0 to\n"
        "                       1) or % (0 to 100)\n"
        "  --ir-scale BLACK,WHITE\n"
        "                       for an infrared channel of levels (8 or 16 bits, no unit): the\n"
        "                       temperatures, in degrees Celsius, of level 0 and of the top level\n"
        "                       (255 or 65535), decimal numbers that differ. Default 40,-60\n"
        "                       (cold clouds white). Both at 150 or above is refused: kelvin.\n"
        "  --vis-gamma G        brightens a visible channel of reflectances: r^(1/G), G above 0\n"
        "                       (default 1)\n"
        "  --nodata-colour R,G,B\n"
        "                       the colour of a pixel with no data in either channel (the band's\n"
        "                       no-data value, or NaN): three whole numbers 0 to 255 (default\n"
        "                       0,0,0)\n"
        "  --simulate MODE      shows the result as a person with a colour-vision deficiency, or\n"
        "                       a greyscale print, sees it: normal (the default), protanopia,\n"
        "                       deuteranopia, tritanopia or greyscale\n"
        "\n"
        "A value is the band's raw value x its scale + its offset (CF scale_factor, add_offset).\n"
        "Infrared: a band in K or kelvin is T = value - 273.15; in C, degC, deg_C, celsius or\n"
        "\u00b0C, T = value. A band of levels without a unit: level L stands for\n"
        "BLACK + (WHITE - BLACK) x L / top level. The column is T rounded to a whole degree (a\n"
        "half rounds up), -60 to +39. Visible: in %, r = value / 100; in 1, reflectance or\n"
        "albedo, r = value; the row is 255 x r^(1/G), r held to 0 ... 1, rounded. A band of\n"
        "levels without a unit gives the level (8-bit) or its top 8 bits (16-bit) as the row,\n"
        "0 the darkest, the table's bottom row.\n"
        "\n"
        "Channels of different sizes (a visible channel at 2 or 4 times the infrared resolution)\n"
        "make a scene the size of the larger; the smaller is sampled by nearest neighbour. Their\n"
        "aspect ratios must agree within 1 % and, when both are georeferenced, they must cover\n"
        "the same area within half a pixel of the coarser one.\n"
        "\n"
        "The table is the one palettor-cli render writes with the same options: the window's\n"
        "stored settings (the store is only read), or the factory palette, with these applied:\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written; 1 an image could not be read (missing, unreadable, damaged or not\n"
    "an image), the output could not be written, or the settings store could not be read; 2\n"
    "invalid arguments: an unknown option or format, a bad scale, an image that is not grey, a\n"
    "band without a unit the rules know, channels that do not make one scene. Nothing is\n"
    "written when the status is not 0.\n";

void RunColourise(const Arguments& args) {
  const ColouriseRequest request = ParseColourise(args);
  const SceneSettings& settings = request.settings;
  std::unique_ptr<DemoScene> demo;
  std::optional<SceneChannel> ir, vis;
  if (request.demo) {
    demo = std::make_unique<DemoScene>(MakeDemoScene());
    ir = SceneChannel::FromLevels(demo->ir, "the demo scene's infrared channel");
    vis = SceneChannel::FromLevels(demo->vis, "the demo scene's visible channel");
  } else {
    ir = OpenChannel(*request.ir, settings.irBand, "infrared image");
    vis = OpenChannel(*request.vis, settings.visBand, "visible image");
  }
  auto colouriser = std::make_unique<SceneColouriser>();
  std::optional<ColouredScene> scene;
  try {
    scene.emplace(std::move(*ir), std::move(*vis), settings.options, *colouriser);
  } catch (const RasterError& error) {
    throw FromRaster(error);
  }
  // The table is read after the channels, so that a missing image is reported before a
  // palette file or a store that cannot be read.
  SetUpColouriser(settings, *colouriser);
  WriteScene(*scene, request.driver, request.out);
}

}  // namespace

extern const CliCommand kColouriseCommand{"colourise", "colourise (--ir/--vis|--demo) --out F",
                                          "colour a satellite scene with the table",
                                          [] { return kColouriseHelp.c_str(); }, &RunColourise};

}  // namespace palettor::cli
