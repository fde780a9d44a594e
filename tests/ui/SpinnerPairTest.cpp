// The spinner and its edit box: text shows the position, positions are clamped 16-bit values,
// text changes raise the edit box's change event, arrow steps raise the spinner's click.
#include <gtest/gtest.h>

#include <QTest>
#include <QWheelEvent>

#include "FormControls.h"

namespace palettor {
namespace {

struct Pair {
  QWidget parent;
  TEdit* edit;
  TUpDown* updown;
  int changes = 0;
  int clicks = 0;
  std::vector<TUDBtnType> buttons;
  Pair(std::int16_t min, std::int16_t max) {
    edit = new TEdit(&parent, QStringLiteral("Edit"), QStringLiteral("0"));
    edit->setGeometry(0, 0, 33, 21);
    updown = new TUpDown(&parent, QStringLiteral("UpDown"), edit, min, max);
    updown->setGeometry(33, 0, 15, 21);
    edit->OnChange = [this](QObject*) { ++changes; };
    updown->OnClick = [this](QObject*, TUDBtnType b) {
      ++clicks;
      buttons.push_back(b);
    };
  }
};

struct ClampCase {
  std::int16_t min, max;
  std::int32_t set;
  std::int16_t position;
  const char* text;
};

class SpinnerClamp : public testing::TestWithParam<ClampCase> {};

TEST_P(SpinnerClamp, SetPositionKeepsWithinRangeAndShowsIt) {
  const ClampCase c = GetParam();
  Pair pair(c.min, c.max);
  pair.updown->SetPosition(c.set);
  EXPECT_EQ(pair.updown->GetPosition(), c.position);
  EXPECT_EQ(pair.edit->text(), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(Bounds, SpinnerClamp,
                         testing::Values(ClampCase{0, 360, 200, 200, "200"}, ClampCase{0, 360, 360, 360, "360"},
                                         ClampCase{0, 360, 361, 360, "360"}, ClampCase{0, 360, -1, 0, "0"},
                                         ClampCase{0, 100, 32767, 100, "100"}, ClampCase{0, 100, -32768, 0, "0"},
                                         ClampCase{0, 100, 70000, 100, "100"}, ClampCase{-10, 10, -7, -7, "-7"}),
                         [](const auto& p) {
                           const std::int32_t v = p.param.set;
                           return "Range" + std::to_string(p.param.max) + "Set" + (v < 0 ? "Minus" : "") +
                                  std::to_string(v < 0 ? -v : v);
                         });

TEST(Spinner, StartsAtZeroWithZeroShown) {
  Pair pair(0, 100);
  EXPECT_EQ(pair.updown->GetPosition(), 0);
  EXPECT_EQ(pair.edit->text(), "0");
}

TEST(Spinner, ChangeEventOnlyWhenTheTextChanges) {
  Pair pair(0, 100);
  pair.updown->SetPosition(5);
  EXPECT_EQ(pair.changes, 1);
  pair.updown->SetPosition(5);
  EXPECT_EQ(pair.changes, 1) << "same position, same text";
  pair.updown->SetPosition(100);
  pair.updown->SetPosition(250);
  EXPECT_EQ(pair.changes, 2) << "clamped to the text already shown";
  EXPECT_EQ(pair.clicks, 0) << "setting from code is not a click";
}

TEST(Spinner, PositionIsReadBackFromTheText) {
  Pair pair(0, 100);
  pair.edit->setText("42");
  EXPECT_EQ(pair.updown->GetPosition(), 42);
  for (const char* notANumber : {"abc", "", "1.5", "4 2", "0x10"}) {
    pair.edit->setText(QString::fromLatin1(notANumber));
    EXPECT_EQ(pair.updown->GetPosition(), 42) << "text '" << notANumber << "' keeps the last position";
  }
  pair.edit->setText(" 17 ");
  EXPECT_EQ(pair.updown->GetPosition(), 17);
  pair.edit->setText("500");
  EXPECT_EQ(pair.updown->GetPosition(), 100) << "a typed number beyond the range reads as the bound";
  EXPECT_EQ(pair.edit->text(), "500") << "reading does not rewrite the text";
}

TEST(Spinner, ArrowStepsMoveByOneRaiseClickAndStopAtTheBounds) {
  Pair pair(0, 2);
  pair.updown->Step(TUDBtnType::btNext);
  pair.updown->Step(TUDBtnType::btNext);
  EXPECT_EQ(pair.updown->GetPosition(), 2);
  EXPECT_EQ(pair.changes, 2);
  pair.updown->Step(TUDBtnType::btNext);
  EXPECT_EQ(pair.updown->GetPosition(), 2) << "no wrap-around";
  EXPECT_EQ(pair.clicks, 3);
  EXPECT_EQ(pair.changes, 2);
  for (int i = 0; i < 4; ++i) pair.updown->Step(TUDBtnType::btPrev);
  EXPECT_EQ(pair.updown->GetPosition(), 0);
  EXPECT_EQ(pair.buttons.back(), TUDBtnType::btPrev);
}

TEST(Spinner, StepStartsFromTheTypedNumber) {
  Pair pair(0, 360);
  pair.edit->setText("90");
  pair.updown->Step(TUDBtnType::btNext);
  EXPECT_EQ(pair.edit->text(), "91");
}

TEST(Spinner, ArrowKeysInTheEditBoxStep) {
  Pair pair(0, 100);
  pair.parent.show();
  pair.edit->setFocus();
  QTest::keyClick(pair.edit, Qt::Key_Up);
  QTest::keyClick(pair.edit, Qt::Key_Up);
  QTest::keyClick(pair.edit, Qt::Key_Down);
  EXPECT_EQ(pair.edit->text(), "1");
  EXPECT_EQ(pair.clicks, 3);
}

TEST(Spinner, MouseOnTheUpperAndLowerHalvesSteps) {
  Pair pair(0, 100);
  pair.parent.show();
  QTest::mouseClick(pair.updown, Qt::LeftButton, {}, QPoint(7, 3));
  QTest::mouseClick(pair.updown, Qt::LeftButton, {}, QPoint(7, 3));
  QTest::mouseClick(pair.updown, Qt::LeftButton, {}, QPoint(7, 18));
  EXPECT_EQ(pair.edit->text(), "1");
  ASSERT_EQ(pair.buttons.size(), 3u);
  EXPECT_EQ(pair.buttons[0], TUDBtnType::btNext);
  EXPECT_EQ(pair.buttons[2], TUDBtnType::btPrev);
}

void Wheel(QWidget* target, int delta) {
  const QPointF at(5, 5);
  QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &event);
}

TEST(Spinner, MouseWheelStepsPerNotchWithinTheRange) {
  Pair pair(0, 3);
  pair.parent.show();
  Wheel(pair.edit, 120);
  Wheel(pair.updown, 240);
  EXPECT_EQ(pair.edit->text(), "3");
  Wheel(pair.edit, 120);
  EXPECT_EQ(pair.edit->text(), "3");
  Wheel(pair.updown, 60);
  Wheel(pair.updown, -60);
  EXPECT_EQ(pair.edit->text(), "3") << "half notches that cancel out do not step";
  Wheel(pair.updown, -60);
  Wheel(pair.updown, -60);
  EXPECT_EQ(pair.edit->text(), "2");
}

TEST(Spinner, DisabledPairTakesNoSteps) {
  Pair pair(0, 100);
  pair.parent.show();
  pair.parent.setEnabled(false);
  QTest::mouseClick(pair.updown, Qt::LeftButton, {}, QPoint(7, 3));
  Wheel(pair.edit, 120);
  EXPECT_EQ(pair.edit->text(), "0");
  EXPECT_EQ(pair.clicks, 0);
}

TEST(CheckBoxEvents, ClickRaisedOncePerStateChangeFromCodeOrUser) {
  QWidget parent;
  auto* box = new TCheckBox(&parent, QStringLiteral("Box"), QStringLiteral("Box"));
  box->setGeometry(0, 0, 80, 17);
  int clicks = 0;
  box->OnClick = [&](QObject* sender) {
    EXPECT_EQ(sender, box);
    ++clicks;
  };
  parent.show();
  box->setChecked(true);
  box->setChecked(true);
  EXPECT_EQ(clicks, 1);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(clicks, 2);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_EQ(clicks, 3);
}

TEST(Components, FoundByExactNameOnly) {
  QWidget owner;
  auto* group = new QWidget(&owner);
  auto* inner = new TPaintBox(group, QStringLiteral("PaintBoxM60"));
  EXPECT_EQ(FindComponent(&owner, QStringLiteral("PaintBoxM60")), inner);
  EXPECT_EQ(FindComponent(&owner, QStringLiteral("paintboxm60")), nullptr);
  EXPECT_EQ(FindComponent(&owner, QStringLiteral("PaintBoxM6")), nullptr);
  EXPECT_EQ(FindComponent(&owner, QString()), nullptr);
}

}  // namespace
}  // namespace palettor
