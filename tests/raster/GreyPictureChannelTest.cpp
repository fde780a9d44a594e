// Satellite channels read from the grey pictures users have, as the preview reads them whole,
// and refused when they are not grey or cannot be read.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gdal_priv.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RasterError.h"
#include "RasterFixture.h"
#include "WholeGreyChannel.h"

namespace palettor {
namespace {

constexpr int kWidth = 7;
constexpr int kHeight = 5;

int Level8(int x, int y) { return (x * 37 + y * 11 + 3) % 256; }
int Level16(int x, int y) { return (x * 9001 + y * 257 + 1) % 65536; }

class GreyPictureChannel : public testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

  QString save(const QImage& image, const char* name) const {
    const QString p = path(name);
    EXPECT_TRUE(image.save(p)) << name;
    return p;
  }

  QString write(const QByteArray& bytes, const char* name) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  QTemporaryDir dir_;
};

QImage Grey8Image(QImage::Format format) {
  QImage image(kWidth, kHeight, QImage::Format_Grayscale8);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) image.scanLine(y)[x] = static_cast<uchar>(Level8(x, y));
  }
  return image.convertToFormat(format);
}

QImage Grey16Image(QImage::Format format) {
  QImage image(kWidth, kHeight, QImage::Format_Grayscale16);
  for (int y = 0; y < kHeight; ++y) {
    auto* line = reinterpret_cast<quint16*>(image.scanLine(y));
    for (int x = 0; x < kWidth; ++x) line[x] = static_cast<quint16>(Level16(x, y));
  }
  return image.convertToFormat(format);
}

// What reading a file gave: the levels, or the failure.
struct GreyImageLoad {
  GreyImage image;
  std::optional<RasterError::Kind> problem;
  QString error;
  bool ok() const { return !problem; }
};

GreyImageLoad LoadGreyImage(const QString& path, std::int64_t limit = kWholeChannelPixelLimit) {
  try {
    return {ReadWholeGreyChannel({path.toStdString(), 0, {}}, limit), {}, {}};
  } catch (const RasterError& error) {
    return {{}, error.GetKind(), QString::fromStdString(error.what())};
  }
}

::testing::AssertionResult HasLevels(const GreyImageLoad& load, GreyDepth depth,
                                     const std::function<int(int, int)>& level) {
  if (!load.ok()) return ::testing::AssertionFailure() << "refused: " << load.error.toStdString();
  if (load.image.Depth() != depth) return ::testing::AssertionFailure() << "wrong depth";
  if (load.image.Width() != kWidth || load.image.Height() != kHeight) return ::testing::AssertionFailure() << "size";
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (load.image.Level(x, y) != level(x, y)) {
        return ::testing::AssertionFailure()
               << "(" << x << ", " << y << ") is " << load.image.Level(x, y) << " instead of " << level(x, y);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(GreyPictureChannel, EightBitFilesGiveEightBitLevels) {
  EXPECT_TRUE(
      HasLevels(LoadGreyImage(save(Grey8Image(QImage::Format_Grayscale8), "grey.png")), GreyDepth::Eight, Level8));
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(Grey8Image(QImage::Format_RGB888), "rgb.png")), GreyDepth::Eight, Level8));
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(Grey8Image(QImage::Format_RGB888), "rgb.bmp")), GreyDepth::Eight, Level8));
  EXPECT_TRUE(
      HasLevels(LoadGreyImage(save(Grey8Image(QImage::Format_Grayscale8), "grey.pgm")), GreyDepth::Eight, Level8));
  QImage alpha = Grey8Image(QImage::Format_ARGB32);
  alpha.setPixel(1, 1, qRgba(Level8(1, 1), Level8(1, 1), Level8(1, 1), 10));  // alpha is not a level
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(alpha, "alpha.png")), GreyDepth::Eight, Level8));
}

TEST_F(GreyPictureChannel, APaletteImageGivesTheLevelsItsColoursStandFor) {
  // Palette entries in reverse order: the level is the colour, not the index.
  QImage indexed(kWidth, kHeight, QImage::Format_Indexed8);
  QList<QRgb> palette;
  for (int i = 255; i >= 0; --i) palette.append(qRgb(i, i, i));
  indexed.setColorTable(palette);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) indexed.scanLine(y)[x] = static_cast<uchar>(255 - Level8(x, y));
  }
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(indexed, "indexed.bmp")), GreyDepth::Eight, Level8));
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(indexed, "indexed.png")), GreyDepth::Eight, Level8));

  QImage mono(kWidth, kHeight, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) mono.setPixel(x, y, static_cast<uint>((x + y) % 2));
  }
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(mono, "mono.bmp")), GreyDepth::Eight,
                        [](int x, int y) { return (x + y) % 2 ? 255 : 0; }));
}

