// palettor-cli scene-density on scenes made here: the CSV line by line, the PNG read back by
// GDAL, the JSON and the text summary against ReferenceDensity.h, and its refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "RasterFixture.h"
#include "ReferenceDensity.h"
#include "RunProcess.h"

namespace palettor {
namespace {

using test::ProcessResult;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kIrWidth = 40, kIrHeight = 30;
constexpr double kIrNoData = 65535;
// M60 ... P40, then M70, as the summary lists them.
const char* const kSuffixes[12] = {"M60", "M50", "M40", "M30", "M20", "M10", "O0", "P10", "P20", "P30", "P40", "M70"};

std::string Fixed(double value, int decimals) {
  std::ostringstream text;
  text.setf(std::ios::fixed);
  text.precision(decimals);
  text << value;
  return text.str();
}

class SceneDensityCli : public testing::Test {
 protected:
  void SetUp() override { WriteCalibratedPair(); }

  ProcessResult Cli(std::vector<std::string> args) {
    for (std::string& a : args) {
      if (a.starts_with("@")) a = Path(a.substr(1));
    }
    args.insert(args.begin(), "scene-density");
    return test::RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + config_.path().toStdString()}});
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  int FileCount() const { return static_cast<int>(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size()); }

  // Infrared in kelvin (16-bit, scale 0.01, a fill value) past both ends of the table and on
  // halves of a degree; visible in percent at twice the resolution, with NaN.
  void WriteCalibratedPair() {
    test::RasterFile ir{kIrWidth, kIrHeight, GDT_UInt16, {{}}, {}, 0, {}};
    ir.bands[0].scale = 0.01;
    ir.bands[0].offset = 180;
    ir.bands[0].noData = kIrNoData;
    ir.bands[0].unit = "K";
    test::RasterFile vis{2 * kIrWidth, 2 * kIrHeight, GDT_Float32, {{}}, {}, 0, {}};
    vis.bands[0].unit = "%";
    for (int y = 0; y < kIrHeight; ++y) {
      for (int x = 0; x < kIrWidth; ++x) {
        const int i = y * kIrWidth + x;
        ir.bands[0].values.push_back(i % 17 == 3 ? kIrNoData : (i * 1237 + 15) % 15000);
      }
    }
    for (int i = 0; i < 4 * kIrWidth * kIrHeight; ++i) {
      vis.bands[0].values.push_back(i % 23 == 4 ? kNaN : static_cast<float>((i * 37) % 1150) / 10.0f - 3.0f);
    }
    test::WriteRaster(Path("ir.tif"), "GTiff", ir);
    test::WriteRaster(Path("vis.tif"), "GTiff", vis);
    for (int y = 0; y < 2 * kIrHeight; ++y) {
      for (int x = 0; x < 2 * kIrWidth; ++x) {
        const double raw = ir.bands[0].values[static_cast<std::size_t>((y / 2) * kIrWidth + x / 2)];
        const double percent = static_cast<float>(vis.bands[0].values[static_cast<std::size_t>(y * 2 * kIrWidth + x)]);
        const double r = std::min(std::max(percent / 100.0, 0.0), 1.0);
        pixels_.push_back({raw == kIrNoData ? kNaN : raw * 0.01 + 180 - 273.15,
                           std::isnan(percent) ? -1 : static_cast<int>(std::floor(255 * r + 0.5))});
      }
    }
  }

  QTemporaryDir dir_, config_;
  std::vector<test::ReferencePixel> pixels_;
};

