#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include <sys/stat.h>

#include <filesystem>

#include "CaseName.h"
#include "ChildProcess.h"
#include "Palette.h"
#include "ReferenceTable.h"
#include "RunProcess.h"

namespace palettor {
namespace {

using test::ProcessResult;
using test::RunProcess;

// The bitmap file the viewer expects for `inputs`, laid out here from the reference table: a
// 54-byte header, then rows bottom-up, blue, green, red.
QByteArray Expected(const TableInputs& inputs) {
  auto pixels = std::make_unique<LutPixels>();
  test::ReferenceTable(inputs, *pixels);
  QByteArray file(54, '\0');
  const auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, 76854);
  put32(10, 54);
  put32(14, 40);
  put32(18, 100);
  put32(22, 256);
  file[26] = 1;
  file[28] = 24;
  put32(34, 76800);
  put32(38, 3780);  // 96 dpi
  put32(42, 3780);
  for (int storedRow = 0; storedRow < 256; ++storedRow) {
    for (int x = 0; x < 100; ++x) {
      const PackedColour p = (*pixels)[static_cast<std::size_t>((255 - storedRow) * 100 + x)];
      file.append(static_cast<char>(BlueOf(p)))
          .append(static_cast<char>(GreenOf(p)))
          .append(static_cast<char>(RedOf(p)));
    }
  }
  return file;
}

class RenderCommand : public testing::Test {
 protected:
  ProcessResult Render(std::vector<std::string> args) {
    args.insert(args.begin(), "render");
    // An empty private settings folder, so that no stored settings of the user leak in.
    return RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + config.path().toStdString()}});
  }
  std::string Out(const char* name) const { return dir.filePath(name).toStdString(); }
  QByteArray Read(const char* name) const {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static std::uint32_t PixelBGR(const QByteArray& bmp, int x, int y) {
    const int at = 54 + (255 - y) * 300 + x * 3;
    return PackRGB(static_cast<std::uint8_t>(bmp[at + 2]), static_cast<std::uint8_t>(bmp[at + 1]),
                   static_cast<std::uint8_t>(bmp[at]));
  }
  QTemporaryDir dir, config;
};

