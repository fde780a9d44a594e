// The window from the keyboard and through assistive technology: every control named, the
// anchor patches reached with Tab and moved between with the arrow keys, Space and Enter
// selecting as a click does, a visible focus mark, and the standard shortcuts.
#include <QAccessible>
#include <QSet>

#include "WindowFixture.h"

namespace palettor::test {
namespace {

QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

class KeyboardAccess : public WindowTest {
 protected:
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }
  QWidget* Focused() { return QApplication::focusWidget(); }
  QImage Picture(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(KeyboardAccess, EveryControlHasADistinctName) {
  Open();
  QSet<QString> names;
  int controls = 0;
  for (QWidget* w : Form().findChildren<QWidget*>()) {
    const bool control = qobject_cast<TPaintBox*>(w) || qobject_cast<TEdit*>(w) || qobject_cast<TUpDown*>(w) ||
                         qobject_cast<TImage*>(w) || qobject_cast<QAbstractButton*>(w);
    if (!control || !w->isVisibleTo(&Form())) continue;
    ++controls;
    const QString name = Accessible(w)->text(QAccessible::Name);
    EXPECT_FALSE(name.trimmed().isEmpty()) << w->objectName().toStdString() << " has no name";
    EXPECT_FALSE(names.contains(name)) << w->objectName().toStdString() << " repeats \"" << name.toStdString() << '"';
    names.insert(name);
  }
  // 12 patches, 2 swatches, 2 circles, the table, 3 edits, 3 spinners, 2 check boxes, 4 buttons
  EXPECT_EQ(controls, 29);
}

struct PatchCase {
  int index;
  const char* name;
};

class PatchNames : public KeyboardAccess, public testing::WithParamInterface<PatchCase> {};

TEST_P(PatchNames, SayWhichAnchorAndItsColour) {
  Open();
  auto* patch = qobject_cast<TPaintBox*>(
      Form().FindComponent("PaintBox" + QString::fromStdString(AnchorSuffix(GetParam().index))));
  QAccessibleInterface* iface = Accessible(patch);
  EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(GetParam().name));
  EXPECT_EQ(iface->role(), QAccessible::Button);
  EXPECT_TRUE(iface->state().focusable);
  ASSERT_NE(iface->actionInterface(), nullptr);
  iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(Form().PaintBoxTest->Tag, GetParam().index) << "pressing selects it, as a click does";
}

INSTANTIATE_TEST_SUITE_P(Anchors, PatchNames,
                         testing::Values(PatchCase{-7, "blue tail anchor"}, PatchCase{-6, "\u221260 \u00B0C anchor"},
                                         PatchCase{-3, "\u221230 \u00B0C anchor"}, PatchCase{0, "0 \u00B0C anchor"},
                                         PatchCase{4, "+40 \u00B0C anchor"}),
                         [](const auto& p) { return "PaintBox" + AnchorSuffix(p.param.index); });

TEST_F(KeyboardAccess, DescriptionsFollowTheEditedColours) {
  Open();
  Click(Form().PaintBoxP10);
  TypeInto(Form().EditHue, "123");
  TypeInto(Form().EditSat, "45");
  EXPECT_EQ(Accessible(Form().PaintBoxTry)->text(QAccessible::Description), "As edited: hue 123\u00B0, saturation 45%");
  Click(Form().ButtonUpdateColour);
  EXPECT_EQ(Accessible(Form().PaintBoxP10)->text(QAccessible::Description), "hue 123\u00B0, saturation 45%");
  EXPECT_EQ(Accessible(Form().PaintBoxTest)->text(QAccessible::Description),
            "The +10 \u00B0C anchor: hue 123\u00B0, saturation 45%");
}

TEST_F(KeyboardAccess, SpinnersAreSpinButtonsWithTheirValue) {
  Open();
  QAccessibleInterface* spinner = Accessible(Form().UpDownTailPercent);
  EXPECT_EQ(spinner->role(), QAccessible::SpinBox);
  ASSERT_NE(spinner->valueInterface(), nullptr);
  EXPECT_EQ(spinner->valueInterface()->currentValue().toInt(), 12);
  EXPECT_EQ(spinner->valueInterface()->maximumValue().toInt(), 100);
  spinner->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
  EXPECT_EQ(Form().EditTailPercent->text(), "13");
  ExpectShownTableEquals(*Table(FactoryTableInputs(13, true, true)));
  // The labels name their edit boxes.
  for (const auto& [edit, label] : {std::pair<QWidget*, QWidget*>{Form().EditHue, Form().LabelHue},
                                    {Form().EditSat, Form().LabelSat},
                                    {Form().EditTailPercent, Form().LabelBlueTail}}) {
    QList<QObject*> labels;
    for (const auto& relation : Accessible(edit)->relations(QAccessible::Label)) labels << relation.first->object();
    EXPECT_TRUE(labels.contains(label)) << edit->objectName().toStdString();
  }
}

TEST_F(KeyboardAccess, PatchesAreOneTabStopAfterSaveAndArrowsMoveAmongThem) {
  Open();
  Form().ButtonSave->setFocus();
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), Form().PaintBoxM60);
  Key(Qt::Key_Left);
  EXPECT_EQ(Focused(), Form().PaintBoxM60) << "the first stays first";
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(Focused(), Form().PaintBoxM40);
  Key(Qt::Key_End);
  EXPECT_EQ(Focused(), Form().PaintBoxM70) << "the blue tail's patch comes last";
  Key(Qt::Key_Up);
  EXPECT_EQ(Focused(), Form().PaintBoxP40);
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focused(), Form().ButtonClose);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), Form().PaintBoxP40) << "back to the patch focused last";
  Key(Qt::Key_Home);
  EXPECT_EQ(Focused(), Form().PaintBoxM60);
}

