// Coloured scenes and grey channels as QImages, level for level and colour for colour.
#include <gtest/gtest.h>

#include <QImage>

#include "SceneImage.h"

namespace palettor {
namespace {

constexpr int kWidth = 7;
constexpr int kHeight = 5;

int Level8(int x, int y) { return (x * 37 + y * 11 + 3) % 256; }
int Level16(int x, int y) { return (x * 9001 + y * 257 + 1) % 65536; }

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
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      EXPECT_EQ(e.constScanLine(y)[x], Level8(x, y)) << x << "," << y;
      EXPECT_EQ(reinterpret_cast<const quint16*>(s.constScanLine(y))[x], Level16(x, y)) << x << "," << y;
    }
  }
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
