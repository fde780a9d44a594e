// palettor-cli colourise on the data satellite users hold: NetCDF-CF, HDF5 and GeoTIFF files of
// temperatures and reflectances with scale, offset, fill values and NaN, visible channels at 2×
// and 4× the infrared resolution. The files are made here (RasterFixture.h), the result read
// back with GDAL and checked pixel by pixel against the rules written out below.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Palette.h"
#include "RasterFixture.h"
#include "ReferenceScene.h"
#include "ReferenceTable.h"
#include "RunProcess.h"

namespace palettor {
namespace {

using test::ProcessResult;
using test::RasterFile;

constexpr int kIrWidth = 32, kIrHeight = 24;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A channel as the rules see it: its size and, per pixel, the temperature in degrees Celsius
// (infrared) or the reflectance (visible); nothing where there is no data.
struct Expected {
  int width, height;
  std::function<std::optional<double>(int x, int y)> at;
};

// Raw values that reach past both ends of the table and fall on halves of a degree.
double RawInfrared(int x, int y) { return -500 + (x * 37 + y * 401) % 13000; }

class ColouriseCalibrated : public testing::Test {
 protected:
  ProcessResult Cli(std::vector<std::string> args) {
    for (std::string& a : args) {
      if (a.starts_with("@")) a = Path(a.substr(1));
    }
    args.insert(args.begin(), "colourise");
    return test::RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + config_.path().toStdString()}});
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  int FileCount() const { return static_cast<int>(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size()); }

