#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <memory>

#include "ReferenceTable.h"
#include "TableBitmapWriter.h"

namespace palettor {
namespace {

std::uint32_t U32(const QByteArray& b, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
  return v;
}
std::uint16_t U16(const QByteArray& b, int at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What a failed write says, or "" when it succeeded.
QString Save(const LutPixels& pixels, const QString& path) {
  TableBitmapWriter writer;
  const bool written = writer.Write(pixels, path);
  EXPECT_EQ(written, writer.ErrorString().isEmpty()) << "a failure always says why, a success says nothing";
  return writer.ErrorString();
}

class TableBitmap : public testing::Test {
 protected:
  void SetUp() override { test::ReferenceTable(FactoryTableInputs(), *pixels); }
  std::unique_ptr<LutPixels> pixels = std::make_unique<LutPixels>();
};

TEST_F(TableBitmap, HeaderIsAPlainTwentyFourBitBitmap) {
  const QByteArray b = TableBitmapWriter::Encode(*pixels);
  ASSERT_EQ(b.size(), 76854);
  EXPECT_EQ(b.left(2), QByteArray("BM"));
  EXPECT_EQ(U32(b, 2), 76854u);
  EXPECT_EQ(U32(b, 6), 0u);  // both reserved words
  EXPECT_EQ(U32(b, 10), 54u);
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(U32(b, 18), 100u);
  EXPECT_EQ(U32(b, 22), 256u);  // positive: bottom row first
  EXPECT_EQ(U16(b, 26), 1u);
  EXPECT_EQ(U16(b, 28), 24u);
  EXPECT_EQ(U32(b, 30), 0u);
  EXPECT_TRUE(U32(b, 34) == 76800u || U32(b, 34) == 0u);
  EXPECT_EQ(U32(b, 38), 3780u) << "96 dpi, whatever screen there is or is not";
  EXPECT_EQ(U32(b, 42), 3780u);
  EXPECT_EQ(U32(b, 46), 0u);
  EXPECT_EQ(U32(b, 50), 0u);
}

TEST_F(TableBitmap, RowsAreStoredBottomUpInBlueGreenRedOrder) {
  const QByteArray b = TableBitmapWriter::Encode(*pixels);
  ASSERT_EQ(b.size(), 76854);
  for (int storedRow = 0; storedRow < 256; ++storedRow) {
    for (int x = 0; x < 100; ++x) {
      const PackedColour p = (*pixels)[static_cast<std::size_t>((255 - storedRow) * 100 + x)];
      const int at = 54 + storedRow * 300 + x * 3;
      ASSERT_EQ(static_cast<std::uint8_t>(b[at]), BlueOf(p)) << storedRow << " " << x;
      ASSERT_EQ(static_cast<std::uint8_t>(b[at + 1]), GreenOf(p));
      ASSERT_EQ(static_cast<std::uint8_t>(b[at + 2]), RedOf(p));
    }
  }
  // The first stored pixel is -60 degrees at brightness 0, the last +39 degrees at 255.
  EXPECT_EQ(b.mid(54, 3), QByteArray(3, '\0'));
  EXPECT_EQ(b.right(3), QByteArray(3, '\xFF'));
}

TEST_F(TableBitmap, ReadsBackThroughQtsDecoder) {
  QImage image = QImage::fromData(TableBitmapWriter::Encode(*pixels), "BMP");
  ASSERT_EQ(image.size(), QSize(100, 256));
  EXPECT_EQ(image.pixel(62, 225), qRgb(28, 50, 94));
  EXPECT_EQ(image.pixel(0, 127), qRgb(128, 114, 126));
}

TEST_F(TableBitmap, SaveReplacesAnExistingFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("TempToColourUser.bmp");
  ASSERT_TRUE(WriteFile(path, "an older, shorter file"));
  EXPECT_EQ(Save(*pixels, path), QString());
  EXPECT_EQ(ReadFile(path), TableBitmapWriter::Encode(*pixels));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"TempToColourUser.bmp"})
      << "no temporary file is left behind";
}

TEST_F(TableBitmap, FailedSaveLeavesTheOldFileAndSaysWhy) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores directory permissions";
  QTemporaryDir dir;
  const QString path = dir.filePath("TempToColourUser.bmp");
  ASSERT_TRUE(WriteFile(path, "keep me"));
  // A writable file in a read-only folder is overwritten in place; this one is read-only too.
  QFile::setPermissions(path, QFileDevice::ReadOwner);
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const QString reason = Save(*pixels, path);
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(ReadFile(path), QByteArray("keep me"));
}

// A disk that fills up part way through the write, simulated with a file-size limit (which
// binds root too): the old file must survive whole.
TEST_F(TableBitmap, DiskFullHalfWayLeavesTheOldFileAndSaysWhy) {
  QTemporaryDir dir;
  const QString path = dir.filePath("TempToColourUser.bmp");
  ASSERT_TRUE(WriteFile(path, "keep me"));

  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const QString reason = Save(*pixels, path);
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(ReadFile(path), QByteArray("keep me"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"TempToColourUser.bmp"})
      << "the partial temporary file is removed";
}

TEST_F(TableBitmap, SaveIntoAMissingFolderFailsWithTheSystemsReason) {
  QTemporaryDir dir;
  const QString reason = Save(*pixels, dir.filePath("no/such/folder/x.bmp"));
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));
}

TEST_F(TableBitmap, SaveOntoAFolderFailsAndKeepsTheFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("target.bmp"));
  EXPECT_FALSE(Save(*pixels, dir.filePath("target.bmp")).isEmpty());
  EXPECT_TRUE(QFileInfo(dir.filePath("target.bmp")).isDir());
}

}  // namespace
}  // namespace palettor
