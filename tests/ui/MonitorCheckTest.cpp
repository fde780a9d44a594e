// The monitor check's two circles, pixel for pixel, and the canvas ellipse they are drawn with.
#include <QPainter>
#include <set>

#include "WindowFixture.h"

namespace palettor::test {
namespace {

constexpr QRgb kBackground = 0xFF123456;  // a colour nothing here draws

QImage DrawEllipse(int width, int height, int x1, int y1, int x2, int y2, PackedColour brush, PackedColour pen) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kBackground);
  QPainter painter(&image);
  TCanvas canvas(painter);
  canvas.SetBrushColor(brush);
  canvas.SetPenColor(pen);
  canvas.Ellipse(x1, y1, x2, y2);
  return image;
}

// Smallest rectangle [left, right) x [top, bottom) holding every pixel of `colour`.
QRect Extent(const QImage& image, QRgb colour) {
  QRect r;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == colour) r |= QRect(x, y, 1, 1);
  return r;
}

struct EllipseCase {
  int x1, y1, x2, y2;
};

class CanvasEllipse : public testing::TestWithParam<EllipseCase> {};

TEST_P(CanvasEllipse, ReachesUpToButNotIncludingRightAndBottom) {
  const EllipseCase c = GetParam();
  const QImage image = DrawEllipse(40, 40, c.x1, c.y1, c.x2, c.y2, 0x0000FF, 0x0000FF);
  EXPECT_EQ(Extent(image, qRgb(255, 0, 0)), QRect(QPoint(c.x1, c.y1), QPoint(c.x2 - 1, c.y2 - 1)));
}

