// palettor-cli colourise --compare-palette / --compare-preset --split X: the columns left of X
// exactly as colourise colours the scene with the table options, the rest exactly as it colours
// it with the other palette, on scenes of levels and of calibrated values, at every kind of
// split (edges, inside a group of four pixels), and its refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <limits>
#include <string>
#include <vector>

#include "CaseName.h"
#include "RasterFixture.h"
#include "RunProcess.h"

namespace palettor {
namespace {

using test::ProcessResult;

constexpr int kWidth = 37, kHeight = 9;  // an odd width: splits fall inside groups of four

class ColouriseCompare : public testing::Test {
 protected:
  void SetUp() override {
    test::RasterFile ir{kWidth, kHeight, GDT_Float32, {{}}, {}, 0, {}}, vis = ir;
    ir.bands[0].unit = "C";
    ir.bands[0].noData = -999;
    vis.bands[0].unit = "1";
    for (int i = 0; i < kWidth * kHeight; ++i) {
      ir.bands[0].values.push_back(i % 29 == 4 ? -999 : -70 + (i * 7) % 115);
      vis.bands[0].values.push_back(((i * 13) % 100) / 99.0);
    }
    test::WriteRaster(Path("ir.tif"), "GTiff", ir);
    test::WriteRaster(Path("vis.tif"), "GTiff", vis);
    ASSERT_EQ(Run({"palette", "export", "--preset", "infrared-contrast", Path("other.json")}).exitStatus, 0);
  }

  ProcessResult Run(std::vector<std::string> args) {
    for (std::string& a : args) {
      if (a.starts_with("@")) a = Path(a.substr(1));
    }
    return test::RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + config_.path().toStdString()}});
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  int FileCount() const { return static_cast<int>(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size()); }

  QTemporaryDir dir_, config_;
};

struct SplitCase {
  std::vector<std::string> scene;  // the channels, or --demo
  std::vector<std::string> other;  // the other palette as --compare-... and as colourise's own option
  std::vector<std::string> asItself;
  std::vector<std::string> more;  // options both tables share
  int split;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << (c.scene.front() == "--demo" ? "demo" : "calibrated") << " " << c.other.front() << " split " << c.split;
  for (const std::string& option : c.more) *os << " " << option;
}

class ColouriseSplit : public ColouriseCompare, public testing::WithParamInterface<SplitCase> {};

TEST_P(ColouriseSplit, LeftOfTheSplitIsTheTableAndTheRestTheOtherPalette) {
  const SplitCase c = GetParam();
  const auto colourise = [&](const std::string& out, std::vector<std::string> table) {
    std::vector<std::string> args = {"colourise", "--out", "@" + out};
    args.insert(args.end(), c.scene.begin(), c.scene.end());
    args.insert(args.end(), c.more.begin(), c.more.end());
    args.insert(args.end(), table.begin(), table.end());
    const ProcessResult r = Run(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return test::ReadRaster(Path(out));
  };
  std::vector<std::string> split = {"--factory", "--split", std::to_string(c.split)};
  split.insert(split.end(), c.other.begin(), c.other.end());
  const test::ReadBack both = colourise("split.png", split);
  const test::ReadBack left = colourise("left.png", {"--factory"});
  const test::ReadBack right = colourise("right.png", c.asItself);
  ASSERT_EQ(both.bands, 3);
  ASSERT_EQ(both.width, left.width);
  ASSERT_EQ(both.height, left.height);
  ASSERT_NE(left.values, right.values) << "the two tables must differ for the split to show";
  for (int band = 0; band < 3; ++band) {
    for (int y = 0; y < both.height; ++y) {
      for (int x = 0; x < both.width; ++x) {
        const auto i = static_cast<std::size_t>(y * both.width + x);
        const auto b = static_cast<std::size_t>(band);
        ASSERT_EQ(both.values[b][i], (x < c.split ? left : right).values[b][i])
            << "pixel (" << x << ", " << y << ") band " << band + 1;
      }
    }
  }
}

const std::vector<std::string> kCalibrated = {"--ir", "@ir.tif", "--vis", "@vis.tif"};
const std::vector<std::string> kPreset = {"--compare-preset", "greyscale"};
const std::vector<std::string> kAsPreset = {"--preset", "greyscale"};
const std::vector<std::string> kFile = {"--compare-palette", "@other.json"};
const std::vector<std::string> kAsFile = {"--palette", "@other.json"};

INSTANTIATE_TEST_SUITE_P(
    Splits, ColouriseSplit,
    testing::Values(SplitCase{kCalibrated, kPreset, kAsPreset, {}, 0},
                    SplitCase{kCalibrated, kPreset, kAsPreset, {}, 1}, SplitCase{kCalibrated, kFile, kAsFile, {}, 6},
                    SplitCase{kCalibrated, kFile, kAsFile, {}, 36},
                    SplitCase{kCalibrated, kPreset, kAsPreset, {}, kWidth},
                    SplitCase{
                        kCalibrated, kFile, kAsFile, {"--simulate", "deuteranopia", "--nodata-colour", "9,8,7"}, 17},
                    SplitCase{{"--demo"}, kPreset, kAsPreset, {}, 513},
                    SplitCase{{"--demo"}, kFile, kAsFile, {"--ir-scale", "30,-70"}, 1023}),
    test::CaseName<SplitCase>);

struct CompareRefusal {
  std::vector<std::string> args;
  const char* says;
};

void PrintTo(const CompareRefusal& c, std::ostream* os) { *os << c.says; }

class ColouriseCompareRefusal : public ColouriseCompare, public testing::WithParamInterface<CompareRefusal> {};

TEST_P(ColouriseCompareRefusal, ExitsWithTwoAndWritesNothing) {
  std::vector<std::string> args = {"colourise"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const int before = FileCount();
  const ProcessResult r = Run(args);
  EXPECT_EQ(r.exitStatus, 2) << r.err;
  EXPECT_NE(r.err.find(GetParam().says), std::string::npos) << r.err;
  EXPECT_EQ(FileCount(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ColouriseCompareRefusal,
    testing::Values(
        CompareRefusal{{"--demo", "--out", "@o.png", "--split", "3"}, "needs the other table"},
        CompareRefusal{{"--demo", "--out", "@o.png", "--compare-preset", "greyscale"}, "need --split"},
        CompareRefusal{{"--demo", "--out", "@o.png", "--compare-preset", "greyscale", "--compare-palette",
                        "@other.json", "--split", "3"},
                       "only one of"},
        CompareRefusal{{"--demo", "--out", "@o.png", "--compare-preset", "greyscale", "--split", "1025"},
                       "1024 pixels wide"},
        CompareRefusal{{"--demo", "--out", "@o.png", "--compare-preset", "greyscale", "--split", "-1"}, "0 or more"},
        CompareRefusal{{"--demo", "--out", "@o.png", "--compare-preset", "no-such", "--split", "3"},
                       "no palette is called"},
        CompareRefusal{{"--demo", "--out", "@o.png", "--compare-palette", "@ir.tif", "--split", "3"}, "ir.tif"},
        CompareRefusal{{"--pairs", "-", "--compare-preset", "greyscale", "--split", "3"}, "--pairs"}),
    test::CaseName<CompareRefusal>);

}  // namespace
}  // namespace palettor
