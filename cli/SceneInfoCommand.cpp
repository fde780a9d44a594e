// palettor-cli scene-info: what colourise will read from a file, band by band, before it
// colours anything.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ArgumentParsing.h"
#include "BandSurvey.h"
#include "CliCommand.h"
#include "ColouriseScene.h"
#include "DecimalNumber.h"
#include "Output.h"
#include "WholeNumber.h"

namespace palettor::cli {

namespace {

struct SceneInfoRequest {
  std::string file;
  int band = 0;  // 0: every band
  bool json = false;
};

SceneInfoRequest ParseSceneInfo(const Arguments& args) {
  SceneInfoRequest request;
  bool haveFile = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (arg.Name() == "--band") {
      const std::string text = arg.TakeValue("--band needs a band number, 1 or more");
      const auto band = ParseWholeNumberIn(text, 1, INT32_MAX);
      if (!band) throw UsageError("--band '" + text + "': expected a band number, 1 or more");
      request.band = *band;
    } else if (arg.Name() == "--json") {
      arg.ExpectNoValue();
      request.json = true;
    } else if (arg.IsOption()) {
      throw UsageError("scene-info: unknown argument '" + arg.Raw() + "' (see palettor-cli scene-info --help)");
    } else if (haveFile) {
      throw UsageError("scene-info: only one FILE may be given");
    } else {
      request.file = arg.Raw();
      haveFile = true;
    }
  }
  if (!haveFile || request.file.empty()) throw UsageError("scene-info: FILE is required");
  return request;
}

std::string Number(double value) {
  // JSON has no NaN; a no-data value of NaN is written as the text "NaN".
  return std::isnan(value) ? "\"NaN\"" : FormatDecimal(value);
}

std::string Number(const std::optional<double>& value) { return value ? Number(*value) : "null"; }

// For reading: six significant digits.
std::string Short(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// A JSON string of text from a file: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonObject(const BandSurvey& s) {
  const BandCalibration& c = s.calibration;
  std::string ir = "null";
  if (s.temperatureUnit) {
    ir = "{\"min_c\": " + Number(s.minCelsius) + ", \"max_c\": " + Number(s.maxCelsius) +
         ", \"below_table\": " + std::to_string(s.belowTable) + ", \"above_table\": " + std::to_string(s.aboveTable) +
         "}";
  }
  std::string vis = "null";
  if (s.visible) {
    const auto row = [](const std::optional<int>& r) { return r ? std::to_string(*r) : std::string("null"); };
    vis = "{\"min_row\": " + row(s.minRow) + ", \"max_row\": " + row(s.maxRow) + "}";
  }
  return "{\"band\": " + std::to_string(s.band) + ", \"width\": " + std::to_string(s.width) +
         ", \"height\": " + std::to_string(s.height) + ", \"type\": " + JsonString(GDALGetDataTypeName(c.type)) +
         ", \"unit\": " + JsonString(c.unit) + ", \"scale\": " + Number(c.scale) + ", \"offset\": " + Number(c.offset) +
         ", \"nodata\": " + Number(c.noData) + ", \"nodata_count\": " + std::to_string(s.noDataCount) +
         ", \"min\": " + Number(s.min) + ", \"max\": " + Number(s.max) + ", \"ir\": " + ir + ", \"vis\": " + vis + "}";
}

std::string Text(const BandSurvey& s, int bands) {
  const BandCalibration& c = s.calibration;
  std::string text = "band " + std::to_string(s.band) + " of " + std::to_string(bands) + ": " +
                     std::to_string(s.width) + " x " + std::to_string(s.height) + " " + GDALGetDataTypeName(c.type) +
                     "\n";
  text += "  unit " + (c.unit.empty() ? std::string("none") : Untrusted(c.unit)) + ", scale " + Short(c.scale) +
          ", offset " + Short(c.offset) + ", no data " + (c.noData ? Short(*c.noData) : std::string("none")) + " (" +
          std::to_string(s.noDataCount) + " pixels without data)\n";
  text += s.min ? "  values " + Short(*s.min) + " to " + Short(*s.max) + "\n" : "  no values\n";
  if (s.temperatureUnit && s.minCelsius) {
    text += "  as infrared: " + Short(*s.minCelsius) + " to " + Short(*s.maxCelsius) + " \u00b0C; " +
            std::to_string(s.belowTable) + " pixels colder than -60 \u00b0C, " + std::to_string(s.aboveTable) +
            " warmer than +39 \u00b0C\n";
  } else if (!s.temperatureUnit && s.visible && !s.visible->unit) {
    text += "  as infrared: levels, whose temperatures --ir-scale sets\n";
  } else if (!s.temperatureUnit) {
    text += "  as infrared: no temperature unit (--ir-unit gives one)\n";
  }
  if (s.visible && s.minRow) {
    text += "  as visible: rows " + std::to_string(*s.minRow) + " to " + std::to_string(*s.maxRow) + "\n";
  } else if (!s.visible) {
    text += "  as visible: no reflectance unit (--vis-unit gives one)\n";
  }
  return text;
}

const char* const kSceneInfoHelp =
    "Usage: palettor-cli scene-info FILE [--band N] [--json]\n"
    "\n"
    "Shows what colourise reads from FILE (a file, or a subdataset as GDAL names it), band by\n"
    "band: size, data type, unit, scale, offset, no-data value and the count of pixels without\n"
    "data, the smallest and largest value, and, as colourise's rules read the band, the\n"
    "temperatures in degrees Celsius with the count of pixels colder than -60 and warmer than\n"
    "+39 degrees (they take the table's edge columns), and the range of table rows.\n"
    "\n"
    "  --band N   only band N (default: every band)\n"
    "  --json     one JSON object per band, in an array, with the members band, width, height,\n"
    "             type, unit, scale, offset, nodata (null when none), nodata_count, min, max,\n"
    "             ir (min_c, max_c, below_table, above_table; null without a temperature unit)\n"
    "             and vis (min_row, max_row; null when the band is no reflectance or levels)\n"
    "\n"
    "Exit status: 0 shown; 1 the file cannot be opened or read (with GDAL's reason); 2 invalid\n"
    "arguments or a band the file does not have.\n";

void RunSceneInfo(const Arguments& args) {
  const SceneInfoRequest request = ParseSceneInfo(args);
  std::vector<BandSurvey> surveys;
  int bands = 0;
  const auto survey = [&](int band) {
    try {
      SceneChannel channel = SceneChannel::Open({request.file, band, {}});
      bands = channel.BandCount();
      surveys.push_back(SurveyBand(channel));
    } catch (const RasterError& error) {
      const bool failed = error.GetKind() == RasterError::Kind::Failed;
      throw FromRaster(failed ? RasterError(error.GetKind(), std::string("cannot read ") + error.what()) : error);
    }
  };
  survey(request.band == 0 ? 1 : request.band);
  for (int band = 2; request.band == 0 && band <= bands; ++band) survey(band);

  if (request.json) {
    std::printf("[\n");
    for (std::size_t i = 0; i < surveys.size(); ++i) {
      std::printf("%s%s\n", JsonObject(surveys[i]).c_str(), i + 1 < surveys.size() ? "," : "");
    }
    std::printf("]\n");
  } else {
    std::printf("%s\n", Untrusted(request.file).c_str());
    for (const BandSurvey& s : surveys) std::printf("%s", Text(s, bands).c_str());
  }
  FinishOutput();
}

}  // namespace

extern const CliCommand kSceneInfoCommand{"scene-info", "scene-info FILE [--band N] [--json]",
                                          "show what colourise reads from a file", [] { return kSceneInfoHelp; },
                                          &RunSceneInfo};

}  // namespace palettor::cli
