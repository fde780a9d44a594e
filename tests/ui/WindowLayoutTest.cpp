// The window as it first appears: geometry of every control (with the positions the layout
// rule gives), captions, hints, tab order, menu, and the state of a first start.
#include <QMenu>
#include <QMenuBar>

#include "WindowFixture.h"

namespace palettor::test {
namespace {

struct Geometry {
  const char* name;
  int left, top, width, height;
};

// Controls whose size does not depend on the font.
const Geometry kFixedGeometry[] = {
    {"ImageLUT", 24, 24, 300, 256},
    {"CheckBoxWhiteTop", 360, 0, 81, 17},
    {"CheckBoxSmooth", 448, 0, 97, 17},
    {"EditTailPercent", 440, 24, 25, 21},
    {"UpDownTailPercent", 465, 24, 15, 21},
    {"GroupBoxColourEditor", 360, 56, 177, 145},
    {"GroupBoxMonitorCheck", 336, 216, 89, 57},
    {"ButtonFactoryReset", 440, 224, 97, 25},
    {"ButtonSave", 440, 264, 97, 25},
    {"ButtonClose", 440, 304, 97, 25},
    {"EditHue", 24, 24, 33, 21},
    {"UpDownHue", 57, 24, 15, 21},
    {"EditSat", 24, 54, 33, 21},
    {"UpDownSat", 57, 54, 15, 21},
    {"PaintBoxTest", 16, 98, 21, 21},
    {"PaintBoxTry", 48, 98, 21, 21},
    {"ButtonUpdateColour", 88, 98, 73, 25},
    {"PaintBoxBlack", 15, 23, 24, 24},
    {"PaintBoxWhite", 51, 23, 24, 24},
    // Patches as the layout rule places them on the scale, and the blue tail's beside the spinner.
    {"PaintBoxM70", 488, 27, 18, 18},
    {"PaintBoxM60", 15, 301, 18, 18},
    {"PaintBoxM50", 45, 301, 18, 18},
    {"PaintBoxM40", 75, 301, 18, 18},
    {"PaintBoxM30", 105, 301, 18, 18},
    {"PaintBoxM20", 135, 301, 18, 18},
    {"PaintBoxM10", 165, 301, 18, 18},
    {"PaintBoxO0", 195, 301, 18, 18},
    {"PaintBoxP10", 225, 301, 18, 18},
    {"PaintBoxP20", 255, 301, 18, 18},
    {"PaintBoxP30", 285, 301, 18, 18},
    {"PaintBoxP40", 315, 301, 18, 18},
};

class WindowLayout : public testing::TestWithParam<Geometry> {
 protected:
  static void TearDownTestSuite() { SharedWindow::Release(); }
};

TEST_P(WindowLayout, ControlSitsWhereItBelongs) {
  const Geometry g = GetParam();
  auto* control = qobject_cast<QWidget*>(SharedWindow::Get().FindComponent(QString::fromLatin1(g.name)));
  ASSERT_NE(control, nullptr) << g.name;
  EXPECT_EQ(control->geometry(), QRect(g.left, g.top, g.width, g.height)) << g.name;
}

INSTANTIATE_TEST_SUITE_P(Controls, WindowLayout, testing::ValuesIn(kFixedGeometry),
                         [](const auto& p) { return std::string(p.param.name); });

// Labels are as wide as their text in the window's font; left, top and height are fixed.
struct LabelPlace {
  const char* name;
  const char* caption;
  int left, top;  // for scale labels `left` is the tick the label is centred on
  bool centred;
};

const LabelPlace kLabels[] = {
    {"LabelM60", "-60", 24, 283, true},
    {"LabelM50", "-50", 54, 283, true},
    {"LabelM40", "-40", 84, 283, true},
    {"LabelM30", "-30", 114, 283, true},
    {"LabelM20", "-20", 144, 283, true},
    {"LabelM10", "-10", 174, 283, true},
    {"LabelO0", "0", 204, 283, true},
    {"LabelP10", "+10", 234, 283, true},
    {"LabelP20", "+20", 264, 283, true},
    {"LabelP30", "+30", 294, 283, true},
    {"LabelP40", "+40", 324, 283, true},
    {"LabelBitmap", "Temperature/brightness colour lookup bitmap", 32, 8, false},
    {"LabelCelsius", "Celsius", 344, 283, false},
    {"LabelBlueTail", "Blue tail percent ", 360, 28, false},
    {"LabelHue", "Hue", 88, 28, false},
    {"LabelSat", "Saturation", 88, 58, false},
    {"LabelTempIndex", "Temp", 24, 82, false},
    {"LabelOld", "Old", 16, 122, false},
    {"LabelNew", "New", 48, 122, false},
};

class WindowFacts : public WindowTest {};

class LabelLayout : public testing::TestWithParam<LabelPlace> {
 protected:
  static void TearDownTestSuite() { SharedWindow::Release(); }
};

TEST_P(LabelLayout, CaptionAndPlace) {
  const LabelPlace l = GetParam();
  auto* label = qobject_cast<TLabel*>(SharedWindow::Get().FindComponent(QString::fromLatin1(l.name)));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QString::fromLatin1(l.caption));
  EXPECT_EQ(label->height(), 13);
  EXPECT_EQ(label->y(), l.top);
  EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << "text fits";
  EXPECT_EQ(label->x(), l.centred ? l.left - label->width() / 2 : l.left);
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelLayout, testing::ValuesIn(kLabels),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(WindowFacts, ScaleLabelTagsAreAnchorIndicesAndTheTailHasNone) {
  Open();
  EXPECT_EQ(Form().FindComponent("LabelM70"), nullptr);
  int expected = -6;
  for (TLabel* label :
       {Form().LabelM60, Form().LabelM50, Form().LabelM40, Form().LabelM30, Form().LabelM20, Form().LabelM10,
        Form().LabelO0, Form().LabelP10, Form().LabelP20, Form().LabelP30, Form().LabelP40})
    EXPECT_EQ(label->Tag, expected++) << label->objectName().toStdString();
}

TEST_F(WindowFacts, LayoutRuleFollowsTheImage) {
  Open();
  Form().ImageLUT->setGeometry(10, 20, 200, 100);
  Form().FormResize(&Form());
  // y = 20 + 100 + 3; ticks every 20 pixels from 10
  EXPECT_EQ(Form().PaintBoxM60->pos(), QPoint(10 - 9, 141));
  EXPECT_EQ(Form().PaintBoxP40->pos(), QPoint(210 - 9, 141));
  EXPECT_EQ(Form().LabelCelsius->pos(), QPoint(344, 123));
  EXPECT_EQ(Form().PaintBoxM70->pos(), QPoint(488, 27)) << "the tail's patch follows the spinner, not the image";
}

TEST_F(WindowFacts, WindowCaptionSizeAndFrame) {
  Open();
  EXPECT_EQ(Form().windowTitle(), "Palettor for Skyreader - Colour look-up table maker");
  EXPECT_EQ(Form().centralWidget()->geometry(), QRect(0, Form().menuBar()->height(), 552, 344));
  EXPECT_EQ(Form().minimumSize(), Form().maximumSize()) << "fixed size";
  EXPECT_EQ(Form().pos(), QPoint(193, 107));
  const Qt::WindowFlags flags = Form().windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(Form().font().pixelSize(), 11);
}

TEST_F(WindowFacts, CaptionsAndHints) {
  Open();
  struct Text {
    QWidget* control;
    const char* caption;
    const char* hint;
  };
  const Text texts[] = {
      {Form().CheckBoxWhiteTop, "White top", "Check for plain bright regions"},
      {Form().CheckBoxSmooth, "Smooth colours", ""},
      {Form().GroupBoxColourEditor, " Colour value editor ", "Click on a colour patch to edit"},
      {Form().GroupBoxMonitorCheck, " Monitor check ", "Look for a grey dot in both black and white circles"},
      {Form().ButtonFactoryReset, "Reset colours", "Reset all hues and saturations to the factory default"},
      {Form().ButtonSave, "Save bitmap", ""},
      {Form().ButtonClose, "Close", ""},
      {Form().ButtonUpdateColour, "Update", ""},
  };
  for (const Text& t : texts) {
    const QString caption = qobject_cast<QGroupBox*>(t.control) ? qobject_cast<QGroupBox*>(t.control)->title()
                                                                : qobject_cast<QAbstractButton*>(t.control)->text();
    EXPECT_EQ(caption, QString::fromLatin1(t.caption));
    EXPECT_EQ(t.control->toolTip(), QString::fromLatin1(t.hint)) << t.caption;
  }
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    auto* patch = qobject_cast<TPaintBox*>(Form().FindComponent("PaintBox" + QString::fromStdString(AnchorSuffix(i))));
    ASSERT_NE(patch, nullptr);
    EXPECT_EQ(patch->Tag, i);
    EXPECT_EQ(patch->toolTip(), "Click to edit this colour");
  }
  EXPECT_TRUE(Form().ButtonClose->isDefault());
}

TEST_F(WindowFacts, MenuItemsAndMnemonics) {
  Open();
  QStringList file, help;
  for (QAction* a : Form().File1->actions()) file << (a->isSeparator() ? QStringLiteral("-") : a->text());
  for (QAction* a : Form().Help1->actions()) help << a->text();
  EXPECT_EQ(Form().File1->title(), "&File");
  EXPECT_EQ(Form().Help1->title(), "&Help");
  EXPECT_EQ(file, QStringList({"&Save", "Save &As...", "-", "E&xit"}));
  EXPECT_EQ(help, QStringList({"&About..."}));
  EXPECT_EQ(Form().FindComponent("FileSaveAs"), Form().FileSaveAs);
  EXPECT_EQ(Form().FindComponent("N1"), Form().N1);
}

QStringList TabChain(QWidget* window, QWidget* start, int steps) {
  start->setFocus();
  QStringList names;
  for (int i = 0; i < steps; ++i) {
    names << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  (void)window;
  return names;
}

TEST_F(WindowFacts, TabOrderSkipsTheDisabledEditor) {
  Open();
  EXPECT_EQ(QApplication::focusWidget(), Form().ButtonClose) << "Close takes the focus first";
  // The anchor patches are one more stop after the window's own controls.
  EXPECT_EQ(TabChain(&Form(), Form().ButtonClose, 9),
            QStringList({"ButtonClose", "CheckBoxWhiteTop", "CheckBoxSmooth", "EditTailPercent", "UpDownTailPercent",
                         "ButtonFactoryReset", "ButtonSave", "PaintBoxM60", "ButtonClose"}));
}

TEST_F(WindowFacts, TabOrderThroughTheEnabledEditor) {
  Open();
  Click(Form().PaintBoxM60);
  EXPECT_EQ(TabChain(&Form(), Form().ButtonClose, 14),
            QStringList({"ButtonClose", "CheckBoxWhiteTop", "CheckBoxSmooth", "EditTailPercent", "UpDownTailPercent",
                         "EditHue", "UpDownHue", "EditSat", "UpDownSat", "ButtonUpdateColour", "ButtonFactoryReset",
                         "ButtonSave", "PaintBoxM60", "ButtonClose"}));
}

TEST_F(WindowFacts, FirstStartState) {
  Open();
  EXPECT_EQ(Form().EditTailPercent->text(), "12");
  EXPECT_EQ(Form().UpDownTailPercent->GetPosition(), 12);
  EXPECT_TRUE(Form().CheckBoxWhiteTop->isChecked());
  EXPECT_TRUE(Form().CheckBoxSmooth->isChecked());
  EXPECT_EQ(Form().PaintBoxTest->Tag, 99);
  EXPECT_EQ(Form().LabelTempIndex->text(), "Temp");
  EXPECT_EQ(Form().EditHue->text(), "0");
  EXPECT_EQ(Form().EditSat->text(), "0");
  for (QWidget* w :
       std::initializer_list<QWidget*>{Form().GroupBoxColourEditor, Form().LabelTempIndex, Form().ButtonUpdateColour,
                                       Form().LabelHue, Form().LabelSat, Form().EditHue, Form().EditSat,
                                       Form().LabelOld, Form().LabelNew, Form().UpDownHue, Form().UpDownSat})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(Form().HostFolderValue().isEmpty()) << "no viewer registered";
  // The factory palette, with the colours it derives to.
  EXPECT_EQ(Form().AnchorColourOf(-7), 0xFF884Du);
  EXPECT_EQ(Form().AnchorColourOf(-6), 0xFCEDFFu);
  EXPECT_EQ(Form().AnchorColourOf(0), 0xFFFFFFu);
  EXPECT_EQ(Form().AnchorColourOf(4), 0xBFCFFFu);
  EXPECT_EQ(Form().AnchorValueOf(-7).hue, 220);
  EXPECT_EQ(Form().AnchorValueOf(-7).saturation, 70);
}

TEST_F(WindowFacts, EmptySwatchesAndPaintedPatches) {
  Open();
  const QImage screen = Screen();
  auto at = [&](QWidget* w, int x, int y) { return screen.pixel(w->mapTo(&Form(), QPoint(x, y))); };
  const QRgb behind = at(Form().GroupBoxColourEditor, 10, 100);
  for (TPaintBox* swatch : {Form().PaintBoxTest, Form().PaintBoxTry})
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 21; ++x) ASSERT_EQ(at(swatch, x, y), behind);
  EXPECT_EQ(at(Form().PaintBoxM60, 0, 0), qRgb(255, 237, 252));
  EXPECT_EQ(at(Form().PaintBoxM60, 17, 17), qRgb(255, 237, 252));
  EXPECT_EQ(at(Form().PaintBoxM70, 9, 9), qRgb(77, 136, 255));
  EXPECT_EQ(at(Form().PaintBoxP40, 5, 5), qRgb(255, 207, 191));
}

}  // namespace
}  // namespace palettor::test
