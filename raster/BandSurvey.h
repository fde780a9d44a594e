#pragma once
// What Palettor will read from one band, before colouring it: its size, type and calibration,
// how many pixels have no data, the range of its values and, as the rules read it, the range
// of its temperatures (and how many pixels lie beyond the table's -60 ... +39 degrees) and of
// its table rows. One pass over the band, a few rows at a time.
#include <cstdint>
#include <optional>
#include <string>

#include "BandCalibration.h"
#include "InfraredRule.h"
#include "SceneChannel.h"
#include "VisibleRule.h"

namespace palettor {

struct BandSurvey {
  int band = 1;
  int width = 0, height = 0;
  BandCalibration calibration;
  std::uint64_t noDataCount = 0;
  std::optional<double> min, max;  // of the values; nothing when every pixel is no data

  // As infrared, for a band in a temperature unit.
  std::optional<TemperatureUnit> temperatureUnit;
  std::optional<double> minCelsius, maxCelsius;
  std::uint64_t belowTable = 0;  // colder than -60 degrees
  std::uint64_t aboveTable = 0;  // warmer than +39 degrees

  // As visible, for a band of levels or in a reflectance unit (gamma 1).
  std::optional<VisibleRule> visible;
  std::optional<int> minRow, maxRow;
};

// Throws RasterError as SceneChannel::Open and its reads do.
BandSurvey SurveyBand(SceneChannel& channel);

}  // namespace palettor
