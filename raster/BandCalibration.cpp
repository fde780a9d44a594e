#include "BandCalibration.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace palettor {

namespace {

// The band's metadata item named `attribute`, or ending in "_" + `attribute`, when exactly one
// item does.
std::optional<std::string> CfAttribute(GDALRasterBand& band, std::string_view attribute) {
  std::optional<std::string> found;
  for (char** item = band.GetMetadata(); item && *item; ++item) {
    const std::string_view entry(*item);
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = entry.substr(0, equals);
    const bool named = key == attribute || (key.size() > attribute.size() && key.ends_with(attribute) &&
                                            key[key.size() - attribute.size() - 1] == '_');
    if (!named) continue;
    if (found) return std::nullopt;  // ambiguous: two variables' attributes
    found = std::string(entry.substr(equals + 1));
  }
  return found;
}

std::optional<double> CfNumber(GDALRasterBand& band, std::string_view attribute) {
  const auto text = CfAttribute(band, attribute);
  if (!text) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text->c_str(), &end);
  if (end == text->c_str()) return std::nullopt;
  // HDF5 arrays of one number come as "0.01 "; anything else after it is not one number.
  for (; *end; ++end) {
    if (*end != ' ') return std::nullopt;
  }
  return value;
}

}  // namespace

BandCalibration ReadCalibration(GDALRasterBand& band, bool honourNoData) {
  BandCalibration calibration;
  calibration.type = band.GetRasterDataType();
  int has = 0;
  const double scale = band.GetScale(&has);
  if (has) {
    calibration.scale = scale;
  } else if (const auto cf = CfNumber(band, "scale_factor")) {
    calibration.scale = *cf;
  }
  const double offset = band.GetOffset(&has);
  if (has) {
    calibration.offset = offset;
  } else if (const auto cf = CfNumber(band, "add_offset")) {
    calibration.offset = *cf;
  }
  calibration.unit = band.GetUnitType() ? band.GetUnitType() : "";
  if (calibration.unit.empty()) calibration.unit = CfAttribute(band, "units").value_or("");
  if (honourNoData) {
    const double noData = band.GetNoDataValue(&has);
    if (has) {
      calibration.noData = noData;
    } else {
      calibration.noData = CfNumber(band, "_FillValue");
    }
  }
  return calibration;
}

double NoDataAsStored(double noData, GDALDataType type) {
  // Beyond float's range no Float32 value can equal it; converting it would be undefined.
  if (type != GDT_Float32 || !(std::fabs(noData) <= std::numeric_limits<float>::max())) return noData;
  return static_cast<double>(static_cast<float>(noData));
}

}  // namespace palettor
