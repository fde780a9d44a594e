// palettor-cli scene-density: where a scene's pixels fall in the table, cell by cell, and how
// much of it each anchor colours, for tuning a palette to the scenes it will colour.
#include <QString>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "AnchorShares.h"
#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "ColouriseOptions.h"
#include "ColouriseScene.h"
#include "DemoScene.h"
#include "DensityCsvWriter.h"
#include "DensityImageWriter.h"
#include "NativeFileName.h"
#include "Output.h"
#include "OutputFile.h"
#include "ScannedDensity.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

enum class DensityFormat { Csv, Png };

struct DensityRequest {
  std::optional<std::string> ir, vis;
  bool demo = false;
  std::string out;
  DensityFormat format = DensityFormat::Csv;
  bool json = false;
  SceneSettings settings;
};

bool EndsWith(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    const char c = text[text.size() - end.size() + i];
    if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != end[i]) return false;
  }
  return true;
}

std::string NonEmptyValue(ArgumentCursor& arg, const std::string& what) {
  const std::string missing = arg.Name() + " needs " + what;
  std::string value = arg.TakeValue(missing);
  if (value.empty()) throw UsageError(missing);
  return value;
}

DensityRequest ParseDensity(const Arguments& args) {
  DensityRequest request;
  bool haveOut = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (request.settings.table.Take(arg) || TakeReadingOption(arg, request.settings)) continue;
    const std::string& name = arg.Name();
    if (name == "--ir") {
      request.ir = NonEmptyValue(arg, "the infrared image's file name");
    } else if (name == "--vis") {
      request.vis = NonEmptyValue(arg, "the visible image's file name");
    } else if (name == "--demo") {
      arg.ExpectNoValue();
      request.demo = true;
    } else if (name == "--out") {
      request.out = NonEmptyValue(arg, "a file name ending in .csv or .png, or - for CSV on standard output");
      haveOut = true;
    } else if (name == "--json") {
      arg.ExpectNoValue();
      request.json = true;
    } else {
      throw UsageError("scene-density: unknown argument '" + arg.Raw() + "' (see palettor-cli scene-density --help)");
    }
  }
  if (request.demo && (request.ir || request.vis))
    throw UsageError("scene-density: --demo reads the built-in scene; it cannot go with --ir or --vis");
  if (!request.demo && !(request.ir && request.vis)) {
    throw UsageError(request.ir || request.vis ? "scene-density: --ir and --vis go together: both channels are needed"
                                               : "scene-density: --ir FILE --vis FILE (or --demo) is required");
  }
  if (!haveOut) throw UsageError("scene-density: --out FILE (or --out - for CSV on standard output) is required");
  const bool toStandardOutput = NamesStandardOutput(DecodeFileName(request.out));
  if (request.json && toStandardOutput) {
    throw UsageError("scene-density: --json writes the summary to standard output; --out must name a file");
  }
  if (toStandardOutput || EndsWith(request.out, ".csv")) {
    request.format = DensityFormat::Csv;
  } else if (EndsWith(request.out, ".png")) {
    request.format = DensityFormat::Png;
  } else {
    throw UsageError("--out '" + request.out +
                     "': the name must end in .csv or .png (or be - for CSV on standard output)");
  }
  return request;
}

std::string Percent(double value, const char* format) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string SummaryText(const SceneDensity& density, const AnchorShares& shares) {
  std::string text =
      std::to_string(density.Pixels()) + " pixels with data, " + std::to_string(density.NoData()) + " without\n";
  for (const int anchor : kAnchorsInSummaryOrder) {
    char line[64];
    std::snprintf(line, sizeof line, "  %-4s %5s %%  ", AnchorSuffix(anchor).c_str(),
                  Percent(shares.Percent(anchor), "%.1f").c_str());
    text += line + AnchorName(anchor) + "\n";
  }
  text += std::to_string(density.BelowTable()) + " pixels colder than the table, held to -60 \u00b0C\n";
  text += std::to_string(density.AboveTable()) + " pixels warmer than the table, held to +39 \u00b0C\n";
  return text;
}

std::string SummaryJson(const SceneDensity& density, const AnchorShares& shares) {
  std::string json = "{\"pixels\": " + std::to_string(density.Pixels()) +
                     ", \"nodata\": " + std::to_string(density.NoData()) + ", \"shares\": {";
  for (const int anchor : kAnchorsInSummaryOrder) {
    if (anchor != kAnchorsInSummaryOrder.front()) json += ", ";
    json += "\"" + AnchorSuffix(anchor) + "\": " + Percent(shares.Percent(anchor), "%.4f");
  }
  return json + "}, \"below_table\": " + std::to_string(density.BelowTable()) +
         ", \"above_table\": " + std::to_string(density.AboveTable()) + "}\n";
}

