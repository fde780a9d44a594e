#pragma once
// Raster files made for a test through GDAL (GeoTIFF, NetCDF, PNG ...) or the HDF5 library,
// described as plainly as the test states its expectations: the values row by row, and what
// the file says about them (scale, offset, unit, no-data value, georeferencing, palette).
#include <gdal_priv.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace palettor::test {

struct RasterBand {
  std::vector<double> values;  // width × height, row by row, stored as the file's type
  std::optional<double> scale, offset, noData;
  std::string unit;
  std::vector<std::array<short, 3>> palette;  // a colour table, when not empty
};

struct RasterFile {
  int width = 0, height = 0;
  GDALDataType type = GDT_Byte;
  std::vector<RasterBand> bands;
  std::optional<std::array<double, 6>> geoTransform;
  int epsg = 0;                              // a spatial reference, when not 0
  std::vector<std::string> creationOptions;  // "NBITS=2", "FORMAT=NC4" ...
};

// `file` written by GDAL's `driver`; adds a test failure when it cannot.
void WriteRaster(const std::string& path, const std::string& driver, const RasterFile& file);

// An HDF5 file holding one 2-D dataset at `datasetPath` ("/group/var") of 16-bit integers, with
// the numeric and text attributes given.
void WriteHdf5(const std::string& path, const std::string& datasetPath, int width, int height,
               const std::vector<short>& values, const std::vector<std::pair<std::string, double>>& numbers,
               const std::vector<std::pair<std::string, std::string>>& texts);

// GDAL's reading of a file's band, for checking what a writer wrote.
struct ReadBack {
  int width = 0, height = 0, bands = 0;
  std::vector<std::vector<int>> values;  // per band, row by row
  std::optional<std::array<double, 6>> geoTransform;
  std::string spatialReference;  // as WKT
  std::string driver;
};
ReadBack ReadRaster(const std::string& path);

}  // namespace palettor::test