TEST_F(SceneDensityCli, CsvHasEveryCellInExportCsvOrder) {
  const ProcessResult r = Cli({"--ir", "@ir.tif", "--vis", "@vis.tif", "--out", "@density.csv", "--factory"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const test::ReferenceDensity reference = test::ReferenceDensityOf(pixels_, 12, true);
  QFile file(QString::fromStdString(Path("density.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_EQ(lines.size(), 25602);  // the header, 25,600 cells and the empty rest after the last newline
  EXPECT_EQ(lines[0], "temperature_c,brightness,pixels");
  EXPECT_EQ(lines[25601], "");
  int line = 1;
  for (int celsius = -60; celsius <= 39; ++celsius) {
    for (int row = 0; row <= 255; ++row, ++line) {
      const auto found = reference.cells.find({celsius, row});
      const std::string want = std::to_string(celsius) + "," + std::to_string(row) + "," +
                               std::to_string(found == reference.cells.end() ? 0 : found->second);
      ASSERT_EQ(lines[line].toStdString(), want) << "line " << line + 1;
    }
  }
  // --out - writes the same lines to standard output.
  const ProcessResult out = Cli({"--ir", "@ir.tif", "--vis", "@vis.tif", "--out", "-", "--factory"});
  ASSERT_EQ(out.exitStatus, 0) << out.err;
  file.seek(0);
  EXPECT_EQ(out.out, file.readAll().toStdString());
}

struct SummaryCase {
  std::vector<std::string> tableOptions;
  int tailPercent;
  bool smooth;
};

void PrintTo(const SummaryCase& c, std::ostream* os) {
  for (const std::string& option : c.tableOptions) *os << option << " ";
}

class SceneDensitySummary : public SceneDensityCli, public testing::WithParamInterface<SummaryCase> {};

TEST_P(SceneDensitySummary, JsonAndTextGiveTheSharesOfTheTableOptionsPalette) {
  const SummaryCase c = GetParam();
  std::vector<std::string> args = {"--ir", "@ir.tif", "--vis", "@vis.tif", "--out", "@density.csv"};
  args.insert(args.end(), c.tableOptions.begin(), c.tableOptions.end());
  const test::ReferenceDensity reference = test::ReferenceDensityOf(pixels_, c.tailPercent, c.smooth);
  ASSERT_GT(reference.belowTable, 0u);
  ASSERT_GT(reference.aboveTable, 0u);
  ASSERT_GT(reference.noData, 0u);
  const auto percent = [&](std::size_t slot) {
    return 100.0 * static_cast<double>(reference.anchorPixels[slot]) / static_cast<double>(reference.pixels);
  };

  std::vector<std::string> jsonArgs = args;
  jsonArgs.push_back("--json");
  const ProcessResult json = Cli(jsonArgs);
  ASSERT_EQ(json.exitStatus, 0) << json.err;
  EXPECT_EQ(json.err, "");
  QJsonParseError error{};
  const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out;
  EXPECT_EQ(object.keys(), (QStringList{"above_table", "below_table", "nodata", "pixels", "shares"}));
  EXPECT_EQ(object["pixels"].toInteger(), static_cast<qint64>(reference.pixels));
  EXPECT_EQ(object["nodata"].toInteger(), static_cast<qint64>(reference.noData));
  EXPECT_EQ(object["below_table"].toInteger(), static_cast<qint64>(reference.belowTable));
  EXPECT_EQ(object["above_table"].toInteger(), static_cast<qint64>(reference.aboveTable));
  const QJsonObject shares = object["shares"].toObject();
  ASSERT_EQ(shares.size(), 12);
  for (std::size_t slot = 0; slot < 12; ++slot)
    EXPECT_NEAR(shares[kSuffixes[slot]].toDouble(), percent(slot), 0.00005) << kSuffixes[slot];
  // The members in the summary's order: coldest first, the blue tail last.
  std::size_t last = 0;
  for (const char* suffix : kSuffixes) {
    const std::size_t at = json.out.find(std::string("\"") + suffix + "\"");
    ASSERT_NE(at, std::string::npos) << suffix;
    EXPECT_GT(at, last) << suffix;
    last = at;
  }

  const ProcessResult text = Cli(args);
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  EXPECT_EQ(text.out, "");
  std::istringstream lines(text.err);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line,
            std::to_string(reference.pixels) + " pixels with data, " + std::to_string(reference.noData) + " without");
  for (std::size_t slot = 0; slot < 12; ++slot) {
    std::getline(lines, line);
    std::istringstream words(line);
    std::string suffix, share, sign;
    words >> suffix >> share >> sign;
    EXPECT_EQ(suffix, kSuffixes[slot]) << line;
    EXPECT_EQ(share, Fixed(percent(slot), 1)) << line;
    EXPECT_EQ(sign, "%") << line;
  }
  std::getline(lines, line);
  EXPECT_EQ(line, std::to_string(reference.belowTable) + " pixels colder than the table, held to -60 \u00b0C");
  std::getline(lines, line);
  EXPECT_EQ(line, std::to_string(reference.aboveTable) + " pixels warmer than the table, held to +39 \u00b0C");
}

INSTANTIATE_TEST_SUITE_P(
    TableOptions, SceneDensitySummary,
    testing::Values(SummaryCase{{"--factory"}, 12, true},
                    SummaryCase{{"--factory", "--smooth", "off", "--tail-percent", "40"}, 40, false},
                    SummaryCase{{"--preset", "greyscale", "--tail-percent", "0", "--night-floor", "30"}, 0, true}),
    test::CaseName<SummaryCase>);

TEST_F(SceneDensityCli, PngIsTheTableLayoutOfSixteenBitCountsHeldTo65535) {
  // One cell crowded past what 16 bits hold, next to a quiet one: 400 x 200 pixels of
  // level 100 (about +0.8 degrees), brightness 7, and a column of level 255 (-60 degrees).
  test::RasterFile ir{400, 200, GDT_Byte, {{}}, {}, 0, {}}, vis = ir;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 400; ++x) {
      ir.bands[0].values.push_back(x == 0 ? 255 : 100);
      vis.bands[0].values.push_back(x == 0 ? 250 : 7);
    }
  }
  test::WriteRaster(Path("crowded-ir.png"), "PNG", ir);
  test::WriteRaster(Path("crowded-vis.png"), "PNG", vis);
  const ProcessResult r = Cli({"--ir", "@crowded-ir.png", "--vis", "@crowded-vis.png", "--out", "@density.png"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  QFile file(QString::fromStdString(Path("density.png")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(26);
  EXPECT_EQ(static_cast<int>(header[24]), 16) << "bit depth";
  EXPECT_EQ(static_cast<int>(header[25]), 0) << "colour type: grey";
  const test::ReadBack png = test::ReadRaster(Path("density.png"));
  ASSERT_EQ(png.width, 100);
  ASSERT_EQ(png.height, 256);
  ASSERT_EQ(png.bands, 1);
  const double warm = 40.0 + (-100.0 * 100) / 255;  // the level rule, default scale
  const int warmColumn = static_cast<int>(std::floor(warm + 0.5)) + 60;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 100; ++x) {
      const int brightness = 255 - y;
      const int want = x == warmColumn && brightness == 7 ? 65535 : x == 0 && brightness == 250 ? 200 : 0;
      ASSERT_EQ(png.values[0][static_cast<std::size_t>(y * 100 + x)], want) << "column " << x << ", row " << y;
    }
  }
}

TEST_F(SceneDensityCli, DemoIsTheDemoScenesChannels) {
  ASSERT_EQ(
      test::RunProcess(PALETTOR_CLI, {"demo-scene", "--ir-out", Path("demo-ir.png"), "--vis-out", Path("demo-vis.png")})
          .exitStatus,
      0);
  const ProcessResult demo = Cli({"--demo", "--out", "-", "--factory"});
  const ProcessResult files = Cli({"--ir", "@demo-ir.png", "--vis", "@demo-vis.png", "--out", "-", "--factory"});
  ASSERT_EQ(demo.exitStatus, 0) << demo.err;
  EXPECT_EQ(demo.out, files.out);
  EXPECT_EQ(demo.err, files.err);
}

struct RefusalCase {
  std::vector<std::string> args;
  const char* says;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.says; }

class SceneDensityRefusal : public SceneDensityCli, public testing::WithParamInterface<RefusalCase> {};

TEST_P(SceneDensityRefusal, ExitsWithTwoAndWritesNothing) {
  const int before = FileCount();
  const ProcessResult r = Cli(GetParam().args);
  EXPECT_EQ(r.exitStatus, 2) << r.err;
  EXPECT_NE(r.err.find(GetParam().says), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(FileCount(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SceneDensityRefusal,
    testing::Values(RefusalCase{{"--ir", "@ir.tif", "--vis", "@vis.tif"}, "--out FILE"},
                    RefusalCase{{"--demo", "--out", "@density.txt"}, "must end in .csv or .png"},
                    RefusalCase{{"--demo", "--out", "-", "--json"}, "--out must name a file"},
                    RefusalCase{{"--ir", "@ir.tif", "--out", "@d.csv"}, "both channels are needed"},
                    RefusalCase{{"--demo", "--vis", "@vis.tif", "--out", "@d.csv"}, "cannot go with --ir or --vis"},
                    RefusalCase{{"--demo", "--out", "@d.csv", "--nodata-colour", "1,2,3"}, "unknown argument"},
                    RefusalCase{{"--demo", "--out", "@d.csv", "--night-floor", "60"}, "--night-floor"},
                    RefusalCase{{"--demo", "--out", "@d.csv", "--tail-percent", "101"}, "--tail-percent"},
                    RefusalCase{{"--ir", "@ir.tif", "--vis", "@vis.tif", "--out", "@d.csv", "--ir-scale", "30,-50"},
                                "--ir-scale"},
                    RefusalCase{{"--ir", "@vis.tif", "--vis", "@vis.tif", "--out", "@d.png"}, "a temperature"}),
    test::CaseName<RefusalCase>);

}  // namespace
}  // namespace palettor