TEST_F(GreyPictureChannel, SixteenBitFilesGiveSixteenBitLevels) {
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(Grey16Image(QImage::Format_Grayscale16), "grey16.png")), GreyDepth::Sixteen,
                        Level16));
  EXPECT_TRUE(
      HasLevels(LoadGreyImage(save(Grey16Image(QImage::Format_RGBX64), "rgb48.png")), GreyDepth::Sixteen, Level16));
  EXPECT_TRUE(
      HasLevels(LoadGreyImage(save(Grey16Image(QImage::Format_RGBA64), "rgba64.png")), GreyDepth::Sixteen, Level16));
  // A 16-bit PGM as other programs write it: big-endian samples after the header.
  QByteArray pgm = QByteArrayLiteral("P5\n7 5\n65535\n");
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      pgm.append(static_cast<char>(Level16(x, y) >> 8)).append(static_cast<char>(Level16(x, y) & 0xFF));
    }
  }
  EXPECT_TRUE(HasLevels(LoadGreyImage(write(pgm, "grey16.pgm")), GreyDepth::Sixteen, Level16));

  // Plain (text) samples, a comment, and a maximum below 65535 that the levels are scaled from.
  QByteArray plain = QByteArrayLiteral("P2\n# ten bits\n7 5 1023\n");
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) plain.append(QByteArray::number(Level16(x, y) % 1024)).append(' ');
  }
  EXPECT_TRUE(HasLevels(LoadGreyImage(write(plain, "grey10.pgm")), GreyDepth::Sixteen,
                        [](int x, int y) { return (Level16(x, y) % 1024 * 65535 + 511) / 1023; }));
}

TEST_F(GreyPictureChannel, TiffFilesOfBothDepths) {
  if (!QImageWriter::supportedImageFormats().contains("tiff")) GTEST_SKIP() << "Qt's TIFF plugin is not installed";
  EXPECT_TRUE(
      HasLevels(LoadGreyImage(save(Grey8Image(QImage::Format_Grayscale8), "grey.tif")), GreyDepth::Eight, Level8));
  EXPECT_TRUE(HasLevels(LoadGreyImage(save(Grey16Image(QImage::Format_Grayscale16), "grey16.tif")), GreyDepth::Sixteen,
                        Level16));
}

struct Refusal {
  const char* file;
  QImage image;
  const char* where;
};

TEST_F(GreyPictureChannel, AColourPixelIsRefusedWithItsPosition) {
  QImage rgb = Grey8Image(QImage::Format_RGB888);
  rgb.setPixel(3, 2, qRgb(10, 11, 10));
  QImage rgb48 = Grey16Image(QImage::Format_RGBX64);
  rgb48.setPixelColor(6, 4, QColor::fromRgba64(1000, 1000, 1001));
  QImage indexed = Grey8Image(QImage::Format_Grayscale8).convertToFormat(QImage::Format_Indexed8);
  QList<QRgb> palette = indexed.colorTable();
  palette[indexed.scanLine(1)[0]] = qRgb(200, 0, 0);
  indexed.setColorTable(palette);
  for (const Refusal& r : {Refusal{"rgb.png", rgb, "(3, 2)"}, Refusal{"rgb48.png", rgb48, "(6, 4)"},
                           Refusal{"indexed.bmp", indexed, "(0, 1)"}}) {
    const GreyImageLoad load = LoadGreyImage(save(r.image, r.file));
    EXPECT_EQ(load.problem, RasterError::Kind::Refused) << r.file;
    EXPECT_TRUE(load.error.contains(QLatin1String(r.file)) && load.error.contains(QLatin1String(r.where)))
        << load.error.toStdString();
  }
}

