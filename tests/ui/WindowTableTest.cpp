// The table the window shows, after the options are used with real input events: equal at
// every column's three screen pixels to the engine's table, and to known pixels and sums.
#include "WindowFixture.h"

namespace palettor::test {
namespace {

struct Sums {
  long long red = 0, green = 0, blue = 0;
  bool operator==(const Sums&) const = default;
};

class ShownTable : public WindowTest {
 protected:
  // Pixel (x, y) of the table as shown: screen pixels 3x ... 3x + 2 of the image must agree.
  PackedColour ShownPixel(const QImage& screen, int x, int y) {
    const QPoint origin = Form().ImageLUT->mapTo(&Form(), QPoint(0, 0));
    const QRgb first = screen.pixel(origin.x() + 3 * x, origin.y() + y);
    EXPECT_EQ(first, screen.pixel(origin.x() + 3 * x + 1, origin.y() + y));
    EXPECT_EQ(first, screen.pixel(origin.x() + 3 * x + 2, origin.y() + y));
    return FromQColor(QColor(first));
  }
  Sums ShownSums() {
    const QImage screen = Screen();
    const QPoint origin = Form().ImageLUT->mapTo(&Form(), QPoint(0, 0));
    Sums s;
    for (int y = 0; y < kTableHeight; ++y)
      for (int x = 0; x < kTableWidth; ++x) {
        const QRgb p = screen.pixel(origin.x() + 3 * x, origin.y() + y);
        s.red += qRed(p);
        s.green += qGreen(p);
        s.blue += qBlue(p);
      }
    return s;
  }
  void TypeTailPercent(const char* text) { TypeInto(Form().EditTailPercent, QString::fromLatin1(text)); }
};

std::ostream& operator<<(std::ostream& os, const Sums& s) {
  return os << "{" << s.red << ", " << s.green << ", " << s.blue << "}";
}

TEST_F(ShownTable, FirstStartShowsTheFactoryTable) {
  Open();
  ExpectShownTableEquals(*Table(FactoryTableInputs()));
  EXPECT_EQ(ShownSums(), (Sums{3130845, 3142584, 3219913}));
}

struct KnownPixel {
  int x, y;
  PackedColour colour;
};

class ShownPixels : public ShownTable, public testing::WithParamInterface<KnownPixel> {};

TEST_P(ShownPixels, FactoryStartPixel) {
  Open();
  const KnownPixel p = GetParam();
  EXPECT_EQ(ShownPixel(Screen(), p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, ShownPixels,
    testing::Values(KnownPixel{0, 0, 0xFFFFFF}, KnownPixel{0, 127, 0x7E7280}, KnownPixel{0, 255, 0x000000},
                    KnownPixel{5, 55, 0xC8BCC5}, KnownPixel{58, 55, 0xC8C8C6}, KnownPixel{60, 127, 0x808080},
                    KnownPixel{61, 191, 0x404040}, KnownPixel{62, 225, 0x5E321C}, KnownPixel{62, 224, 0x1D1F1E},
                    KnownPixel{80, 245, 0x874828}, KnownPixel{85, 128, 0x55737F}, KnownPixel{85, 127, 0x567480},
                    KnownPixel{99, 255, 0xB35F35}, KnownPixel{99, 0, 0xFFFFFF}),
    [](const auto& p) { return "X" + std::to_string(p.param.x) + "Y" + std::to_string(p.param.y); });

TEST_F(ShownTable, ClickingWhiteTopRebuildsAtOnce) {
  Open();
  Click(Form().CheckBoxWhiteTop);
  EXPECT_FALSE(Form().CheckBoxWhiteTop->isChecked());
  ExpectShownTableEquals(*Table(FactoryTableInputs(12, false, true)));
  const QImage screen = Screen();
  EXPECT_EQ(ShownPixel(screen, 0, 0), 0xFCEDFFu);
  EXPECT_EQ(ShownPixel(screen, 30, 0), 0xFFE4DBu);
  EXPECT_EQ(ShownPixel(screen, 85, 55), 0x9CBCC8u);
  EXPECT_EQ(ShownPixel(screen, 99, 0), 0xBFD1FFu);
  EXPECT_EQ(ShownSums(), (Sums{3107298, 3114922, 3190577}));
}

TEST_F(ShownTable, SpaceOnSmoothColoursRebuildsAtOnce) {
  Open();
  Form().CheckBoxSmooth->setFocus();
  QTest::keyClick(Form().CheckBoxSmooth, Qt::Key_Space);
  EXPECT_FALSE(Form().CheckBoxSmooth->isChecked());
  ExpectShownTableEquals(*Table(FactoryTableInputs(12, true, false)));
  const QImage screen = Screen();
  EXPECT_EQ(ShownPixel(screen, 5, 55), 0xC7BFC8u);
  EXPECT_EQ(ShownPixel(screen, 58, 55), 0xC8C7BCu);
  EXPECT_EQ(ShownPixel(screen, 85, 128), 0x4F6B7Fu);
  EXPECT_EQ(ShownSums(), (Sums{3133195, 3102198, 3183516}));
}

TEST_F(ShownTable, TailPercentStepsRebuildButTypingWaitsForTheNextRebuild) {
  Open();
  QTest::mouseClick(Form().UpDownTailPercent, Qt::LeftButton, {}, QPoint(7, 3));
  EXPECT_EQ(Form().EditTailPercent->text(), "13");
  ExpectShownTableEquals(*Table(FactoryTableInputs(13)));
  Form().EditTailPercent->setFocus();
  QTest::keyClick(Form().EditTailPercent, Qt::Key_Down);
  QTest::keyClick(Form().EditTailPercent, Qt::Key_Down);
  ExpectShownTableEquals(*Table(FactoryTableInputs(11)));

  TypeTailPercent("0");
  // Typing alone does not rebuild.
  ExpectShownTableEquals(*Table(FactoryTableInputs(11)));
  const QImage screen = Screen();
  EXPECT_EQ(ShownPixel(screen, 80, 245), 0x874828u) << "still the tail";
  Click(Form().CheckBoxWhiteTop);
  Click(Form().CheckBoxWhiteTop);
  ExpectShownTableEquals(*Table(FactoryTableInputs(0)));
  const QImage after = Screen();
  EXPECT_EQ(ShownPixel(after, 80, 245), 0x07090Au);
  EXPECT_EQ(ShownPixel(after, 99, 255), 0x000000u);
}

TEST_F(ShownTable, WheelOverTheTailSpinnerStepsWithinItsRange) {
  Open();
  TypeTailPercent("99");
  const QPointF at(7, 10);
  for (int notch = 0; notch < 3; ++notch) {
    QWheelEvent wheel(at, Form().UpDownTailPercent->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form().UpDownTailPercent, &wheel);
  }
  EXPECT_EQ(Form().EditTailPercent->text(), "100");
  ExpectShownTableEquals(*Table(FactoryTableInputs(100)));
  EXPECT_EQ(ShownSums(), (Sums{2275138, 2601796, 3352197}));
}

TEST_F(ShownTable, BothOptionsOffAndNoTail) {
  Open();
  TypeTailPercent("0");
  Click(Form().CheckBoxWhiteTop);
  Click(Form().CheckBoxSmooth);
  ExpectShownTableEquals(*Table(FactoryTableInputs(0, false, false)));
  EXPECT_EQ(ShownSums(), (Sums{3079410, 2998280, 3001610}));
}

TEST_F(ShownTable, AfterTheCloseQueryNothingIsRebuilt) {
  Open();
  bool canClose = true;
  Form().FormCloseQuery(&Form(), canClose);
  EXPECT_TRUE(canClose);
  EXPECT_EQ(Form().Table(), nullptr);
  EXPECT_FALSE(Form().ImageLUT->HasPicture());
  Form().CheckBoxWhiteTop->setChecked(false);  // raises the click, which rebuilds
  Form().RebuildTable();
  EXPECT_FALSE(Form().ImageLUT->HasPicture());
  EXPECT_EQ(Form().Table(), nullptr);
}

}  // namespace
}  // namespace palettor::test
