#pragma once
// What a band says about its values: a value is the raw value × scale + offset (CF's
// scale_factor and add_offset, carried by GDAL as the band's scale and offset), in `unit`;
// a raw value equal to the no-data value (CF's _FillValue), or NaN, is no data.
//
// GDAL's HDF5 driver hands a variable's attributes over as metadata only ("grp_var_scale_factor"),
// so where the band has no scale, offset, unit or no-data value of its own the CF attribute
// in its metadata stands in for it.
#include <gdal_priv.h>

#include <optional>
#include <string>

namespace palettor {

struct BandCalibration {
  GDALDataType type = GDT_Byte;
  double scale = 1.0;
  double offset = 0.0;
  std::string unit;  // as the file spells it; empty when it says none
  std::optional<double> noData;

  bool IsIdentity() const { return scale == 1.0 && offset == 0.0; }
};

// `honourNoData` false for picture formats, whose no-data value stands for a transparent colour
// that a channel ignores as it ignores alpha.
BandCalibration ReadCalibration(GDALRasterBand& band, bool honourNoData);

// The no-data value as the band's type holds it, so that a raw value read as a double compares
// equal to it (a Float32 band's -1e30 is not the double -1e30).
double NoDataAsStored(double noData, GDALDataType type);

}  // namespace palettor
