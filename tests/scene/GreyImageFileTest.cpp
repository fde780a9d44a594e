// Satellite channels read from the image files users have, and refused when they are not grey
// or cannot be read.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstring>
#include <functional>

#include "GreyImageFile.h"
#include "SceneImage.h"

namespace palettor {
namespace {

constexpr int kWidth = 7;
constexpr int kHeight = 5;

int Level8(int x, int y) { return (x * 37 + y * 11 + 3) % 256; }
int Level16(int x, int y) { return (x * 9001 + y * 257 + 1) % 65536; }

class GreyImageFileTest : public testing::Test {
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

::testing::AssertionResult HasLevels(const GreyImageLoad& load, GreyDepth depth,
                                     const std::function<int(int, int)>& level) {
  if (!load.Ok()) return ::testing::AssertionFailure() << "refused: " << load.error.toStdString();
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

TEST_F(GreyImageFileTest, EightBitFilesGiveEightBitLevels) {
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

TEST_F(GreyImageFileTest, APaletteImageGivesTheLevelsItsColoursStandFor) {
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

TEST_F(GreyImageFileTest, SixteenBitFilesGiveSixteenBitLevels) {
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

TEST_F(GreyImageFileTest, TiffFilesOfBothDepths) {
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

TEST_F(GreyImageFileTest, AColourPixelIsRefusedWithItsPosition) {
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
    EXPECT_EQ(load.problem, GreyLoadProblem::NotGrey) << r.file;
    EXPECT_TRUE(load.error.contains(QLatin1String(r.file)) && load.error.contains(QLatin1String(r.where)))
        << load.error.toStdString();
  }
}

TEST_F(GreyImageFileTest, UnreadableFilesAreReportedWithTheReason) {
  const GreyImageLoad missing = LoadGreyImage(path("missing.png"));
  EXPECT_EQ(missing.problem, GreyLoadProblem::Unreadable);
  EXPECT_EQ(missing.error, path("missing.png") + QStringLiteral(": No such file or directory"));

  const GreyImageLoad folder = LoadGreyImage(dir_.path());
  EXPECT_EQ(folder.problem, GreyLoadProblem::Unreadable);
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
    EXPECT_EQ(load.problem, GreyLoadProblem::Unreadable) << name;
    EXPECT_TRUE(load.error.startsWith(path(name) + QStringLiteral(": "))) << load.error.toStdString();
    EXPECT_GT(load.error.size(), path(name).size() + 2) << name << ": no reason given";
  }
}

TEST_F(GreyImageFileTest, AFileWithoutReadPermissionIsReported) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const QString p = save(Grey8Image(QImage::Format_Grayscale8), "locked.png");
  QFile::setPermissions(p, QFileDevice::WriteOwner);
  const GreyImageLoad load = LoadGreyImage(p);
  EXPECT_EQ(load.problem, GreyLoadProblem::Unreadable);
  EXPECT_EQ(load.error, p + QStringLiteral(": Permission denied"));
}

TEST(SceneImage, ChannelsBecomeGreyImagesLevelForLevel) {
  GreyImage eight(kWidth, kHeight, GreyDepth::Eight), sixteen(kWidth, kHeight, GreyDepth::Sixteen);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      eight.SetLevel(x, y, Level8(x, y));
      sixteen.SetLevel(x, y, Level16(x, y));
    }
  }
  const QImage e = GreyToImage(eight), s = GreyToImage(sixteen);
  ASSERT_EQ(e.format(), QImage::Format_Grayscale8);
  ASSERT_EQ(s.format(), QImage::Format_Grayscale16);
  EXPECT_TRUE(HasLevels(GreyImageFromQImage(e, QStringLiteral("8")), GreyDepth::Eight, Level8));
  EXPECT_TRUE(HasLevels(GreyImageFromQImage(s, QStringLiteral("16")), GreyDepth::Sixteen, Level16));
  EXPECT_EQ(qGray(e.pixel(3, 4)), Level8(3, 4));
}

TEST(SceneImage, TheColouredImageHoldsWhatTheColouriserWrites) {
  GreyImage ir(kWidth, kHeight, GreyDepth::Eight), vis(kWidth, kHeight, GreyDepth::Eight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      ir.SetLevel(x, y, Level8(x, y));
      vis.SetLevel(x, y, Level8(y, x));
    }
  }
  const SceneColouriser colouriser;
  QImage image = ColouriseToImage(colouriser, ir, vis);
  ASSERT_EQ(image.format(), QImage::Format_RGB888);
  ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const PackedColour want =
          colouriser.ColourAt(colouriser.ColumnMapOf(GreyDepth::Eight).Column(Level8(x, y)), Level8(y, x));
      EXPECT_EQ(image.pixel(x, y), qRgb(RedOf(want), GreenOf(want), BlueOf(want))) << x << "," << y;
    }
  }
  // Colouring again into the same image reuses its pixels.
  const uchar* before = image.constBits();
  ColouriseInto(colouriser, ir, vis, image);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.constBits(), before);
}

}  // namespace
}  // namespace palettor
