// palettor-cli export-csv and legend: the table's cells as numbers and as a labelled colour bar,
// checked against the table worked out independently (ReferenceTable).
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

#include "Palette.h"
#include "ReferenceTable.h"
#include "RunProcess.h"
#include "SamplePalette.h"

namespace palettor {
namespace {

// The hand-worked sample with Smooth colours on and a grey +20 °C anchor: strong colours
// everywhere and White top off, so that the brightest row differs from column to column; the
// blue tail covers 40 % of the dark rows.
const std::string kVivid =
    test::Replaced(test::Replaced(test::kSamplePaletteFile, "\"smoothColours\": false", "\"smoothColours\": true"),
                   "\"hue\": 100, \"saturation\": 0", "\"hue\": 100, \"saturation\": 40");

Palette VividPalette() {
  Palette palette = test::kSamplePalette;
  palette.smoothColours = true;
  palette.anchors[AnchorSlot(2)].saturation = 40;
  return palette;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TableExports : public testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(Path("vivid.json")) << kVivid;
    reference_ = std::make_unique<LutPixels>();
    test::ReferenceTable(TableInputsOf(VividPalette()), *reference_);
  }
  test::ProcessResult Run(std::vector<std::string> args, std::vector<std::string> env = {}) {
    // A private, empty settings folder: nothing of the user's leaks in.
    env.push_back("XDG_CONFIG_HOME=" + config_.path().toStdString());
    return test::RunProcess(PALETTOR_CLI, args, {.env = env});
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  // Column 0 is -60 degrees, brightness 255 is the top row.
  PackedColour Cell(int column, int brightness) const {
    return (*reference_)[static_cast<std::size_t>((255 - brightness) * 100 + column)];
  }
  static PackedColour Pixel(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return PackRGB(qRed(p), qGreen(p), qBlue(p));
  }

  QTemporaryDir dir_, config_;
  std::unique_ptr<LutPixels> reference_;
};

TEST_F(TableExports, CsvListsEveryCellTemperatureByTemperature) {
  const test::ProcessResult r = Run({"export-csv", "--out", Path("t.csv"), "--palette", Path("vivid.json")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  std::istringstream csv(ReadFile(Path("t.csv")));
  std::string line;
  ASSERT_TRUE(std::getline(csv, line));
  EXPECT_EQ(line, "temperature_c,brightness,red,green,blue");
  int rows = 0;
  for (int t = -60; t <= 39; ++t) {
    for (int b = 0; b <= 255; ++b, ++rows) {
      ASSERT_TRUE(std::getline(csv, line)) << "ends after " << rows << " rows";
      const PackedColour c = Cell(t + 60, b);
      const std::string want = std::to_string(t) + "," + std::to_string(b) + "," + std::to_string(RedOf(c)) + "," +
                               std::to_string(GreenOf(c)) + "," + std::to_string(BlueOf(c));
      ASSERT_EQ(line, want) << "row " << rows;
    }
  }
  EXPECT_EQ(rows, 25600);
  EXPECT_FALSE(std::getline(csv, line)) << "more than 25,600 rows: " << line;
  EXPECT_EQ(Run({"export-csv", "--out", "-", "--palette", Path("vivid.json")}).out, ReadFile(Path("t.csv")));

  // The same cells as the bitmap render writes: stored row b, pixel t + 60, blue green red.
  ASSERT_EQ(Run({"render", "--out", Path("t.bmp"), "--palette", Path("vivid.json")}).exitStatus, 0);
  const std::string bmp = ReadFile(Path("t.bmp"));
  ASSERT_EQ(bmp.size(), 76854u);
  for (int b = 0; b <= 255; ++b) {
    for (int column = 0; column < 100; ++column) {
      const std::size_t at = 54 + static_cast<std::size_t>(b) * 300 + static_cast<std::size_t>(column) * 3;
      const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bmp[at + i]); };
      ASSERT_EQ(PackRGB(byte(2), byte(1), byte(0)), Cell(column, b)) << column << " " << b;
    }
  }
}

// The default legend: the bar at (42, 11), each cell 3 x 1 whole pixels of exactly its colour,
// a black frame around it, ticks under every tenth column.
TEST_F(TableExports, LegendShowsEveryCellAsWholePixelsOfItsColour) {
  const test::ProcessResult r = Run({"legend", "--out", Path("l.png"), "--palette", Path("vivid.json")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  QImage legend;
  ASSERT_TRUE(legend.load(QString::fromStdString(Path("l.png")), "PNG"));
  ASSERT_EQ(legend.size(), QSize(372, 286));
  const int left = 42, top = 11;
  for (int b = 0; b <= 255; ++b) {
    for (int x = 0; x < 300; ++x)
      ASSERT_EQ(Pixel(legend, left + x, top + 255 - b), Cell(x / 3, b)) << "column " << x / 3 << " brightness " << b;
  }
  for (int x = left - 1; x <= left + 300; ++x) {
    EXPECT_EQ(Pixel(legend, x, top - 1), 0u) << x;
    EXPECT_EQ(Pixel(legend, x, top + 256), 0u) << x;
  }
  for (int tick = 0; tick <= 10; ++tick) {
    for (int y = top + 257; y < top + 260; ++y) EXPECT_EQ(Pixel(legend, left + 30 * tick, y), 0u) << tick;
    EXPECT_EQ(Pixel(legend, left + 30 * tick + 1, top + 258), 0xFFFFFFu) << tick;
  }
}

TEST_F(TableExports, LegendOfAnySizeHoldsEveryColumnAt255And128) {
  for (const auto& [width, height] : {std::pair{1000, 700}, std::pair{173, 2000}}) {
    const std::string out = Path("sized.png");
    const test::ProcessResult r = Run({"legend", "--out", out, "--width", std::to_string(width), "--height",
                                       std::to_string(height), "--palette", Path("vivid.json")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    QImage legend;
    ASSERT_TRUE(legend.load(QString::fromStdString(out), "PNG"));
    ASSERT_EQ(legend.size(), QSize(width, height));
    std::set<PackedColour> shown;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) shown.insert(Pixel(legend, x, y));
    }
    for (int column = 0; column < 100; ++column) {
      EXPECT_TRUE(shown.count(Cell(column, 255))) << width << "x" << height << " column " << column;
      EXPECT_TRUE(shown.count(Cell(column, 128))) << width << "x" << height << " column " << column;
    }
  }
}

TEST_F(TableExports, LegendIsTheSameWithoutAnyFonts) {
  ASSERT_EQ(Run({"legend", "--out", Path("a.png"), "--factory"}).exitStatus, 0);
  ASSERT_EQ(Run({"legend", "--out", Path("b.png"), "--factory"},
                {"FONTCONFIG_FILE=/nonexistent", "QT_QPA_FONTDIR=/nonexistent", "QT_QPA_PLATFORM=offscreen"})
                .exitStatus,
            0);
  EXPECT_EQ(ReadFile(Path("a.png")), ReadFile(Path("b.png")));
  EXPECT_EQ(Run({"legend", "--out", "-", "--factory"}).out, ReadFile(Path("a.png")));
}

// Every command that draws a table takes the night floor among its table options, and refuses one
// out of range or not a whole number before it writes anything.
TEST_F(TableExports, EveryTableCommandTakesTheNightFloor) {
  const std::string png = Path("out.png"), json = Path("out.json");
  const std::pair<std::vector<std::string>, std::string> commands[] = {{{"render", "--out", png}, png},
                                                                       {{"export-csv", "--out", png}, png},
                                                                       {{"legend", "--out", png}, png},
                                                                       {{"colourise", "--demo", "--out", png}, png},
                                                                       {{"palette", "export", json}, json}};
  for (const auto& entry : commands) {
    const std::vector<std::string>& command = entry.first;
    const std::string& out = entry.second;
    const auto run = [&](const std::string& floor) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"--palette", Path("vivid.json"), "--night-floor", floor});
      return Run(args);
    };
    ASSERT_EQ(run("0").exitStatus, 0) << command[0];
    const std::string unlifted = ReadFile(out);
    ASSERT_EQ(run("40").exitStatus, 0) << command[0];
    EXPECT_NE(ReadFile(out), unlifted) << command[0];
    std::filesystem::remove(out);
    for (const char* refused : {"51", "-1", "12.5", "ten", ""}) {
      const test::ProcessResult r = run(refused);
      EXPECT_EQ(r.exitStatus, 2) << command[0] << " " << refused;
      EXPECT_NE(r.err.find("--night-floor"), std::string::npos) << r.err;
      EXPECT_FALSE(std::filesystem::exists(out)) << command[0] << " " << refused;
    }
  }
}

TEST_F(TableExports, LegendRefusesWhatItCannotDraw) {
  struct Refused {
    std::vector<std::string> args;
    std::string message;
  };
  const Refused cases[] = {
      {{"--width", "171"}, "the legend needs at least 172 x 286 pixels"},
      {{"--height", "285"}, "the legend needs at least 172 x 286 pixels"},
      {{"--width", "5000"}, "from 1 to 4096"},
      {{"--width", "0"}, "from 1 to 4096"},
  };
  for (const Refused& c : cases) {
    std::vector<std::string> args = {"legend", "--out", Path("x.png"), "--factory"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const test::ProcessResult r = Run(args);
    EXPECT_EQ(r.exitStatus, 2) << c.args[0] << " " << c.args[1];
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  const test::ProcessResult bmp = Run({"legend", "--out", Path("x.bmp"), "--factory"});
  EXPECT_EQ(bmp.exitStatus, 2);
  EXPECT_NE(bmp.err.find("PNG"), std::string::npos) << bmp.err;
  EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
  EXPECT_FALSE(std::filesystem::exists(Path("x.bmp")));
}

}  // namespace
}  // namespace palettor
