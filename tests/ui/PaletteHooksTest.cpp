// What the window tells about its palette and how it takes one: the edits a user makes are
// reported with the palette before and after, and a palette applied from outside shows exactly
// its table without counting as an edit.
#include <QSignalSpy>

#include "StoredPalette.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

struct Edit {
  QString what;
  Palette before, after;
};

class PaletteHooks : public WindowTest {
 protected:
  void Watch() {
    QObject::connect(&Form(), &TFormPalettor::PaletteEdited, &Form(),
                     [this](const Palette& before, const Palette& after, const QString& what) {
                       edits_.push_back({what, before, after});
                     });
  }
  TPaintBox* Patch(int index) {
    return qobject_cast<TPaintBox*>(Form().FindComponent("PaintBox" + QString::fromStdString(AnchorSuffix(index))));
  }
  static Palette Factory() {
    Palette p;
    p.anchors = FactoryPalette();
    p.tailPercent = 12;
    p.whiteTop = true;
    p.smoothColours = true;
    return p;
  }
  std::vector<Edit> edits_;
};

TEST_F(PaletteHooks, EachEditIsReportedOnceWithItsNameAndBothPalettes) {
  Open();
  Watch();
  Palette expected = Factory();
  ASSERT_EQ(Form().CurrentPalette(), expected);

  Click(Form().CheckBoxWhiteTop);
  Palette afterWhiteTop = expected;
  afterWhiteTop.whiteTop = false;

  Click(Patch(-3));
  TypeInto(Form().EditHue, "200");
  Click(Form().ButtonUpdateColour);
  Palette afterUpdate = afterWhiteTop;
  afterUpdate.anchors[AnchorSlot(-3)].hue = 200;

  QTest::keyClick(Form().EditTailPercent, Qt::Key_Up);
  Palette afterTail = afterUpdate;
  afterTail.tailPercent = 13;

  Click(Form().ButtonFactoryReset);
  Palette afterReset = afterTail;
  afterReset.anchors = FactoryPalette();

  ASSERT_EQ(edits_.size(), 4u);
  const Edit want[] = {{"White top", expected, afterWhiteTop},
                       {QString::fromUtf8("Update \u221230 \u00b0C"), afterWhiteTop, afterUpdate},
                       {"Blue tail percent", afterUpdate, afterTail},
                       {"Reset colours", afterTail, afterReset}};
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    EXPECT_EQ(edits_[i].what, want[i].what);
    EXPECT_EQ(edits_[i].before, want[i].before) << want[i].what.toStdString();
    EXPECT_EQ(edits_[i].after, want[i].after) << want[i].what.toStdString();
  }
  EXPECT_EQ(Form().CurrentPalette(), afterReset);
}

TEST_F(PaletteHooks, AnEditThatChangesNothingIsNotReported) {
  Open();
  Watch();
  Click(Form().ButtonFactoryReset);  // the factory anchors are shown already
  Click(Patch(0));
  Click(Form().ButtonUpdateColour);  // the anchor's own values
  EXPECT_TRUE(edits_.empty());
}

TEST_F(PaletteHooks, AnAppliedPaletteShowsItsTableOnceAndIsNoEdit) {
  Open();
  Watch();
  QSignalSpy rebuilt(&Form(), &TFormPalettor::TableRebuilt);
  Palette p = Factory();
  p.anchors[AnchorSlot(-7)] = {30, 90};
  p.anchors[AnchorSlot(2)] = {120, 100};
  p.tailPercent = 40;
  p.whiteTop = false;
  p.smoothColours = false;
  Form().ApplyPalette(p);

  EXPECT_EQ(rebuilt.count(), 1);
  EXPECT_TRUE(edits_.empty());
  EXPECT_EQ(Form().CurrentPalette(), p);
  EXPECT_EQ(Form().EditTailPercent->text(), "40");
  EXPECT_FALSE(Form().CheckBoxWhiteTop->isChecked());
  ExpectShownTableEquals(*Table(TableInputsOf(p)));
  EXPECT_EQ(Form().AnchorColourOf(2), DeriveAnchorColour(120, 100));

  // The next edit starts from the applied palette.
  Click(Form().CheckBoxSmooth);
  ASSERT_EQ(edits_.size(), 1u);
  EXPECT_EQ(edits_[0].before, p);
}

TEST_F(PaletteHooks, SelectingAnAnchorIsAClickOnItsPatch) {
  Open();
  Form().SelectAnchor(-6);
  EXPECT_EQ(Form().PaintBoxTest->Tag, -6);
  EXPECT_EQ(Form().EditHue->text(), "310");
  EXPECT_TRUE(Form().ButtonUpdateColour->isEnabled());
}

TEST_F(PaletteHooks, AppliedPaletteIsWhatClosingStores) {
  Open();
  Palette p = Factory();
  p.anchors[AnchorSlot(4)] = {200, 50};
  p.tailPercent = 7;
  Form().ApplyPalette(p);
  CloseWindow();
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, p);
}

}  // namespace
}  // namespace palettor::test
