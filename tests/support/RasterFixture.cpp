#include "RasterFixture.h"

#include <gtest/gtest.h>
#include <hdf5.h>
#include <ogr_spatialref.h>

#include <cpl_string.h>

namespace palettor::test {

void WriteRaster(const std::string& path, const std::string& driverName, const RasterFile& file) {
  GDALAllRegister();
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
  GDALDatasetUniquePtr source(
      memory->Create("", file.width, file.height, static_cast<int>(file.bands.size()), file.type, nullptr));
  ASSERT_TRUE(source) << path;
  for (std::size_t b = 0; b < file.bands.size(); ++b) {
    const RasterBand& band = file.bands[b];
    GDALRasterBand* out = source->GetRasterBand(static_cast<int>(b) + 1);
    ASSERT_EQ(band.values.size(), static_cast<std::size_t>(file.width) * static_cast<std::size_t>(file.height));
    std::vector<double> values = band.values;
    ASSERT_EQ(out->RasterIO(GF_Write, 0, 0, file.width, file.height, values.data(), file.width, file.height,
                            GDT_Float64, 0, 0, nullptr),
              CE_None);
    if (band.scale) out->SetScale(*band.scale);
    if (band.offset) out->SetOffset(*band.offset);
    if (band.noData) out->SetNoDataValue(*band.noData);
    if (!band.unit.empty()) {
      out->SetUnitType(band.unit.c_str());
      out->SetMetadataItem("units", band.unit.c_str());  // what NetCDF's writer takes the unit from
    }
    if (!band.palette.empty()) {
      GDALColorTable table;
      for (std::size_t i = 0; i < band.palette.size(); ++i) {
        const GDALColorEntry entry{band.palette[i][0], band.palette[i][1], band.palette[i][2], 255};
        table.SetColorEntry(static_cast<int>(i), &entry);
      }
      out->SetColorTable(&table);
      out->SetColorInterpretation(GCI_PaletteIndex);
    }
  }
  if (file.geoTransform) {
    std::array<double, 6> transform = *file.geoTransform;
    source->SetGeoTransform(transform.data());
  }
  if (file.epsg) {
    OGRSpatialReference srs;
    srs.importFromEPSG(file.epsg);
    source->SetSpatialRef(&srs);
  }
  CPLStringList options;
  for (const std::string& option : file.creationOptions) options.AddString(option.c_str());
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName.c_str());
  ASSERT_TRUE(driver) << driverName;
  GDALDatasetUniquePtr written(driver->CreateCopy(path.c_str(), source.get(), TRUE, options.List(), nullptr, nullptr));
  ASSERT_TRUE(written) << path << ": " << CPLGetLastErrorMsg();
}

void WriteHdf5(const std::string& path, const std::string& datasetPath, int width, int height,
               const std::vector<short>& values, const std::vector<std::pair<std::string, double>>& numbers,
               const std::vector<std::pair<std::string, std::string>>& texts) {
  const hid_t file = H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
  ASSERT_GE(file, 0) << path;
  const hid_t links = H5Pcreate(H5P_LINK_CREATE);
  H5Pset_create_intermediate_group(links, 1);
  const hsize_t dims[2] = {static_cast<hsize_t>(height), static_cast<hsize_t>(width)};
  const hid_t space = H5Screate_simple(2, dims, nullptr);
  const hid_t data = H5Dcreate2(file, datasetPath.c_str(), H5T_STD_I16LE, space, links, H5P_DEFAULT, H5P_DEFAULT);
  ASSERT_GE(data, 0);
  ASSERT_GE(H5Dwrite(data, H5T_NATIVE_SHORT, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()), 0);
  const hid_t scalar = H5Screate(H5S_SCALAR);
  for (const auto& [name, value] : numbers) {
    // A _FillValue has the data's own type; the others are doubles.
    const bool fill = name == "_FillValue";
    const hid_t attribute =
        H5Acreate2(data, name.c_str(), fill ? H5T_STD_I16LE : H5T_IEEE_F64LE, scalar, H5P_DEFAULT, H5P_DEFAULT);
    const short fillValue = static_cast<short>(value);
    H5Awrite(attribute, fill ? H5T_NATIVE_SHORT : H5T_NATIVE_DOUBLE,
             fill ? static_cast<const void*>(&fillValue) : static_cast<const void*>(&value));
    H5Aclose(attribute);
  }
  for (const auto& [name, value] : texts) {
    const hid_t type = H5Tcopy(H5T_C_S1);
    H5Tset_size(type, value.size());
    const hid_t attribute = H5Acreate2(data, name.c_str(), type, scalar, H5P_DEFAULT, H5P_DEFAULT);
    H5Awrite(attribute, type, value.c_str());
    H5Aclose(attribute);
    H5Tclose(type);
  }
  H5Sclose(scalar);
  H5Dclose(data);
  H5Sclose(space);
  H5Pclose(links);
  H5Fclose(file);
}

ReadBack ReadRaster(const std::string& path) {
  GDALAllRegister();
  ReadBack back;
  GDALDatasetUniquePtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
  if (!dataset) {
    ADD_FAILURE() << "GDAL cannot open " << path;
    return back;
  }
  back.driver = dataset->GetDriver()->GetDescription();
  back.width = dataset->GetRasterXSize();
  back.height = dataset->GetRasterYSize();
  back.bands = dataset->GetRasterCount();
  for (int b = 1; b <= back.bands; ++b) {
    std::vector<int> values(static_cast<std::size_t>(back.width) * static_cast<std::size_t>(back.height));
    EXPECT_EQ(dataset->GetRasterBand(b)->RasterIO(GF_Read, 0, 0, back.width, back.height, values.data(), back.width,
                                                  back.height, GDT_Int32, 0, 0, nullptr),
              CE_None);
    back.values.push_back(std::move(values));
  }
  std::array<double, 6> transform{};
  if (dataset->GetGeoTransform(transform.data()) == CE_None) back.geoTransform = transform;
  if (const OGRSpatialReference* srs = dataset->GetSpatialRef()) {
    char* wkt = nullptr;
    srs->exportToWkt(&wkt);
    back.spatialReference = wkt ? wkt : "";
    CPLFree(wkt);
  }
  return back;
}

}  // namespace palettor::test