TEST_F(GreyPictureChannel, UnreadableFilesAreReportedWithTheReason) {
  const GreyImageLoad missing = LoadGreyImage(path("missing.png"));
  EXPECT_EQ(missing.problem, RasterError::Kind::Failed);
  EXPECT_EQ(missing.error, path("missing.png") + QStringLiteral(": No such file or directory"));

  const GreyImageLoad folder = LoadGreyImage(dir_.path());
  EXPECT_EQ(folder.problem, RasterError::Kind::Failed);
  EXPECT_TRUE(folder.error.startsWith(dir_.path() + QStringLiteral(": "))) << folder.error.toStdString();

  QByteArray png;
  {
    QFile f(save(Grey8Image(QImage::Format_Grayscale8), "whole.png"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    png = f.readAll();
  }
  for (const auto& [name, bytes] :
       {std::pair{"text.png", QByteArray("not an image at all")}, std::pair{"empty.png", QByteArray()},
        std::pair{"truncated.png", png.left(png.size() / 2)},
        std::pair{"truncated.pgm", QByteArray("P5 7 5 65535\n\1\2\3")},
        std::pair{"over.pgm", QByteArray("P2 2 1 1000 999 1001")}}) {
    const GreyImageLoad load = LoadGreyImage(write(bytes, name));
    EXPECT_EQ(load.problem, RasterError::Kind::Failed) << name;
    EXPECT_TRUE(load.error.startsWith(path(name) + QStringLiteral(": "))) << load.error.toStdString();
    EXPECT_GT(load.error.size(), path(name).size() + 2) << name << ": no reason given";
  }
}

TEST_F(GreyPictureChannel, AFileWithoutReadPermissionIsReported) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const QString p = save(Grey8Image(QImage::Format_Grayscale8), "locked.png");
  QFile::setPermissions(p, QFileDevice::WriteOwner);
  const GreyImageLoad load = LoadGreyImage(p);
  EXPECT_EQ(load.problem, RasterError::Kind::Failed);
  EXPECT_EQ(load.error, p + QStringLiteral(": Permission denied"));
}

// The levels of Netpbm samples, written out as the program always read them: grey files of a
// maximum M up to 255 give s × 255 / M rounded down, above it (s × 65535 + M / 2) / M;
// colour files go through 16 bits, s × 65535 / M rounded down, and back to 8 with rounding.
struct NetpbmCase {
  const char* magic;
  int maxSample;
};

int NetpbmLevel(bool colour, int s, int m) {
  if (colour) return static_cast<int>((std::int64_t{s} * 65535 / m * 255 + 32767) / 65535);
  return m <= 255 ? s * 255 / m : static_cast<int>((std::int64_t{s} * 65535 + m / 2) / m);
}

TEST_F(GreyPictureChannel, NetpbmSamplesBecomeLevelsAsTheyAlwaysDid) {
  const NetpbmCase cases[] = {{"P5", 1},     {"P5", 7}, {"P5", 100}, {"P5", 256},   {"P5", 1023}, {"P2", 100},
                              {"P2", 40000}, {"P6", 7}, {"P6", 254}, {"P6", 40000}, {"P3", 100},  {"P3", 1023}};
  for (const NetpbmCase& c : cases) {
    const std::string magic = c.magic;
    const bool colour = magic == "P6" || magic == "P3", plain = magic == "P2" || magic == "P3";
    const int count = std::min(c.maxSample + 1, 600);
    std::vector<int> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) samples[static_cast<std::size_t>(i)] = i * c.maxSample / (count - 1);
    QByteArray bytes = QByteArray::fromStdString(magic + "\n# a comment\n" + std::to_string(count) + " 1\n" +
                                                 std::to_string(c.maxSample) + "\n");
    for (int sample : samples) {
      for (int channel = 0; channel < (colour ? 3 : 1); ++channel) {
        if (plain) {
          bytes += QByteArray::number(sample) + ' ';
        } else if (c.maxSample > 255) {
          bytes.append(static_cast<char>(sample >> 8)).append(static_cast<char>(sample & 0xFF));
        } else {
          bytes.append(static_cast<char>(sample));
        }
      }
    }
    const GreyImageLoad load = LoadGreyImage(write(bytes, colour ? "samples.ppm" : "samples.pgm"));
    const std::string name = magic + " of maximum " + std::to_string(c.maxSample);
    ASSERT_TRUE(load.ok()) << name << ": " << load.error.toStdString();
    EXPECT_EQ(load.image.Depth(), !colour && c.maxSample > 255 ? GreyDepth::Sixteen : GreyDepth::Eight) << name;
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(load.image.Level(i, 0), NetpbmLevel(colour, samples[static_cast<std::size_t>(i)], c.maxSample))
          << name << ", sample " << samples[static_cast<std::size_t>(i)];
    }
  }
}

