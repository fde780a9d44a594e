#pragma once
// What GDAL can read here, for a file dialog: the extensions its raster drivers name, and the
// parts (subdatasets) of a file that holds several variables.
#include <string>
#include <vector>

namespace palettor {

// Lower-case extensions without the dot, sorted, each once.
std::vector<std::string> ReadableExtensions();

struct Subdataset {
  std::string name;         // as GDAL opens it: NETCDF:"file.nc":CMI, HDF5:"file.h5"://group/var
  std::string description;  // as GDAL describes it: "[1500x2500] CMI (32-bit floating-point)"
};

// The subdatasets of a file that holds no band of its own but several variables; nothing for
// any other file, or one GDAL cannot open. Call it for regular files only: opening reads.
std::vector<Subdataset> SubdatasetsOf(const std::string& path);

}  // namespace palettor
