// palettor-cli colourise and demo-scene, run as real programs on generated channels; what they
// write is decoded by a reader of another make (Python's PIL) and checked pixel by pixel
// against the rule worked out one pixel at a time (ReferenceScene.h, ReferenceTable.h).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "GoldenSettings.h"
#include "Palette.h"
#include "ReferenceScene.h"
#include "ReferenceTable.h"
#include "RunProcess.h"

namespace palettor {
namespace {

namespace golden = test::golden;

using test::ProcessResult;
using test::RunProcess;

// A channel as the test makes it: levels of one depth, row by row.
struct Channel {
  int width = 0, height = 0, maxLevel = 255;
  std::vector<int> levels;
  int at(int x, int y) const { return levels[static_cast<std::size_t>(y * width + x)]; }
};

// Every level of the depth at least once where the image is large enough, scrambled.
Channel MakeChannel(int width, int height, int maxLevel, unsigned seed) {
  Channel c{width, height, maxLevel, {}};
  std::mt19937 random(seed);
  for (int i = 0; i < width * height; ++i) {
    c.levels.push_back(i <= maxLevel
                           ? static_cast<int>((static_cast<unsigned>(i) * 40503u) % static_cast<unsigned>(maxLevel + 1))
                           : static_cast<int>(random() % static_cast<unsigned>(maxLevel + 1)));
  }
  std::shuffle(c.levels.begin(), c.levels.end(), random);
  return c;
}

struct Decoded {
  std::string mode;  // PIL's: "RGB", "L" ...
  int width = 0, height = 0;
  QByteArray pixels;  // as PIL's tobytes() gives them
};

// Python's imaging library, as Debian installs it for the system's python3.
Decoded DecodeWithPil(const std::string& path) {
  const std::string script =
      "import sys\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1])\n"
      "sys.stdout.buffer.write(('%s %d %d\\n' % (im.mode, im.width, im.height)).encode())\n"
      "sys.stdout.buffer.write(im.tobytes())\n";
  const ProcessResult r = RunProcess("/usr/bin/python3", {"-c", script, path});
  Decoded d;
  if (r.exitStatus != 0) {
    ADD_FAILURE() << "PIL could not open " << path << ": " << r.err;
    return d;
  }
  const auto newline = r.out.find('\n');
  char mode[16] = {};
  if (std::sscanf(r.out.substr(0, newline).c_str(), "%15s %d %d", mode, &d.width, &d.height) != 3) return d;
  d.mode = mode;
  d.pixels = QByteArray::fromStdString(r.out.substr(newline + 1));
  return d;
}

// The palette the window starts with on a first run.
Palette FirstRunPalette() { return Palette{FactoryPalette(), 12, true, true}; }

class Colourise : public testing::Test {
 protected:
  ProcessResult Cli(std::vector<std::string> args) {
    return RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + config_.path().toStdString()}});
  }
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  bool Exists(const std::string& name) const { return QFileInfo::exists(QString::fromStdString(Path(name))); }

  // As an 8- or 16-bit grey file, the format by its name; .pgm files keep 16 bits (Qt's own
  // writer would not), written here by hand.
  std::string Write(const std::string& name, const Channel& c) {
    const std::string path = Path(name);
    if (name.ends_with(".pgm")) {
      QByteArray bytes = QByteArray("P5\n") + QByteArray::number(c.width) + ' ' + QByteArray::number(c.height) + '\n' +
                         QByteArray::number(c.maxLevel) + '\n';
      for (int level : c.levels) {
        if (c.maxLevel > 255) bytes.append(static_cast<char>(level >> 8));
        bytes.append(static_cast<char>(level & 0xFF));
      }
      QFile f(QString::fromStdString(path));
      EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
      return path;
    }
    const bool eight = c.maxLevel == 255;
    QImage image(c.width, c.height, eight ? QImage::Format_Grayscale8 : QImage::Format_Grayscale16);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        if (eight) {
          image.scanLine(y)[x] = static_cast<uchar>(c.at(x, y));
        } else {
          reinterpret_cast<quint16*>(image.scanLine(y))[x] = static_cast<quint16>(c.at(x, y));
        }
      }
    }
    if (name.ends_with(".bmp")) image = image.convertToFormat(QImage::Format_Indexed8);  // a grey palette
    EXPECT_TRUE(image.save(QString::fromStdString(path))) << path;
    return path;
  }

  // The coloured scene `file` decodes to, against the rule for every pixel; channels of at most
  // `tolerance` levels apart count as equal.
  ::testing::AssertionResult ColouredAsTheRuleSays(const Decoded& got, const Channel& ir, const Channel& vis,
                                                   IrScale scale, const Palette& palette,
                                                   VisionSimulation simulation = VisionSimulation::Normal,
                                                   int tolerance = 0) {
    if (got.mode != "RGB" || got.width != ir.width || got.height != ir.height) {
      return ::testing::AssertionFailure() << "decoded as " << got.mode << " " << got.width << " x " << got.height;
    }
    auto table = std::make_unique<LutPixels>();
    test::ReferenceTable(TableInputsOf(palette), *table);
    for (int y = 0; y < ir.height; ++y) {
      for (int x = 0; x < ir.width; ++x) {
        const PackedColour want = test::ReferenceSimulation(
            test::ReferenceSceneColour(*table, scale, ir.at(x, y), ir.maxLevel, vis.at(x, y), vis.maxLevel),
            simulation);
        const auto* p = reinterpret_cast<const std::uint8_t*>(got.pixels.constData()) + (y * ir.width + x) * 3;
        const int wants[3] = {RedOf(want), GreenOf(want), BlueOf(want)};
        for (int i = 0; i < 3; ++i) {
          if (std::abs(p[i] - wants[i]) > tolerance) {
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") IR " << ir.at(x, y) << " VIS " << vis.at(x, y) << ": channel "
                   << i << " is " << int{p[i]} << " instead of " << wants[i];
          }
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  QTemporaryDir dir_, config_;
};

struct RuleCase {
  const char* name;
  int irMax, visMax;
  const char* irFile;
  const char* visFile;
  std::vector<std::string> options;
  IrScale scale;
  Palette palette;
  const char* out;
};

TEST_F(Colourise, ChannelsOfBothDepthsAndEveryFormatAreColouredAsTheRuleSays) {
  Palette plain = FirstRunPalette();
  plain.whiteTop = false;
  plain.smoothColours = false;
  plain.tailPercent = 40;
  Palette anchors = FirstRunPalette();
  anchors.anchors[AnchorSlot(2)] = {120, 100};
  anchors.anchors[AnchorSlot(-7)] = {30, 90};
  Palette fullTail = FirstRunPalette();
  fullTail.tailPercent = 100;
  fullTail.smoothColours = false;
  const RuleCase cases[] = {
      {"8-bit PNG pair, defaults", 255, 255, "ir.png", "vis.png", {}, {40, -60}, FirstRunPalette(), "out.png"},
      {"16-bit TIFF and PGM, fractional scale, flat colours",
       65535,
       65535,
       "ir.tif",
       "vis.pgm",
       {"--ir-scale", "-5.5,12.25", "--white-top", "off", "--smooth", "off", "--tail-percent", "40"},
       {-5.5, 12.25},
       plain,
       "out.bmp"},
      {"8-bit BMP with 16-bit PNG, a scale wider than the table, anchors",
       255,
       65535,
       "ir.bmp",
       "vis16.png",
       {"--ir-scale=100,-100", "--anchor", "P20=120,100", "--anchor", "M70=30,90"},
       {100, -100},
       anchors,
       "out.TIF"},
      {"16-bit PNG with 8-bit PGM, a scale narrower than a column, all tail",
       65535,
       255,
       "ir16.png",
       "vis.pgm",
       {"--ir-scale", "0.3,-0.2", "--factory", "--tail-percent", "100", "--smooth", "off"},
       {0.3, -0.2},
       fullTail,
       "-"},
  };
  unsigned seed = 1;
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Channel ir = MakeChannel(c.irMax == 255 ? 67 : 256, c.irMax == 255 ? 41 : 256, c.irMax, seed++);
    const Channel vis = MakeChannel(ir.width, ir.height, c.visMax, seed++);
    std::vector<std::string> args = {"colourise", "--ir", Write(c.irFile, ir), "--vis", Write(c.visFile, vis)};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const bool toStdout = std::string(c.out) == "-";
    args.insert(args.end(), {"--out", toStdout ? "-" : Path(c.out)});
    const ProcessResult r = Cli(args);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    if (toStdout) {
      QFile f(QString::fromStdString(Path("stdout.png")));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(r.out.data(), static_cast<qint64>(r.out.size()));
    }
    EXPECT_TRUE(
        ColouredAsTheRuleSays(DecodeWithPil(Path(toStdout ? "stdout.png" : c.out)), ir, vis, c.scale, c.palette));
  }
}

TEST_F(Colourise, TakesTheTableFromTheStoredSettings) {
  ASSERT_EQ(Cli({"settings", "set", golden::WhiteTop(), "0"}).exitStatus, 0);
  ASSERT_EQ(Cli({"settings", "set", golden::Hue("P10"), "200"}).exitStatus, 0);
  const Channel ir = MakeChannel(64, 32, 255, 11), vis = MakeChannel(64, 32, 255, 12);
  const ProcessResult r =
      Cli({"colourise", "--ir", Write("ir.png", ir), "--vis", Write("vis.png", vis), "--out", Path("out.png")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  Palette stored = FirstRunPalette();
  stored.whiteTop = false;
  stored.anchors[AnchorSlot(1)].hue = 200;
  EXPECT_TRUE(ColouredAsTheRuleSays(DecodeWithPil(Path("out.png")), ir, vis, {40, -60}, stored));
}

TEST_F(Colourise, SimulationsStayWithinTwoLevelsOfTheMatrices) {
  const Channel ir = MakeChannel(64, 64, 255, 21), vis = MakeChannel(64, 64, 255, 22);
  const std::string irPath = Write("ir.png", ir), visPath = Write("vis.png", vis);
  const std::pair<const char*, VisionSimulation> simulations[] = {{"protanopia", VisionSimulation::Protanopia},
                                                                  {"deuteranopia", VisionSimulation::Deuteranopia},
                                                                  {"tritanopia", VisionSimulation::Tritanopia},
                                                                  {"greyscale", VisionSimulation::Greyscale}};
  for (const auto& [name, simulation] : simulations) {
    const ProcessResult r = Cli({"colourise", "--ir", irPath, "--vis", visPath, "--factory", "--white-top", "off",
                                 "--simulate", name, "--out", Path(std::string(name) + ".png")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    Palette p = FirstRunPalette();
    p.whiteTop = false;
    EXPECT_TRUE(
        ColouredAsTheRuleSays(DecodeWithPil(Path(std::string(name) + ".png")), ir, vis, {40, -60}, p, simulation, 2))
        << name;
  }
  // normal is no simulation at all.
  ASSERT_EQ(
      Cli({"colourise", "--ir", irPath, "--vis", visPath, "--simulate", "normal", "--out", Path("a.png")}).exitStatus,
      0);
  ASSERT_EQ(Cli({"colourise", "--ir", irPath, "--vis", visPath, "--out", Path("b.png")}).exitStatus, 0);
  QFile a(QString::fromStdString(Path("a.png"))), b(QString::fromStdString(Path("b.png")));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> args;  // "@name" stands for a file of the test's folder
  int status;
  const char* says;
};

TEST_F(Colourise, RefusesWhatItCannotDoAndWritesNothing) {
  const Channel grey = MakeChannel(8, 6, 255, 31);
  Write("ir.png", grey);
  Write("vis.png", grey);
  Write("short.png", MakeChannel(8, 5, 255, 32));
  QImage colour(8, 6, QImage::Format_RGB32);
  colour.fill(qRgb(10, 20, 10));
  ASSERT_TRUE(colour.save(QString::fromStdString(Path("colour.png"))));
  QFile text(QString::fromStdString(Path("text.png")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not an image\n") > 0);
  text.close();

  const std::vector<std::string> pair = {"--ir", "@ir.png", "--vis", "@vis.png"};
  const auto with = [&](std::vector<std::string> rest) {
    std::vector<std::string> args = pair;
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  };
  const ErrorCase cases[] = {
      {"equal ends", with({"--ir-scale", "10,10", "--out", "@out.png"}), 2, "must differ"},
      {"one number", with({"--ir-scale", "40", "--out", "@out.png"}), 2, "expected BLACK,WHITE"},
      {"three numbers", with({"--ir-scale", "40,-60,0", "--out", "@out.png"}), 2, "expected BLACK,WHITE"},
      {"not a number", with({"--ir-scale", "warm,cold", "--out", "@out.png"}), 2, "decimal numbers"},
      {"infinite", with({"--ir-scale", "inf,0", "--out", "@out.png"}), 2, "decimal numbers"},
      {"span too wide", with({"--ir-scale", "1.5e308,-1.5e308", "--out", "@out.png"}), 2, "too far apart"},
      {"unknown simulation", with({"--simulate", "grayscale", "--out", "@out.png"}), 2, "--simulate 'grayscale'"},
      {"unknown extension", with({"--out", "@out.gif"}), 2, "unknown image format"},
      {"no extension", with({"--out", "@out"}), 2, "unknown image format"},
      {"no output", pair, 2, "--out FILE"},
      {"demo and channels", with({"--demo", "--out", "@out.png"}), 2, "cannot go with --ir or --vis"},
      {"one channel", {"--ir", "@ir.png", "--out", "@out.png"}, 2, "go together"},
      {"no scene", {"--out", "@out.png"}, 2, "--ir FILE --vis FILE (or --demo)"},
      {"bad table option", with({"--tail-percent", "101", "--out", "@out.png"}), 2, "--tail-percent '101'"},
      {"unknown option", with({"--zoom", "2", "--out", "@out.png"}), 2, "unknown argument '--zoom'"},
      {"sizes differ", {"--ir", "@ir.png", "--vis", "@short.png", "--out", "@out.png"}, 2, "8 x 6 pixels"},
      {"colour image", {"--ir", "@colour.png", "--vis", "@vis.png", "--out", "@out.png"}, 2, "not a grey image"},
      {"missing file", {"--ir", "@ir.png", "--vis", "@none.png", "--out", "@out.png"}, 1, "No such file"},
      {"not an image", {"--ir", "@text.png", "--vis", "@vis.png", "--out", "@out.png"}, 1, "cannot read the infrared"},
      {"a folder as input", {"--ir", "@", "--vis", "@vis.png", "--out", "@out.png"}, 1, "is a folder"},
      {"no such folder", with({"--out", "@none/out.png"}), 1, "cannot write"},
  };
  for (const ErrorCase& c : cases) {
    std::vector<std::string> args = {"colourise"};
    for (const std::string& a : c.args) args.push_back(a.starts_with("@") ? Path(a.substr(1)) : a);
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitStatus, c.status) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << c.name;
    EXPECT_FALSE(Exists("out.png") || Exists("out.gif") || Exists("out")) << c.name;
  }
  // Both sizes are named.
  const ProcessResult sizes =
      Cli({"colourise", "--ir", Path("ir.png"), "--vis", Path("short.png"), "--out", Path("out.png")});
  EXPECT_NE(sizes.err.find("8 x 5"), std::string::npos) << sizes.err;
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 5)
      << "stray files";
}

TEST_F(Colourise, TheDemoSceneIsTheSameFromMemoryAndFromItsFiles) {
  const ProcessResult written = Cli({"demo-scene", "--ir-out", Path("ir.png"), "--vis-out", Path("vis.png")});
  ASSERT_EQ(written.exitStatus, 0) << written.err;
  for (const char* channel : {"ir.png", "vis.png"}) {
    const Decoded d = DecodeWithPil(Path(channel));
    EXPECT_EQ(d.mode, "L") << channel;  // 8-bit grey
    EXPECT_GE(d.width, 1024);
    EXPECT_GE(d.height, 768);
  }
  const std::vector<std::string> options = {"--ir-scale", "35.5,-62",   "--tail-percent", "30",       "--smooth",
                                            "off",        "--simulate", "tritanopia",     "--factory"};
  std::vector<std::string> demo = {"colourise", "--demo", "--out", "-"};
  std::vector<std::string> files = {"colourise", "--ir", Path("ir.png"), "--vis", Path("vis.png"), "--out", "-"};
  demo.insert(demo.end(), options.begin(), options.end());
  files.insert(files.end(), options.begin(), options.end());
  const ProcessResult fromMemory = Cli(demo), fromFiles = Cli(files);
  ASSERT_EQ(fromMemory.exitStatus, 0) << fromMemory.err;
  ASSERT_EQ(fromFiles.exitStatus, 0) << fromFiles.err;
  EXPECT_GT(fromMemory.out.size(), 100000u);
  EXPECT_TRUE(fromMemory.out == fromFiles.out) << "the two outputs differ";
}

TEST_F(Colourise, PairsColourEveryGoodLineAndReportEachBadOneByItsNumber) {
  std::vector<Channel> channels;
  for (unsigned seed = 41; seed < 45; ++seed) channels.push_back(MakeChannel(24, 16, 255, seed));
  const std::string ir1 = Write("ir1.png", channels[0]), vis1 = Write("vis1.png", channels[1]);
  const std::string ir2 = Write("ir2.pgm", channels[2]), vis2 = Write("vis2.bmp", channels[3]);
  const std::string list = Path("scenes.txt");
  {
    QFile f(QString::fromStdString(list));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(ir1 + "\t" + vis1 + "\t" + Path("one.png") + "\n" +               //
                                      Path("none.png") + "\t" + vis1 + "\t" + Path("bad.png") + "\n" +  //
                                      "\n" +                                                            //
                                      ir2 + "\t" + vis2 + "\r\n" +                                      //
                                      ir2 + "\t" + vis2 + "\t" + Path("two.tif") + "\n"));
  }
  const ProcessResult r = Cli({"colourise", "--pairs", list, "--factory"});
  EXPECT_EQ(r.exitStatus, 1) << r.err;
  EXPECT_NE(r.err.find("line 2: cannot read the infrared image " + Path("none.png")), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line 4: expected IR, VIS and OUT separated by tabs, found 2 fields"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("2 of 4 scenes could not be coloured"), std::string::npos) << r.err;
  EXPECT_FALSE(Exists("bad.png"));
  EXPECT_TRUE(
      ColouredAsTheRuleSays(DecodeWithPil(Path("one.png")), channels[0], channels[1], {40, -60}, FirstRunPalette()));
  EXPECT_TRUE(
      ColouredAsTheRuleSays(DecodeWithPil(Path("two.tif")), channels[2], channels[3], {40, -60}, FirstRunPalette()));

  // From standard input, the same bytes as a run of its own.
  const ProcessResult piped =
      RunProcess("/bin/sh",
                 {"-c", "printf '%s\\t%s\\t%s\\n' \"$1\" \"$2\" \"$3\" | \"$0\" colourise --pairs - --factory",
                  PALETTOR_CLI, ir1, vis1, Path("piped.png")},
                 {.env = {"XDG_CONFIG_HOME=" + config_.path().toStdString()}});
  EXPECT_EQ(piped.exitStatus, 0) << piped.err;
  QFile a(QString::fromStdString(Path("piped.png"))), b(QString::fromStdString(Path("one.png")));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_TRUE(a.readAll() == b.readAll());

  const ProcessResult mixed = Cli({"colourise", "--pairs", list, "--out", Path("x.png")});
  EXPECT_EQ(mixed.exitStatus, 2);
  EXPECT_NE(mixed.err.find("cannot go with"), std::string::npos) << mixed.err;
}

TEST_F(Colourise, DemoSceneRefusesWhatItCannotWrite) {
  const ErrorCase cases[] = {
      {"one name", {"--ir-out", "@ir.png"}, 2, "both --ir-out FILE and --vis-out FILE"},
      {"not PNG", {"--ir-out", "@ir.bmp", "--vis-out", "@vis.png"}, 2, "written as PNG"},
      {"same file", {"--ir-out", "@a.png", "--vis-out", "@./a.png"}, 2, "the same file"},
      {"both to standard output", {"--ir-out", "-", "--vis-out", "-"}, 2, "only one"},
      {"unknown option", {"--ir-out", "@ir.png", "--vis-out", "@vis.png", "--size", "9"}, 2, "unknown argument"},
      {"no such folder", {"--ir-out", "@ir.png", "--vis-out", "@none/vis.png"}, 1, "cannot write"},
      {"no such folder after standard output", {"--ir-out", "-", "--vis-out", "@none/vis.png"}, 1, "cannot write"},
  };
  for (const ErrorCase& c : cases) {
    std::vector<std::string> args = {"demo-scene"};
    for (const std::string& a : c.args) args.push_back(a.starts_with("@") ? Path(a.substr(1)) : a);
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitStatus, c.status) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
    // The pair is written whole or not at all.
    EXPECT_TRUE(QDir(dir_.path()).isEmpty()) << c.name;
    EXPECT_TRUE(r.out.empty()) << c.name;
  }
}

}  // namespace
}  // namespace palettor
