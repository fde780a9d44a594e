#include "ColouriseOptions.h"

#include <QString>

#include "DecimalNumber.h"
#include "NativeFileName.h"
#include "OutputFile.h"
#include "RasterError.h"
#include "SceneFileFormat.h"
#include "WholeNumber.h"

namespace palettor::cli {

namespace {

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

}  // namespace

bool TakeReadingOption(ArgumentCursor& arg, SceneSettings& settings) {
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
  } else {
    return false;
  }
  return true;
}

bool TakeSceneOption(ArgumentCursor& arg, SceneSettings& settings) {
  if (settings.table.Take(arg) || TakeReadingOption(arg, settings)) return true;
  const std::string& name = arg.Name();
  if (name == "--nodata-colour") {
    settings.noDataColour = ParseColour(arg.TakeValue("--nodata-colour needs R,G,B"));
  } else if (name == "--format") {
    const std::string text = arg.TakeValue("--format needs the name of a GDAL driver (PNG, GTiff, COG ...)");
    try {
      settings.driver = CheckedSceneDriver(text);
    } catch (const RasterError& error) {
      throw UsageError(error.what());
    }
  } else if (name == "--compare-palette" || name == "--compare-preset") {
    if (settings.compare) throw UsageError("give only one of --compare-palette and --compare-preset");
    const bool file = name == "--compare-palette";
    const std::string missing = file ? "--compare-palette needs a palette file, or - for standard input"
                                     : "--compare-preset needs the name of a palette (see palettor-cli palette list)";
    std::string value = arg.TakeValue(missing);
    if (value.empty()) throw UsageError(missing);
    settings.compare = CompareTable{file, std::move(value)};
  } else if (name == "--split") {
    const std::string text = arg.TakeValue("--split needs a column of the scene, 0 or more");
    const auto split = ParseWholeNumberIn(text, 0, INT32_MAX);
    if (!split) throw UsageError("--split '" + text + "': expected a column of the scene, 0 or more");
    settings.split = static_cast<int>(*split);
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

std::string DriverFor(const std::string& out, const SceneSettings& settings) {
  if (settings.driver) return *settings.driver;
  if (NamesStandardOutput(DecodeFileName(out))) return "PNG";
  if (auto driver = SceneDriverForName(out)) return *driver;
  throw UsageError("--out '" + out + "': unknown image format; the name must end in " + kSceneFileExtensions +
                   " (or be - for PNG on standard output), or --format names a GDAL driver");
}

}  // namespace palettor::cli