TEST_F(RenderCommand, DefaultsToTheFactoryTable) {
  const ProcessResult r = Render({"--out", Out("t.bmp")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const QByteArray bmp = Read("t.bmp");
  ASSERT_EQ(bmp.size(), 76854);
  EXPECT_EQ(PixelBGR(bmp, 62, 225), 0x5E321Cu);
  EXPECT_EQ(PixelBGR(bmp, 85, 127), 0x567480u);
  EXPECT_EQ(bmp, Expected(FactoryTableInputs()));
}

TEST_F(RenderCommand, FactoryFlagAndOptions) {
  const ProcessResult r =
      Render({"--factory", "--white-top", "off", "--smooth=on", "--tail-percent", "12", "--out=" + Out("t.bmp")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const QByteArray bmp = Read("t.bmp");
  EXPECT_EQ(PixelBGR(bmp, 0, 0), 0xFCEDFFu);
  EXPECT_EQ(PixelBGR(bmp, 85, 55), 0x9CBCC8u);
  EXPECT_EQ(bmp, Expected(FactoryTableInputs(12, false, true)));
}

TEST_F(RenderCommand, NightFloorLiftsTheDarkRowsOfTheColdColumns) {
  for (const int floor : {0, 10, 30, 50}) {
    const ProcessResult r = Render({"--factory", "--night-floor", std::to_string(floor), "--out", Out("t.bmp")});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    TableInputs inputs = FactoryTableInputs();
    inputs.nightFloorPercent = floor;
    EXPECT_EQ(Read("t.bmp"), Expected(inputs)) << floor;
  }
  // 30 % of 255.9, truncated, in the grey columns of the white 0 degree anchor; the tail as it was.
  ASSERT_EQ(Render({"--factory", "--night-floor=30", "--out", Out("t.bmp")}).exitStatus, 0);
  EXPECT_EQ(PixelBGR(Read("t.bmp"), 60, 255), 0x4C4C4Cu);
  EXPECT_EQ(PixelBGR(Read("t.bmp"), 62, 255), 0x5E321Cu);
}

TEST_F(RenderCommand, AnchorsOverrideTheirSlotAndTheLastOneWins) {
  const ProcessResult r = Render({"--anchor", "O0=0,50", "--anchor", "M70=120,100", "--anchor", "O0=240,100",
                                  "--tail-percent", "40", "--smooth", "off", "--out", Out("t.bmp")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  AnchorValues values = FactoryPalette();
  values[AnchorSlot(0)] = {240, 100};
  values[AnchorSlot(-7)] = {120, 100};
  EXPECT_EQ(Read("t.bmp"), Expected(MakeTableInputs(DeriveAnchorColours(values), values[0], 40, true, false)));
  // The 0 degree column's top row is white (White top), its middle row pure blue.
  const QByteArray bmp = Read("t.bmp");
  EXPECT_EQ(PixelBGR(bmp, 60, 127) & 0x0000FFFFu, 0u);
}

TEST_F(RenderCommand, WritesToStandardOutput) {
  const ProcessResult r = Render({"--out", "-", "--tail-percent", "0"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(QByteArray::fromStdString(r.out), Expected(FactoryTableInputs(0)));
  EXPECT_TRUE(r.err.empty());
}

TEST_F(RenderCommand, ReplacesAnExistingFile) {
  QFile old(dir.filePath("t.bmp"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  ASSERT_EQ(Render({"--out", Out("t.bmp")}).exitStatus, 0);
  EXPECT_EQ(Read("t.bmp").size(), 76854);
}

TEST_F(RenderCommand, WritesIntoAFifoAndLeavesItAFifo) {
  const std::string fifo = Out("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string copy = Out("copy.bmp");
  const pid_t reader = test::Spawn([&] {
    QFile in(QString::fromStdString(fifo)), out(QString::fromStdString(copy));
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) && out.write(in.readAll()) >= 0 ? 0 : 1;
  });
  const ProcessResult r = Render({"--out", fifo});
  EXPECT_EQ(test::Wait(reader), 0);
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  struct stat info {};
  ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(Read("copy.bmp"), Expected(FactoryTableInputs()));
}

TEST_F(RenderCommand, ADeviceIsWrittenIntoAndItsErrorReported) {
  EXPECT_EQ(Render({"--out", "/dev/null"}).exitStatus, 0);
  const ProcessResult full = Render({"--out", "/dev/full"});
  EXPECT_EQ(full.exitStatus, 1);
  EXPECT_EQ(full.err, "palettor-cli: cannot write /dev/full: No space left on device\n");
  struct stat info {};
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

// A shared install: the viewer's folder is not the user's, the table file is.
TEST_F(RenderCommand, ReplacesAWritableFileInAReadOnlyFolder) {
  const std::filesystem::path viewer = Out("viewer");
  std::filesystem::create_directory(viewer);
  const std::string target = viewer / "TempToColourUser.bmp";
  QFile old(QString::fromStdString(target));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  test::HandOverToUnprivileged(viewer);
  ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0711), 0);
  ASSERT_EQ(::chmod(viewer.c_str(), 0555), 0);
  const ProcessResult r =
      RunProcess(PALETTOR_CLI, {"render", "--factory", "--out", target}, {.env = {}, .unprivileged = true});
  ::chmod(viewer.c_str(), 0755);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(Read("viewer/TempToColourUser.bmp"), Expected(FactoryTableInputs()));
}

TEST_F(RenderCommand, UnwritableTargetExitsWithOneAndTheReason) {
  const ProcessResult r = Render({"--out", Out("missing/folder/t.bmp")});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_NE(r.err.find("missing/folder/t.bmp"), std::string::npos) << r.err;
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
}

TEST_F(RenderCommand, HelpDescribesTheCommand) {
  const ProcessResult r = Render({"--help"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_NE(r.out.find("--anchor SUFFIX=HUE,SAT"), std::string::npos);
  EXPECT_NE(r.out.find("--tail-percent"), std::string::npos);
}

struct BadArguments {
  std::vector<std::string> args;
  std::string named;  // what the message must mention
};
void PrintTo(const BadArguments& c, std::ostream* os) {
  for (const std::string& arg : c.args) *os << arg << " ";
}

class RenderRejects : public RenderCommand, public testing::WithParamInterface<BadArguments> {};

TEST_P(RenderRejects, WithStatusTwoAMessageAndNoFile) {
  std::vector<std::string> args = GetParam().args;
  args.push_back("--out");
  args.push_back(Out("t.bmp"));
  const ProcessResult r = Render(args);
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find(GetParam().named), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line: " << r.err;
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("t.bmp")));
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Invalid, RenderRejects,
    testing::Values(BadArguments{{"--anchor", "M60=361,10"}, "M60=361,10"},
                    BadArguments{{"--anchor", "M60=-1,10"}, "M60=-1,10"},
                    BadArguments{{"--anchor", "M60=10,101"}, "M60=10,101"},
                    BadArguments{{"--anchor", "M60=10.5,10"}, "M60=10.5,10"},
                    BadArguments{{"--anchor", "M60=ten,10"}, "M60=ten,10"},
                    BadArguments{{"--anchor", "M60=10"}, "M60=10"}, BadArguments{{"--anchor", "M60=10,"}, "M60=10,"},
                    BadArguments{{"--anchor", "m60=10,10"}, "m60"},  // suffixes are case-sensitive
                    BadArguments{{"--anchor", "M80=10,10"}, "M80"},
                    BadArguments{{"--anchor", "M60=99999999999,1"}, "M60=99999999999,1"},
                    BadArguments{{"--anchor"}, "--anchor"}, BadArguments{{"--tail-percent", "101"}, "101"},
                    BadArguments{{"--tail-percent", "-1"}, "-1"},
                    BadArguments{{"--tail-percent", ""}, "--tail-percent"},
                    BadArguments{{"--tail-percent", "1e2"}, "1e2"}, BadArguments{{"--night-floor", "51"}, "51"},
                    BadArguments{{"--night-floor", "-1"}, "-1"}, BadArguments{{"--night-floor", "12.5"}, "12.5"},
                    BadArguments{{"--night-floor"}, "--night-floor"}, BadArguments{{"--white-top", "yes"}, "yes"},
                    BadArguments{{"--smooth", "ON"}, "ON"}, BadArguments{{"--factory=1"}, "--factory"},
                    BadArguments{{"--colour"}, "--colour"}, BadArguments{{"stray"}, "stray"}),
    test::CaseName<BadArguments>);

TEST_F(RenderCommand, MissingOutIsAnError) {
  const ProcessResult r = Render({"--factory"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("--out"), std::string::npos);
  EXPECT_TRUE(r.out.empty());
}

TEST(PalettorCli, UnknownCommandIsAUsageError) {
  const ProcessResult r = RunProcess(PALETTOR_CLI, {"paint"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("paint"), std::string::npos);
}

}  // namespace
}  // namespace palettor