const std::string kSceneDensityHelp =
    std::string(
        "Usage: palettor-cli scene-density (--ir FILE --vis FILE | --demo) --out FILE|- [--json]\n"
        "                                  [--ir-band N] [--vis-band N] [--ir-unit K|C] [--vis-unit 1|%]\n"
        "                                  [--ir-scale BLACK,WHITE] [--vis-gamma G] [table options]\n"
        "\n"
        "Shows where a scene's pixels fall in the look-up table: how many pixels with data lie in\n"
        "each cell (the column of their infrared temperature, the row of their visible\n"
        "brightness), and how much of the scene each anchor colours. The channels are read and\n"
        "mapped exactly as colourise reads them, a few rows at a time.\n"
        "\n"
        "  --ir FILE, --vis FILE, --demo, --ir-band N, --vis-band N, --ir-unit K|C,\n"
        "  --vis-unit 1|%, --ir-scale BLACK,WHITE, --vis-gamma G\n"
        "                       the scene and how it is read, as for colourise\n"
        "  --out FILE|-         the count of every cell, by FILE's extension:\n"
        "                       .csv  the header temperature_c,brightness,pixels and one line per\n"
        "                             cell in export-csv's order (temperature -60 with brightness\n"
        "                             0 ... 255, then -59 ...), 25,600 lines, so that the two files\n"
        "                             line up line by line; - writes it to standard output\n"
        "                       .png  a 100 x 256 16-bit grey image laid out as the table bitmap\n"
        "                             (column = temperature, top row = brightness 255), each pixel\n"
        "                             the cell's count, held to 65535\n"
        "  --json               the summary on standard output as one JSON object instead of\n"
        "                       text on standard error: {\"pixels\": N, \"nodata\": N, \"shares\":\n"
        "                       {\"M60\": P, ... \"P40\": P, \"M70\": P}, \"below_table\": N,\n"
        "                       \"above_table\": N}; --out must then name a file\n"
        "\n"
        "The summary: the pixels with and without data, the twelve anchors' shares in percent of\n"
        "the pixels with data (coldest first, the blue tail last), and the pixels whose\n"
        "temperature, rounded to a whole degree, lies below -60 or above +39 degrees and so is held\n"
        "to the table's edge column. A cell belongs to the anchor a click on such a pixel in the\n"
        "preview selects: the blue tail in its cells; otherwise, with Smooth colours off, the\n"
        "anchor the column takes its colour from, and with it on the one of the larger weight\n"
        "(the colder at half and half).\n"
        "\n"
        "The table options give the palette whose tail percent and Smooth colours decide the\n"
        "shares, as for render:\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written; 1 an image could not be read, the output could not be written, or\n"
    "the settings store could not be read; 2 invalid arguments: an unknown option, an --out\n"
    "name that is not .csv or .png, --json with standard output, an image or band the rules\n"
    "refuse, channels that do not make one scene. Nothing is written when the status is not 0.\n";

void RunSceneDensity(const Arguments& args) {
  const DensityRequest request = ParseDensity(args);
  const SceneSettings& settings = request.settings;
  RunChannels channels = OpenRunChannels(request.demo, request.ir, request.vis, settings);
  auto colouriser = std::make_unique<SceneColouriser>();
  colouriser->SetScale(settings.scale);
  ColouredScene scene = MakeScene(std::move(*channels.ir), std::move(*channels.vis), settings, *colouriser);
  // The palette after the channels, as colourise reads it: a missing image is reported first.
  const Palette palette = settings.table.Resolve();
  SceneDensity density;
  try {
    density = DensityOfScene(scene);
  } catch (const RasterError& error) {
    throw FromRaster(error);
  }
  const AnchorShares shares(density, palette);

  const QString target = DecodeFileName(request.out);
  if (request.format == DensityFormat::Png) {
    DensityImageWriter writer;
    if (!writer.Write(density, target)) throw CannotWrite(request.out, "the density image", writer.ErrorString());
  } else {
    DensityCsvWriter writer;
    if (!writer.Write(density, target)) throw CannotWrite(request.out, "the density", writer.ErrorString());
  }
  if (request.json) {
    std::fputs(SummaryJson(density, shares).c_str(), stdout);
    FinishOutput();
  } else {
    std::fputs(SummaryText(density, shares).c_str(), stderr);
  }
}

}  // namespace

extern const CliCommand kSceneDensityCommand{"scene-density", "scene-density (--ir/--vis|--demo) ...",
                                             "count a scene's pixels in each table cell",
                                             [] { return kSceneDensityHelp.c_str(); }, &RunSceneDensity};

}  // namespace palettor::cli