TEST_F(GreyPictureChannel, GreyOfFewerBitsSpreadsOverTheWholeRange) {
  for (int bits : {1, 2, 4}) {
    const int top = (1 << bits) - 1;
    test::RasterFile file{kWidth, kHeight, GDT_Byte, {{}}, {}, 0, {"NBITS=" + std::to_string(bits)}};
    for (int i = 0; i < kWidth * kHeight; ++i) file.bands[0].values.push_back(i % (top + 1));
    const std::string name = "bits" + std::to_string(bits) + ".png";
    test::WriteRaster(path(name.c_str()).toStdString(), "PNG", file);
    EXPECT_TRUE(HasLevels(LoadGreyImage(path(name.c_str())), GreyDepth::Eight,
                          [&](int x, int y) { return (y * kWidth + x) % (top + 1) * (255 / top); }))
        << bits << " bits";
  }
}

// An indexed PNG as a careless writer makes it: `indices` (kWidth × kHeight) into a palette of
// `greys`, whatever they hold. libpng, behind every other writer, refuses to write one.
QByteArray IndexedPng(const std::vector<int>& greys, const std::vector<int>& indices) {
  const auto bigEndian = [](std::uint32_t v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
    return QByteArray(b, 4);
  };
  const auto chunk = [&](const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type, 4) + data;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : body) {
      crc ^= static_cast<std::uint8_t>(byte);
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return bigEndian(static_cast<std::uint32_t>(data.size())) + body + bigEndian(~crc);
  };
  QByteArray header = bigEndian(kWidth) + bigEndian(kHeight);
  header.append("\x08\x03\x00\x00\x00", 5);  // 8 bits, indexed, no interlace
  QByteArray palette, rows;
  for (int grey : greys) palette.append(3, static_cast<char>(grey));
  for (int y = 0; y < kHeight; ++y) {
    rows.append('\0');  // no filter
    for (int x = 0; x < kWidth; ++x) rows.append(static_cast<char>(indices[static_cast<std::size_t>(y * kWidth + x)]));
  }
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("PLTE", palette) +
         chunk("IDAT", qCompress(rows).mid(4)) + chunk("IEND", {});
}

TEST_F(GreyPictureChannel, APixelBeyondItsPaletteIsRefusedNotReadAsLevelZero) {
  std::vector<int> indices;
  for (int i = 0; i < kWidth * kHeight; ++i) indices.push_back(i % 4);
  const std::vector<int> greys = {0, 85, 170, 255};
  ASSERT_TRUE(HasLevels(LoadGreyImage(write(IndexedPng(greys, indices), "within.png")), GreyDepth::Eight,
                        [](int x, int y) { return (y * kWidth + x) % 4 * 85; }));
  indices[kWidth * 2 + 3] = 9;  // pixel (3, 2)
  test::RasterFile bmp{kWidth, kHeight, GDT_Byte, {{}}, {}, 0, {}};
  for (int i : indices) bmp.bands[0].values.push_back(i);
  for (int grey : greys) {
    const auto g = static_cast<short>(grey);
    bmp.bands[0].palette.push_back({g, g, g});
  }
  test::WriteRaster(path("beyond.bmp").toStdString(), "BMP", bmp);
  for (const QString& file : {write(IndexedPng(greys, indices), "beyond.png"), path("beyond.bmp")}) {
    const GreyImageLoad load = LoadGreyImage(file);
    EXPECT_EQ(load.problem, RasterError::Kind::Failed) << file.toStdString();
    EXPECT_TRUE(load.error.startsWith(file + QStringLiteral(": ")) && load.error.contains("(3, 2)"))
        << load.error.toStdString();
  }
}

