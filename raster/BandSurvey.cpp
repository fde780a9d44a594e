#include "BandSurvey.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ColumnMap.h"
#include "GdalSession.h"
#include "LutTable.h"
#include "SceneColouriser.h"

namespace palettor {

namespace {

void Widen(std::optional<double>& low, std::optional<double>& high, double value) {
  low = low ? std::min(*low, value) : value;
  high = high ? std::max(*high, value) : value;
}

}  // namespace

BandSurvey SurveyBand(SceneChannel& channel) {
  BandSurvey survey;
  survey.band = channel.BandNumber();
  survey.width = channel.Width();
  survey.height = channel.Height();
  survey.calibration = channel.Calibration();
  const auto depth = channel.LevelDepth();
  survey.temperatureUnit = TemperatureUnitNamed(survey.calibration.unit);
  if (const auto unit = ReflectanceUnitNamed(survey.calibration.unit)) {
    survey.visible = VisibleRule{unit, GreyDepth::Eight, 1.0};
  } else if (depth) {
    survey.visible = VisibleRule{std::nullopt, *depth, 1.0};
  }

  constexpr double kColdest = kTableFirstCelsius;
  constexpr double kWarmest = kTableFirstCelsius + kTableWidth - 1;
  std::optional<double> minRow, maxRow;
  const int width = survey.width;
  // A row of the band's blocks stays in the cache while the rows through it are read.
  EnsureGdalCache(std::min(channel.BlockRowBytes() + channel.BlockRowBytes() / 4, std::int64_t{256} << 20));
  const int rowsAtOnce = std::max(1, (1 << 20) / std::max(width, 1));
  std::vector<double> values;
  for (int y = 0; y < survey.height; y += rowsAtOnce) {
    const int rows = std::min(rowsAtOnce, survey.height - y);
    values.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
    channel.ReadValues({0, y, width, rows}, width, rows, values.data());
    for (const double value : values) {
      if (std::isnan(value)) {
        ++survey.noDataCount;
        continue;
      }
      Widen(survey.min, survey.max, value);
      if (survey.temperatureUnit) {
        const double celsius = Celsius(value, *survey.temperatureUnit);
        Widen(survey.minCelsius, survey.maxCelsius, celsius);
        survey.belowTable += celsius < kColdest;
        survey.aboveTable += celsius > kWarmest;
      }
      if (survey.visible) {
        const int row = survey.visible->unit ? RowOfReflectance(Reflectance(value, *survey.visible->unit), 1.0)
                                             : BrightnessOfLevel(static_cast<int>(value), survey.visible->levelDepth);
        Widen(minRow, maxRow, row);
      }
    }
  }
  if (minRow) {
    survey.minRow = static_cast<int>(*minRow);
    survey.maxRow = static_cast<int>(*maxRow);
  }
  return survey;
}

}  // namespace palettor
