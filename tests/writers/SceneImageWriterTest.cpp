// Images that belong together (the demo scene's two channels) are written together or not at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "SceneImageWriter.h"

namespace palettor {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SceneImageWriter, APairIsWrittenWholeOrNotAtAll) {
  QTemporaryDir dir;
  const QString first = dir.filePath("ir.png"), second = dir.filePath("vis.png");
  QFile old(first);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
  old.close();
  QImage grey(4, 3, QImage::Format_Grayscale8);
  grey.fill(128);

  SceneImageWriter writer;
  SceneImageOutput pair[] = {{grey, first}, {grey, dir.filePath("none/vis.png")}};
  EXPECT_FALSE(writer.Write(pair));
  EXPECT_EQ(writer.FailedTarget(), pair[1].target);
  EXPECT_EQ(writer.ErrorString(), "No such file or directory");
  EXPECT_EQ(ReadAll(first), "old") << "the first file was replaced although the second failed";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"ir.png"});

  // An image that cannot be encoded touches no file and names none.
  pair[1] = {QImage(), second};
  EXPECT_FALSE(writer.Write(pair));
  EXPECT_EQ(writer.FailedTarget(), QString());
  EXPECT_EQ(ReadAll(first), "old");

  pair[1] = {grey, second};
  ASSERT_TRUE(writer.Write(pair)) << writer.ErrorString().toStdString();
  for (const QString& path : {first, second}) EXPECT_EQ(QImage(path), grey) << path.toStdString();
}

}  // namespace
}  // namespace palettor