TEST_F(KeyboardAccess, SpaceAndEnterSelectTheFocusedPatchAsAClickDoes) {
  Open();
  Form().PaintBoxM70->setFocus();
  Key(Qt::Key_Space);
  EXPECT_EQ(Form().LabelTempIndex->text(), "blue tail");
  EXPECT_TRUE(Form().EditHue->isEnabled());
  EXPECT_EQ(Form().EditHue->text(), "220");
  Key(Qt::Key_Left);
  Key(Qt::Key_Return);
  EXPECT_EQ(Form().LabelTempIndex->text(), "40 C");
  EXPECT_TRUE(Form().isVisible()) << "Enter on a patch selects it and does not press Close";
  Key(Qt::Key_Left);
  Key(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Form().LabelTempIndex->text(), "30 C");
  EXPECT_TRUE(Form().isVisible());
  // Elsewhere Enter still presses Close.
  Form().CheckBoxSmooth->setFocus();
  Key(Qt::Key_Return);
  EXPECT_FALSE(Form().isVisible());
}

TEST_F(KeyboardAccess, TheFocusedPatchIsFramedAndOthersKeepTheirPixels) {
  Open();
  TPaintBox* patch = Form().PaintBoxO0;
  QImage plain(patch->size(), QImage::Format_RGB32);
  plain.fill(ToQColor(Form().AnchorColourOf(0)));
  EXPECT_EQ(Picture(patch), plain) << "unfocused: the anchor's colour, edge to edge";
  patch->setFocus();
  const QImage framed = Picture(patch);
  EXPECT_EQ(framed.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(framed.pixel(17, 9), qRgb(0, 0, 0));
  EXPECT_EQ(framed.pixel(1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(framed.pixel(9, 16), qRgb(255, 255, 255));
  EXPECT_EQ(framed.pixel(9, 9), plain.pixel(9, 9)) << "the colour still shows inside";
  Form().ButtonClose->setFocus();
  EXPECT_EQ(Picture(patch), plain);
}

class AboutBoxStandIn : public QDialog {
 public:
  int exec() override {
    ++shown;
    return 0;
  }
  int shown = 0;
};

TEST_F(KeyboardAccess, StandardShortcutsRunTheMenuCommands) {
  Open();
  AboutBoxStandIn about;
  Form().SetAboutBox(&about);
  QTest::keyClick(&Form(), Qt::Key_F1);
  EXPECT_EQ(about.shown, 1);

  QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialogs_.dialogsShown, 1) << "Save As asks for a name";

  const QString viewer = store_.Path() + QStringLiteral("/viewer");
  ASSERT_TRUE(QDir().mkpath(viewer));
  store_.RegisterViewer(viewer + QStringLiteral("/Skyreader.exe"));
  CloseWindow();
  Open();
  QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(QFileInfo::exists(viewer + QStringLiteral("/TempToColourUser.bmp")));
  EXPECT_EQ(dialogs_.messages.size(), 1);

  Form().EditTailPercent->setFocus();
  QTest::keyClick(Form().EditTailPercent, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(Form().isVisible()) << "Ctrl+Q exits";
}

}  // namespace
}  // namespace palettor::test