TEST_P(CanvasEllipse, IsMirrorSymmetricAndLeavesTheCornersAlone) {
  const EllipseCase c = GetParam();
  const QImage image = DrawEllipse(40, 40, c.x1, c.y1, c.x2, c.y2, 0x0000FF, 0x0000FF);
  for (int y = c.y1; y < c.y2; ++y)
    for (int x = c.x1; x < c.x2; ++x) {
      const int mx = c.x2 - 1 - (x - c.x1), my = c.y2 - 1 - (y - c.y1);
      ASSERT_EQ(image.pixel(x, y), image.pixel(mx, y)) << x << "," << y;
      ASSERT_EQ(image.pixel(x, y), image.pixel(x, my)) << x << "," << y;
    }
  EXPECT_EQ(image.pixel(c.x1, c.y1), kBackground);
  EXPECT_EQ(image.pixel(c.x2 - 1, c.y2 - 1), kBackground);
  EXPECT_EQ(image.pixel((c.x1 + c.x2) / 2, (c.y1 + c.y2) / 2), qRgb(255, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Boxes, CanvasEllipse,
                         testing::Values(EllipseCase{0, 0, 24, 24}, EllipseCase{6, 6, 18, 18},
                                         EllipseCase{6, 5, 19, 16}, EllipseCase{0, 0, 25, 25},
                                         EllipseCase{3, 2, 10, 30}, EllipseCase{1, 1, 5, 5}),
                         [](const auto& p) {
                           const EllipseCase& c = p.param;
                           return "From" + std::to_string(c.x1) + "x" + std::to_string(c.y1) + "To" +
                                  std::to_string(c.x2) + "x" + std::to_string(c.y2);
                         });

TEST(CanvasEllipseShape, TwentyFourPixelCircleRows) {
  // Pixel centres within radius 12 of (12, 12): the top row spans columns 9 ... 14 and the
  // middle rows the full width.
  const QImage image = DrawEllipse(24, 24, 0, 0, 24, 24, 0xFFFFFF, 0xFFFFFF);
  auto rowSpan = [&](int y) { return Extent(image.copy(0, y, 24, 1), qRgb(255, 255, 255)); };
  EXPECT_EQ(rowSpan(0), QRect(9, 0, 6, 1));
  EXPECT_EQ(rowSpan(11), QRect(0, 0, 24, 1));
  EXPECT_EQ(rowSpan(23), QRect(9, 0, 6, 1));
}

TEST(CanvasEllipseShape, PenOutlinesTheEdgeWithinTheFigure) {
  const QImage image = DrawEllipse(30, 30, 5, 5, 25, 25, 0xFF0000, 0x0000FF);
  const QRgb fill = qRgb(0, 0, 255), edge = qRgb(255, 0, 0);
  EXPECT_EQ(Extent(image, edge), QRect(5, 5, 20, 20)) << "the outline is the figure's own edge";
  EXPECT_EQ(Extent(image, fill), QRect(6, 6, 18, 18));
  EXPECT_EQ(image.pixel(15, 15), fill);
}

TEST(CanvasEllipseShape, EmptyRectangleDrawsNothing) {
  const QImage image = DrawEllipse(10, 10, 4, 4, 4, 9, 0, 0);
  EXPECT_TRUE(Extent(image, qRgb(0, 0, 0)).isEmpty());
}

class MonitorCheck : public WindowTest {
 protected:
  QImage Painted(TPaintBox* box) { return box->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(MonitorCheck, BlackCircleWithNearBlackDisc) {
  Open();
  const QImage image = Painted(Form().PaintBoxBlack);
  ASSERT_EQ(image.size(), QSize(24, 24));
  EXPECT_EQ(Extent(image, qRgb(32, 32, 32)), QRect(6, 6, 12, 12));
  QRect outer = Extent(image, qRgb(0, 0, 0)) | Extent(image, qRgb(32, 32, 32));
  EXPECT_EQ(outer, QRect(0, 0, 24, 24));
  EXPECT_EQ(image.pixel(12, 12), qRgb(32, 32, 32));
}

TEST_F(MonitorCheck, WhiteCircleWithNearWhiteDisc) {
  Open();
  const QImage image = Painted(Form().PaintBoxWhite);
  EXPECT_EQ(Extent(image, qRgb(240, 240, 240)), QRect(6, 6, 12, 12));
  EXPECT_EQ(Extent(image, qRgb(255, 255, 255)) | Extent(image, qRgb(240, 240, 240)), QRect(0, 0, 24, 24));
}

TEST_F(MonitorCheck, NoBlendedPixelsAndTheCornersShowTheGroupBox) {
  Open();
  const QImage screen = Screen();
  const QPoint at = Form().PaintBoxBlack->mapTo(&Form(), QPoint(0, 0));
  const QRgb behind = screen.pixel(at.x() - 2, at.y() + 12);
  std::set<QRgb> colours;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) colours.insert(screen.pixel(at.x() + x, at.y() + y));
  EXPECT_EQ(colours, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(32, 32, 32), behind}));
  EXPECT_EQ(screen.pixel(at), behind);
}

struct DiscCase {
  int width, height;
  QRect disc;
};

class MonitorCheckSizes : public MonitorCheck, public testing::WithParamInterface<DiscCase> {};

TEST_P(MonitorCheckSizes, InnerDiscFollowsTheBoxSize) {
  Open();
  const DiscCase c = GetParam();
  Form().PaintBoxBlack->resize(c.width, c.height);
  const QImage image = Painted(Form().PaintBoxBlack);
  EXPECT_EQ(Extent(image, qRgb(32, 32, 32)), c.disc);
  EXPECT_EQ(Extent(image, qRgb(0, 0, 0)) | c.disc, QRect(0, 0, c.width, c.height));
}

INSTANTIATE_TEST_SUITE_P(Boxes, MonitorCheckSizes,
                         testing::Values(DiscCase{24, 24, QRect(QPoint(6, 6), QPoint(17, 17))},
                                         DiscCase{25, 25, QRect(QPoint(6, 6), QPoint(17, 17))},
                                         DiscCase{26, 22, QRect(QPoint(6, 5), QPoint(18, 15))}),
                         [](const auto& p) {
                           return "Box" + std::to_string(p.param.width) + "x" + std::to_string(p.param.height);
                         });

TEST_F(MonitorCheck, AnyOtherSenderDrawsNothing) {
  Open();
  TPaintBox* other = Form().PaintBoxTry;
  other->OnPaint = [this](QObject* sender) { Form().PaintBoxMonitorCheckPaint(sender); };
  const QImage image = Painted(other);
  EXPECT_TRUE(Extent(image, qRgb(0, 0, 0)).isEmpty());
  EXPECT_TRUE(Extent(image, qRgb(255, 255, 255)).isEmpty());
  EXPECT_TRUE(Extent(image, qRgb(32, 32, 32)).isEmpty());
}

}  // namespace
}  // namespace palettor::test
