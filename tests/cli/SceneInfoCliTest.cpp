// palettor-cli scene-info on files made here: every member of --json against the values the
// file was written with and the rules written out below, and its refusals.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "RasterFixture.h"
#include "RunProcess.h"

namespace palettor {
namespace {

using test::ProcessResult;

class SceneInfo : public testing::Test {
 protected:
  ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), "scene-info");
    return test::RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + dir_.path().toStdString()}});
  }
  std::string Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }

  QJsonArray Json(const std::string& file, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {file, "--json"};
    args.insert(args.end(), more.begin(), more.end());
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out;
    return document.array();
  }

  QTemporaryDir dir_;
};

TEST_F(SceneInfo, JsonSaysWhatColouriseReadsFromABandOfKelvin) {
  test::RasterFile file{6, 4, GDT_Int16, {{}}, {}, 0, {}};
  file.bands[0] = {{-1,    1000,  2000,  3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000,
                    12000, 13000, 14000, -1,   -1,   1500, 2500, 3500, 4500, 5500, 6500,  6000},
                   0.01,
                   200,
                   -1,
                   "K",
                   {}};
  test::WriteRaster(Path("ir.nc"), "netCDF", file);
  const QJsonArray bands = Json(Path("ir.nc"));
  ASSERT_EQ(bands.size(), 1);
  const QJsonObject band = bands[0].toObject();
  EXPECT_EQ(band["band"].toInt(), 1);
  EXPECT_EQ(band["width"].toInt(), 6);
  EXPECT_EQ(band["height"].toInt(), 4);
  EXPECT_EQ(band["type"].toString(), "Int16");
  EXPECT_EQ(band["unit"].toString(), "K");
  EXPECT_EQ(band["scale"].toDouble(), 0.01);
  EXPECT_EQ(band["offset"].toDouble(), 200);
  EXPECT_EQ(band["nodata"].toDouble(), -1);
  EXPECT_EQ(band["nodata_count"].toInt(), 3);
  // Values raw × 0.01 + 200, temperatures that less 273.15.
  EXPECT_EQ(band["min"].toDouble(), 1000 * 0.01 + 200);
  EXPECT_EQ(band["max"].toDouble(), 14000 * 0.01 + 200);
  const QJsonObject ir = band["ir"].toObject();
  EXPECT_EQ(ir["min_c"].toDouble(), 1000 * 0.01 + 200 - 273.15);
  EXPECT_EQ(ir["max_c"].toDouble(), 14000 * 0.01 + 200 - 273.15);
  int below = 0, above = 0;
  for (const double raw : file.bands[0].values) {
    if (raw == -1) continue;
    below += raw * 0.01 + 200 - 273.15 < -60;
    above += raw * 0.01 + 200 - 273.15 > 39;
  }
  EXPECT_EQ(ir["below_table"].toInt(), below);
  EXPECT_EQ(ir["above_table"].toInt(), above);
  EXPECT_GT(below, 0);
  EXPECT_GT(above, 0);
  EXPECT_TRUE(band["vis"].isNull());
}

TEST_F(SceneInfo, EveryBandOrOneAndNullsWhereTheRulesHaveNothingToSay) {
  test::RasterFile file{3, 2, GDT_UInt16, {{}, {}}, {}, 0, {}};
  file.bands[0].values = {0, 256, 512, 1024, 65535, 300};
  file.bands[1].values = {10, 20, 30, 40, 50, 60};
  file.bands[1].unit = "%";
  test::WriteRaster(Path("two.tif"), "GTiff", file);
  const QJsonArray bands = Json(Path("two.tif"));
  ASSERT_EQ(bands.size(), 2);
  const QJsonObject levels = bands[0].toObject();
  EXPECT_TRUE(levels["nodata"].isNull());
  EXPECT_TRUE(levels["ir"].isNull()) << "levels have no temperature until --ir-scale gives one";
  EXPECT_EQ(levels["vis"].toObject()["min_row"].toInt(), 0);
  EXPECT_EQ(levels["vis"].toObject()["max_row"].toInt(), 255);  // 65535 >> 8
  const QJsonObject percent = bands[1].toObject();
  EXPECT_EQ(percent["unit"].toString(), "%");
  EXPECT_EQ(percent["vis"].toObject()["min_row"].toInt(), 26);   // floor(255 × 0.1 + 0.5)
  EXPECT_EQ(percent["vis"].toObject()["max_row"].toInt(), 153);  // floor(255 × 0.6 + 0.5)

  const QJsonArray second = Json(Path("two.tif"), {"--band", "2"});
  ASSERT_EQ(second.size(), 1);
  EXPECT_EQ(second[0].toObject()["band"].toInt(), 2);

  const ProcessResult text = Cli({Path("two.tif")});
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  EXPECT_NE(text.out.find("band 2 of 2: 3 x 2 UInt16"), std::string::npos) << text.out;
}

TEST_F(SceneInfo, RefusesWhatItCannotRead) {
  test::RasterFile file{2, 2, GDT_Byte, {{{1, 2, 3, 4}, {}, {}, {}, "", {}}}, {}, 0, {}};
  test::WriteRaster(Path("one.tif"), "GTiff", file);
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {
      {{Path("none.tif")}, 1, "cannot read"},
      {{Path("one.tif"), "--band", "2"}, 2, "no band 2"},
      {{Path("one.tif"), "--band", "x"}, 2, "--band 'x'"},
      {{Path("one.tif"), "--depth"}, 2, "unknown argument '--depth'"},
      {{}, 2, "FILE is required"},
  };
  for (const auto& c : cases) {
    const ProcessResult r = Cli(c.args);
    EXPECT_EQ(r.exitStatus, c.status) << c.says << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << c.says;
  }
}

}  // namespace
}  // namespace palettor