  // The scene `out` holds, against the rules: the larger channel's size, the smaller sampled
  // at floor((x + 0.5) × small / large), the first-run table, no data in `noData`.
  ::testing::AssertionResult ColouredAsTheRulesSay(const std::string& out, const Expected& ir, const Expected& vis,
                                                   double gamma, std::array<int, 3> noData = {0, 0, 0}) {
    const test::ReadBack got = test::ReadRaster(Path(out));
    const bool visLarger = vis.width * vis.height > ir.width * ir.height;
    const int width = visLarger ? vis.width : ir.width, height = visLarger ? vis.height : ir.height;
    if (got.bands != 3 || got.width != width || got.height != height) {
      return ::testing::AssertionFailure()
             << out << " is " << got.width << " x " << got.height << ", " << got.bands << " bands";
    }
    auto table = std::make_unique<LutPixels>();
    test::ReferenceTable(TableInputsOf(Palette{FactoryPalette(), 12, true, true}), *table);
    const auto source = [&](const Expected& c, int x, int y) {
      return c.at(static_cast<int>(std::floor((x + 0.5) * c.width / width)),
                  static_cast<int>(std::floor((y + 0.5) * c.height / height)));
    };
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const auto t = source(ir, x, y), r = source(vis, x, y);
        std::array<int, 3> want = noData;
        if (t && r) {
          const PackedColour c = test::ReferenceCalibratedColour(*table, *t, *r, gamma);
          want = {RedOf(c), GreenOf(c), BlueOf(c)};
        }
        const std::size_t i = static_cast<std::size_t>(y * width + x);
        for (int b = 0; b < 3; ++b) {
          if (got.values[static_cast<std::size_t>(b)][i] != want[static_cast<std::size_t>(b)]) {
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") band " << b + 1 << " is "
                   << got.values[static_cast<std::size_t>(b)][i] << " instead of " << want[static_cast<std::size_t>(b)];
          }
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  QTemporaryDir dir_, config_;
};

TEST_F(ColouriseCalibrated, NetCdfKelvinWithFillValuesAndAFractionVisibleWithNaN) {
  RasterFile ir{kIrWidth, kIrHeight, GDT_Int16, {{}}, {}, 0, {}};
  ir.bands[0].scale = 0.01;
  ir.bands[0].offset = 200;
  ir.bands[0].noData = -1;
  ir.bands[0].unit = "K";
  RasterFile vis{kIrWidth, kIrHeight, GDT_Float32, {{}}, {}, 0, {}};
  vis.bands[0].unit = "1";
  for (int y = 0; y < kIrHeight; ++y) {
    for (int x = 0; x < kIrWidth; ++x) {
      ir.bands[0].values.push_back((x + y) % 11 == 0 ? -1 : RawInfrared(x, y));
      vis.bands[0].values.push_back((x * y) % 13 == 5 ? kNaN
                                                      : static_cast<float>((x * 7 + y * 3) % 120) / 100.0f - 0.1f);
    }
  }
  test::WriteRaster(Path("ir.nc"), "netCDF", ir);
  test::WriteRaster(Path("vis.nc"), "netCDF", vis);
  const ProcessResult r =
      Cli({"--ir", "@ir.nc", "--vis", "@vis.nc", "--nodata-colour", "10,20,30", "--factory", "--out", "@out.png"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const Expected kelvin{kIrWidth, kIrHeight, [&](int x, int y) -> std::optional<double> {
                          const double raw = ir.bands[0].values[static_cast<std::size_t>(y * kIrWidth + x)];
                          if (raw == -1) return std::nullopt;
                          return raw * 0.01 + 200 - 273.15;
                        }};
  const Expected fraction{kIrWidth, kIrHeight, [&](int x, int y) -> std::optional<double> {
                            const double v = vis.bands[0].values[static_cast<std::size_t>(y * kIrWidth + x)];
                            if (std::isnan(v)) return std::nullopt;
                            return static_cast<double>(static_cast<float>(v));
                          }};
  EXPECT_TRUE(ColouredAsTheRulesSay("out.png", kelvin, fraction, 1.0, {10, 20, 30}));
}

TEST_F(ColouriseCalibrated, GeoTiffCelsiusWithATwiceFinerPercentVisibleKeepsItsPlaceOnTheMap) {
  RasterFile ir{kIrWidth, kIrHeight, GDT_Float32, {{}}, std::array<double, 6>{10, 0.5, 0, 50, 0, -0.5}, 4326, {}};
  ir.bands[0].unit = "degC";
  RasterFile vis{
      2 * kIrWidth, 2 * kIrHeight, GDT_UInt16, {{}}, std::array<double, 6>{10, 0.25, 0, 50, 0, -0.25}, 4326, {}};
  vis.bands[0].unit = "%";
  vis.bands[0].scale = 0.01;
  for (int y = 0; y < kIrHeight; ++y) {
    for (int x = 0; x < kIrWidth; ++x)
      ir.bands[0].values.push_back(static_cast<float>((x * 13 + y * 7) % 130 - 80) + 0.5f);
  }
  for (int y = 0; y < vis.height; ++y) {
    for (int x = 0; x < vis.width; ++x) vis.bands[0].values.push_back((x * 211 + y * 97) % 11000);
  }
  test::WriteRaster(Path("ir.tif"), "GTiff", ir);
  test::WriteRaster(Path("vis.tif"), "GTiff", vis);
  const ProcessResult r =
      Cli({"--ir", "@ir.tif", "--vis", "@vis.tif", "--vis-gamma", "2.2", "--factory", "--out", "@out.tif"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const Expected celsius{kIrWidth, kIrHeight, [&](int x, int y) -> std::optional<double> {
                           return ir.bands[0].values[static_cast<std::size_t>(y * kIrWidth + x)];
                         }};
  const Expected percent{vis.width, vis.height, [&](int x, int y) -> std::optional<double> {
                           return vis.bands[0].values[static_cast<std::size_t>(y * vis.width + x)] * 0.01 / 100;
                         }};
  EXPECT_TRUE(ColouredAsTheRulesSay("out.tif", celsius, percent, 2.2));
  // The scene has the visible channel's pixels and the infrared channel's place and reference.
  const test::ReadBack out = test::ReadRaster(Path("out.tif"));
  ASSERT_TRUE(out.geoTransform);
  EXPECT_EQ(*out.geoTransform, (std::array<double, 6>{10, 0.25, 0, 50, 0, -0.25}));
  EXPECT_EQ(out.spatialReference, test::ReadRaster(Path("ir.tif")).spatialReference);
  EXPECT_NE(out.spatialReference.find("WGS 84"), std::string::npos);
}

TEST_F(ColouriseCalibrated, Hdf5KelvinWithAFourTimesFinerGreyPicture) {
  std::vector<short> raw;
  for (int y = 0; y < kIrHeight; ++y) {
    for (int x = 0; x < kIrWidth; ++x) raw.push_back(static_cast<short>(x == y ? -1 : RawInfrared(x, y)));
  }
  test::WriteHdf5(Path("ir.h5"), "/grp/tb", kIrWidth, kIrHeight, raw,
                  {{"scale_factor", 0.01}, {"add_offset", 200}, {"_FillValue", -1}}, {{"units", "K"}});
  RasterFile vis{4 * kIrWidth, 4 * kIrHeight, GDT_Byte, {{}}, {}, 0, {}};
  for (int i = 0; i < vis.width * vis.height; ++i) vis.bands[0].values.push_back((i * 7) % 256);
  test::WriteRaster(Path("vis.png"), "PNG", vis);
  const ProcessResult r =
      Cli({"--ir", "HDF5:\"" + Path("ir.h5") + "\"://grp/tb", "--vis", "@vis.png", "--factory", "--out", "@out.png"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const Expected kelvin{kIrWidth, kIrHeight, [&](int x, int y) -> std::optional<double> {
                          const short v = raw[static_cast<std::size_t>(y * kIrWidth + x)];
                          if (v == -1) return std::nullopt;
                          return v * 0.01 + 200 - 273.15;
                        }};
  // A grey picture's level L is row L, which a reflectance of L / 255 reaches too.
  const Expected levels{vis.width, vis.height, [&](int x, int y) -> std::optional<double> {
                          return vis.bands[0].values[static_cast<std::size_t>(y * vis.width + x)] / 255.0;
                        }};
  EXPECT_TRUE(ColouredAsTheRulesSay("out.png", kelvin, levels, 1.0));
}

TEST_F(ColouriseCalibrated, UnitsGivenOnTheCommandLineAndNaNInTheInfrared) {
  RasterFile ir{kIrWidth, kIrHeight, GDT_Float32, {{}}, {}, 0, {}};
  RasterFile vis{kIrWidth, kIrHeight, GDT_Float32, {{}}, {}, 0, {}};
  for (int y = 0; y < kIrHeight; ++y) {
    for (int x = 0; x < kIrWidth; ++x) {
      ir.bands[0].values.push_back(x == 3 ? kNaN : static_cast<float>(200 + x * 3.25 + y * 1.5));
      vis.bands[0].values.push_back((x + 3 * y) % 110);
    }
  }
  ir.bands[0].unit = "W m-2";  // wrong, and overridden
  test::WriteRaster(Path("ir.tif"), "GTiff", ir);
  test::WriteRaster(Path("vis.tif"), "GTiff", vis);
  const ProcessResult r = Cli(
      {"--ir", "@ir.tif", "--vis", "@vis.tif", "--ir-unit", "K", "--vis-unit", "%", "--factory", "--out", "@out.bmp"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const Expected kelvin{kIrWidth, kIrHeight, [&](int x, int y) -> std::optional<double> {
                          const double v = ir.bands[0].values[static_cast<std::size_t>(y * kIrWidth + x)];
                          if (std::isnan(v)) return std::nullopt;
                          return v - 273.15;
                        }};
  const Expected percent{kIrWidth, kIrHeight, [&](int x, int y) -> std::optional<double> {
                           return vis.bands[0].values[static_cast<std::size_t>(y * kIrWidth + x)] / 100;
                         }};
  EXPECT_TRUE(ColouredAsTheRulesSay("out.bmp", kelvin, percent, 1.0));
}

struct Refusal {
  const char* name;
  std::vector<std::string> args;
  int status;
  const char* says;
};

TEST_F(ColouriseCalibrated, RefusesWhatTheRulesCannotColourAndWritesNothing) {
  const auto write = [&](const char* name, const char* driver, int width, int height, GDALDataType type,
                         const char* unit, std::optional<std::array<double, 6>> transform = {}, int bands = 1) {
    RasterFile file{width, height, type, {}, transform, transform ? 4326 : 0, {}};
    for (int b = 0; b < bands; ++b) {
      file.bands.push_back(
          {std::vector<double>(static_cast<std::size_t>(width * height), 250.0), {}, {}, {}, unit, {}});
    }
    test::WriteRaster(Path(name), driver, file);
  };
  write("k.tif", "GTiff", 8, 6, GDT_Float32, "K", std::array<double, 6>{0, 1, 0, 0, 0, -1});
  write("plain.tif", "GTiff", 8, 6, GDT_Float32, "");
  write("watts.tif", "GTiff", 8, 6, GDT_Float32, "W m-2");
  write("grey.tif", "GTiff", 8, 6, GDT_Byte, "");
  write("wide.tif", "GTiff", 16, 6, GDT_Float32, "1");
  write("shifted.tif", "GTiff", 16, 12, GDT_Float32, "1", std::array<double, 6>{2, 0.5, 0, 0, 0, -0.5});
  write("two.nc", "netCDF", 8, 6, GDT_Float32, "K", {}, 2);
  const std::string fifo = Path("ir.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int files = FileCount();

  const Refusal cases[] = {
      {"a temperature channel without a unit", {"--ir", "@plain.tif", "--vis", "@grey.tif"}, 2, "--ir-unit K or"},
      {"a reflectance channel without a unit", {"--ir", "@k.tif", "--vis", "@plain.tif"}, 2, "--vis-unit 1"},
      {"a unit that is no temperature", {"--ir", "@watts.tif", "--vis", "@grey.tif"}, 2, "\"W m-2\""},
      {"a scale in kelvin",
       {"--ir", "@grey.tif", "--vis", "@grey.tif", "--ir-scale", "313.15,213.15"},
       2,
       "the scale is in degrees Celsius; 313.15 K is 40 \u00b0C"},
      {"a scale for temperatures", {"--ir", "@k.tif", "--vis", "@grey.tif", "--ir-scale", "40,-60"}, 2, "--ir-scale"},
      {"a gamma for levels", {"--ir", "@k.tif", "--vis", "@grey.tif", "--vis-gamma", "2"}, 2, "--vis-gamma"},
      {"shapes that differ", {"--ir", "@k.tif", "--vis", "@wide.tif"}, 2, "8 x 6 pixels"},
      {"areas that differ", {"--ir", "@k.tif", "--vis", "@shifted.tif"}, 2, "cover the same area"},
      {"a band beyond the bands", {"--ir", "@k.tif", "--ir-band", "2", "--vis", "@grey.tif"}, 2, "no band 2"},
      {"several variables", {"--ir", "@two.nc", "--vis", "@grey.tif"}, 2, "NETCDF:"},
      {"a band of no number", {"--ir", "@k.tif", "--ir-band", "0", "--vis", "@grey.tif"}, 2, "--ir-band '0'"},
      {"an unknown unit", {"--ir", "@k.tif", "--ir-unit", "F", "--vis", "@grey.tif"}, 2, "--ir-unit 'F'"},
      {"a gamma of 0", {"--ir", "@k.tif", "--vis", "@wide.tif", "--vis-gamma", "0"}, 2, "--vis-gamma '0'"},
      {"two colour numbers", {"--ir", "@k.tif", "--vis", "@grey.tif", "--nodata-colour", "1,2"}, 2, "R,G,B"},
      {"a colour number too large",
       {"--ir", "@k.tif", "--vis", "@grey.tif", "--nodata-colour", "1,2,256"},
       2,
       "--nodata-colour '1,2,256'"},
      {"no such driver", {"--ir", "@k.tif", "--vis", "@grey.tif", "--format", "NoSuch"}, 2, "no raster driver"},
      {"a driver that only reads", {"--ir", "@k.tif", "--vis", "@grey.tif", "--format", "HDF5"}, 2, "cannot write"},
      {"a FIFO", {"--ir", "@ir.fifo", "--vis", "@grey.tif"}, 1, "is a FIFO"},
      {"no such subdataset", {"--ir", "NETCDF:\"@two.nc\":none", "--vis", "@grey.tif"}, 1, "cannot read the infrared"},
  };
  for (const Refusal& c : cases) {
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
      if (const auto at = a.find("\"@"); at != std::string::npos) a.replace(at + 1, 1, dir_.path().toStdString() + "/");
    }
    args.insert(args.end(), {"--out", "@out.tif"});
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitStatus, c.status) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(FileCount(), files) << c.name << ": something was written";
  }
}

}  // namespace
}  // namespace palettor