TEST_F(GreyPictureChannel, HeadersThatClaimMoreThanTheFileHoldsCostNothing) {
  struct Case {
    const char* name;
    QByteArray bytes;
    RasterError::Kind kind;
    const char* says;
  };
  const Case cases[] = {
      {"huge.pgm", "P5 1048576 1048576 65535\n", RasterError::Kind::Failed, "ends before its last pixel"},
      {"huge-plain.pgm", "P2 1048576 1048576 65535\n", RasterError::Kind::Refused, "1048576 \u00d7 1048576"},
      {"short-plain.pgm", "P2 64 64 255\n1 2 3\n", RasterError::Kind::Failed, "ends before its last pixel"},
      {"over.pgm", QByteArray("P5 3 1 100\n") + QByteArray("\x00\xc8\x32", 3), RasterError::Kind::Failed,
       "pixel (1, 0) exceeds the maximum 100"},
      {"over-plain.pgm", "P2 3 1 100\n0 200 50\n", RasterError::Kind::Failed, "pixel (1, 0) exceeds the maximum 100"},
      {"no-maximum.pgm", QByteArray("P5 3 1 0\n") + QByteArray(3, '\0'), RasterError::Kind::Failed, "maximum"},
  };
  for (const Case& c : cases) {
    const GreyImageLoad load = LoadGreyImage(write(c.bytes, c.name));
    EXPECT_EQ(load.problem, c.kind) << c.name << ": " << load.error.toStdString();
    EXPECT_TRUE(load.error.contains(QString::fromUtf8(c.says))) << c.name << ": " << load.error.toStdString();
  }
  // A picture within its file's size but beyond the limit of a whole read says both sizes.
  const GreyImageLoad large = LoadGreyImage(save(Grey8Image(QImage::Format_Grayscale8), "large.png"), 34);
  EXPECT_EQ(large.problem, RasterError::Kind::Refused);
  EXPECT_TRUE(large.error.contains(QString::fromUtf8("7 \u00d7 5 pixels, more than the 34")))
      << large.error.toStdString();
}

// In a child process: reads `file` whole with half a gigabyte more address space than the
// process has, and exits 0 when that fails with `expected`.
[[noreturn]] void ReadWithLittleAddressSpace(const QString& file, const std::string& expected) {
  long pages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm || std::fscanf(statm, "%ld", &pages) != 1) std::_Exit(3);
  const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{1} << 29);
  const rlimit address{limit, limit};
  if (setrlimit(RLIMIT_AS, &address) != 0) std::_Exit(4);
  try {
    ReadWholeGreyChannel({file.toStdString(), 0, {}}, std::int64_t{1} << 40);
  } catch (const RasterError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    std::_Exit(error.GetKind() == RasterError::Kind::OutOfMemory && error.what() == expected ? 0 : 1);
  }
  std::_Exit(2);
}

TEST_F(GreyPictureChannel, AChannelTooLargeForMemorySaysSoWithItsSize) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit leaves";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit leaves";
#endif
#endif
  // 40000 × 40000 8-bit levels, 1.6 GB that take no disk: the file holds what it declares.
  const QString file = path("sparse.pgm");
  const QByteArray header = "P5 40000 40000 255\n";
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(header) == header.size());
    ASSERT_TRUE(f.resize(header.size() + qint64{40000} * 40000));
  }
  const std::string expected = "not enough memory to read " + file.toStdString() + " (40000 \u00d7 40000)";
  EXPECT_EXIT(ReadWithLittleAddressSpace(file, expected), testing::ExitedWithCode(0), "");
}

TEST_F(GreyPictureChannel, SpecialFilesAreRefusedWithoutBeingRead) {
  const QString fifo = path("channel.fifo");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const GreyImageLoad fromFifo = LoadGreyImage(fifo);
  EXPECT_EQ(fromFifo.error, fifo + QStringLiteral(": is a FIFO, not a file"));
  const GreyImageLoad fromDevice = LoadGreyImage(QStringLiteral("/dev/zero"));
  EXPECT_EQ(fromDevice.error, QStringLiteral("/dev/zero: is a device, not a file"));
}

TEST_F(GreyPictureChannel, AChannelOfValuesIsNotReadAsLevels) {
  test::RasterFile file{kWidth, kHeight, GDT_Float32, {{}}, {}, 0, {}};
  file.bands[0].values.assign(kWidth * kHeight, 250.5);
  file.bands[0].unit = "K";
  test::WriteRaster(path("kelvin.tif").toStdString(), "GTiff", file);
  const GreyImageLoad load = LoadGreyImage(path("kelvin.tif"));
  EXPECT_EQ(load.problem, RasterError::Kind::Refused);
  EXPECT_TRUE(load.error.contains("holds values in a unit")) << load.error.toStdString();
}

}  // namespace
}  // namespace palettor
