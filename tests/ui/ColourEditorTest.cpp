// The colour editor driven as a user drives it: select a patch, type and step hue and
// saturation, Update, Reset colours.
#include "WindowFixture.h"

namespace palettor::test {
namespace {

class ColourEditor : public WindowTest {
 protected:
  TPaintBox* Patch(int index) {
    return qobject_cast<TPaintBox*>(Form().FindComponent("PaintBox" + QString::fromStdString(AnchorSuffix(index))));
  }
  QRgb ScreenPixel(QWidget* w, int x, int y) { return Screen().pixel(w->mapTo(&Form(), QPoint(x, y))); }
  // The table the window should show with the factory palette changed as given.
  std::unique_ptr<LutPixels> FactoryTableWith(int index, AnchorValue value) {
    AnchorValues values = FactoryPalette();
    values[AnchorSlot(index)] = value;
    return Table(MakeTableInputs(DeriveAnchorColours(values), values[AnchorSlot(kBlueTailAnchor)], 12, true, true));
  }
};

struct Caption {
  int index;
  const char* text;
};

class TempIndexCaption : public ColourEditor, public testing::WithParamInterface<Caption> {};

TEST_P(TempIndexCaption, ClickingAPatchNamesItsAnchor) {
  Open();
  Click(Patch(GetParam().index));
  EXPECT_EQ(Form().LabelTempIndex->text(), QString::fromLatin1(GetParam().text));
  EXPECT_EQ(Form().PaintBoxTest->Tag, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Patches, TempIndexCaption,
                         testing::Values(Caption{-7, "blue tail"}, Caption{0, "0 C"}, Caption{-6, "-60 C"},
                                         Caption{4, "40 C"}, Caption{1, "10 C"}, Caption{-1, "-10 C"}),
                         [](const auto& p) { return "PaintBox" + AnchorSuffix(p.param.index); });

TEST_F(ColourEditor, SelectingAPatchLoadsItsValuesAndEnablesTheEditor) {
  Open();
  Click(Patch(-6));
  EXPECT_EQ(Form().EditHue->text(), "310");
  EXPECT_EQ(Form().EditSat->text(), "7");
  EXPECT_TRUE(Form().GroupBoxColourEditor->isEnabled());
  EXPECT_TRUE(Form().EditHue->isEnabled());
  EXPECT_TRUE(Form().ButtonUpdateColour->isEnabled());
  EXPECT_EQ(Form().PreviewHueValue(), 310);
  EXPECT_EQ(Form().PreviewSatValue(), 7);
  EXPECT_EQ(Form().PreviewColourValue(), 0xFCEDFFu);
  EXPECT_EQ(ScreenPixel(Form().PaintBoxTest, 10, 10), qRgb(255, 237, 252)) << "Old swatch";
  EXPECT_EQ(ScreenPixel(Form().PaintBoxTry, 10, 10), qRgb(255, 237, 252)) << "New swatch";
}

TEST_F(ColourEditor, ClickingTheSameValuesAgainLeavesThePreviewAlone) {
  Open();
  Click(Patch(3));  // 35, 25
  TypeInto(Form().EditHue, "200");
  Click(Patch(4));  // 15, 25: only the hue text changes
  EXPECT_EQ(Form().PreviewHueValue(), 15);
  EXPECT_EQ(Form().PreviewSatValue(), 25);
  Click(Patch(4));
  EXPECT_EQ(Form().PreviewHueValue(), 15);
}

TEST_F(ColourEditor, UpdateWithoutEditingWritesTheSameValues) {
  Open();
  Click(Patch(2));
  Click(Form().ButtonUpdateColour);
  EXPECT_EQ(Form().AnchorValueOf(2).hue, 55);
  EXPECT_EQ(Form().AnchorValueOf(2).saturation, 19);
  EXPECT_EQ(Form().AnchorColourOf(2), 0xCFFBFFu);
  ExpectShownTableEquals(*Table(FactoryTableInputs()));
}

TEST_F(ColourEditor, TypedValuesAreAppliedByUpdate) {
  Open();
  Click(Patch(4));
  TypeInto(Form().EditHue, "120");
  TypeInto(Form().EditSat, "100");
  EXPECT_EQ(Form().PreviewColourValue(), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(Form().PaintBoxTry, 3, 3), qRgb(0, 255, 0));
  EXPECT_EQ(Form().AnchorColourOf(4), 0xBFCFFFu) << "nothing changes before Update";
  Click(Form().ButtonUpdateColour);
  EXPECT_EQ(Form().AnchorValueOf(4).hue, 120);
  EXPECT_EQ(Form().AnchorValueOf(4).saturation, 100);
  EXPECT_EQ(Form().AnchorColourOf(4), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(Form().PaintBoxP40, 9, 9), qRgb(0, 255, 0)) << "the patch shows the new colour";
  ExpectShownTableEquals(*FactoryTableWith(4, {120, 100}));
}

TEST_F(ColourEditor, EditingTheBlueTailChangesOnlyTheTailRows) {
  Open();
  Click(Patch(-7));
  TypeInto(Form().EditHue, "0");
  TypeInto(Form().EditSat, "100");
  Click(Form().ButtonUpdateColour);
  ExpectShownTableEquals(*FactoryTableWith(-7, {0, 100}));
  EXPECT_EQ(ScreenPixel(Form().PaintBoxM70, 1, 1), qRgb(255, 0, 0));
}

struct Typed {
  const char* text;
  int hue;            // the spinner's position afterwards
  const char* shown;  // the edit box's text afterwards
};

class TypedHue : public ColourEditor, public testing::WithParamInterface<Typed> {};

// Starting from the -60 anchor (hue 310, saturation 7) selected.
TEST_P(TypedHue, OnlyWholeNumbersMoveTheSpinner) {
  Open();
  Click(Patch(-6));
  const Typed t = GetParam();
  TypeInto(Form().EditHue, QString::fromLatin1(t.text));
  EXPECT_EQ(Form().UpDownHue->GetPosition(), t.hue);
  EXPECT_EQ(Form().PreviewHueValue(), t.hue);
  EXPECT_EQ(Form().PreviewColourValue(), DeriveAnchorColour(t.hue, 7));
  EXPECT_EQ(Form().EditHue->text(), QString::fromLatin1(t.shown));
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

std::string TypedName(const testing::TestParamInfo<Typed>& info) {
  static const char* const names[] = {"Letters",  "Empty",  "AboveRange",    "Overflow",
                                      "Negative", "Number", "TrailingLetter"};
  return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedHue,
    testing::Values(Typed{"abc", 310, "abc"},          // letters: nothing parses, nothing moves
                    Typed{"", 310, ""},                // cleared
                    Typed{"400", 360, "360"},          // above the range: the spinner brings it to the bound
                    Typed{"99999999999", 360, "360"},  // "9..." parses up to 999999999, then overflows
                    Typed{"-5", 0, "0"}, Typed{"12", 12, "12"},
                    Typed{"7x", 7, "7x"}),  // "7" moved the spinner; "7x" does not parse
    TypedName);

TEST_F(ColourEditor, FractionTypedAfterANumberIsIgnored) {
  Open();
  Click(Patch(-6));
  Click(Form().EditHue);
  QTest::keyClick(Form().EditHue, Qt::Key_End);
  QTest::keyClicks(Form().EditHue, ".5");
  EXPECT_EQ(Form().EditHue->text(), "310.5");
  EXPECT_EQ(Form().PreviewHueValue(), 310);
  EXPECT_EQ(Form().UpDownHue->GetPosition(), 310);
}

TEST_F(ColourEditor, SaturationAboveTheRangeGivesThePreviewAtTheBound) {
  Open();
  Click(Patch(0));
  TypeInto(Form().EditSat, "150");
  EXPECT_EQ(Form().EditSat->text(), "100");
  EXPECT_EQ(Form().PreviewSatValue(), 100);
  EXPECT_EQ(Form().PreviewColourValue(), DeriveAnchorColour(100, 100));
}

TEST_F(ColourEditor, HueStepsByKeysWheelAndArrowsStopAtTheBounds) {
  Open();
  Click(Patch(-6));
  Form().EditHue->setFocus();
  QTest::keyClick(Form().EditHue, Qt::Key_Up);
  EXPECT_EQ(Form().PreviewHueValue(), 311);
  QTest::mouseClick(Form().UpDownHue, Qt::LeftButton, {}, QPoint(7, 17));
  QTest::mouseClick(Form().UpDownHue, Qt::LeftButton, {}, QPoint(7, 17));
  EXPECT_EQ(Form().EditHue->text(), "309");
  EXPECT_EQ(Form().PreviewHueValue(), 309);
  TypeInto(Form().EditHue, "359");
  QTest::keyClick(Form().EditHue, Qt::Key_Up);
  QTest::keyClick(Form().EditHue, Qt::Key_Up);
  EXPECT_EQ(Form().EditHue->text(), "360");
  EXPECT_EQ(Form().PreviewColourValue(), DeriveAnchorColour(360, 7));
  Form().EditSat->setFocus();
  for (int i = 0; i < 10; ++i) QTest::keyClick(Form().EditSat, Qt::Key_Down);
  EXPECT_EQ(Form().EditSat->text(), "0");
  EXPECT_EQ(Form().PreviewColourValue(), 0xFFFFFFu);
}

TEST_F(ColourEditor, ResetColoursKeepsTheEditorsValues) {
  Open();
  Click(Patch(4));
  TypeInto(Form().EditHue, "120");
  TypeInto(Form().EditSat, "100");
  Click(Form().ButtonUpdateColour);
  TypeInto(Form().EditHue, "200");
  Click(Form().ButtonFactoryReset);
  EXPECT_EQ(Form().AnchorValueOf(4).hue, 15);
  EXPECT_EQ(Form().AnchorValueOf(4).saturation, 25);
  EXPECT_EQ(Form().AnchorColourOf(4), 0xBFCFFFu);
  ExpectShownTableEquals(*Table(FactoryTableInputs()));
  EXPECT_EQ(Form().EditHue->text(), "200");
  EXPECT_EQ(Form().PreviewHueValue(), 200);
  EXPECT_EQ(Form().PaintBoxTest->Tag, 4);
  Click(Form().ButtonUpdateColour);
  EXPECT_EQ(Form().AnchorValueOf(4).hue, 200);
  EXPECT_EQ(Form().AnchorValueOf(4).saturation, 100);
  ExpectShownTableEquals(*FactoryTableWith(4, {200, 100}));
}

TEST_F(ColourEditor, ResetColoursKeepsTheOptions) {
  Open();
  Click(Form().CheckBoxWhiteTop);
  TypeInto(Form().EditTailPercent, "40");
  Click(Form().ButtonFactoryReset);
  EXPECT_FALSE(Form().CheckBoxWhiteTop->isChecked());
  ExpectShownTableEquals(*Table(FactoryTableInputs(40, false, true)));
}

TEST_F(ColourEditor, DisabledEditorTakesNoInput) {
  Open();
  Click(Form().ButtonUpdateColour);
  QTest::mouseClick(Form().UpDownHue, Qt::LeftButton, {}, QPoint(7, 3));
  EXPECT_EQ(Form().EditHue->text(), "0");
  EXPECT_EQ(Form().PreviewColourValue(), 0u);
  Form().ButtonUpdateColourClick(Form().ButtonUpdateColour);  // even when called, no anchor is selected
  EXPECT_EQ(Form().AnchorColourOf(-7), 0xFF884Du);
  ExpectShownTableEquals(*Table(FactoryTableInputs()));
}

// Hue 0 and saturation 0 are what the fields show before any anchor was picked, so picking such
// an anchor first computes no New colour: Update must still keep the anchor white, as stored.
TEST_F(ColourEditor, UpdatingAWhiteAnchorPickedFirstKeepsItWhite) {
  Open();
  Palette palette = Form().CurrentPalette();
  palette.anchors[AnchorSlot(2)] = {0, 0};
  Form().ApplyPalette(palette);
  Click(Patch(2));
  Click(Form().ButtonUpdateColour);
  EXPECT_EQ(Form().AnchorColourOf(2), 0xFFFFFFu);
  EXPECT_EQ(ScreenPixel(Patch(2), 9, 9), qRgb(255, 255, 255));
  EXPECT_EQ(Form().CurrentPalette(), palette);
  ExpectShownTableEquals(*FactoryTableWith(2, {0, 0}));
}

TEST_F(ColourEditor, EscapeDoesNothing) {
  Open();
  Click(Patch(1));
  TypeInto(Form().EditHue, "100");
  QTest::keyClick(Form().EditHue, Qt::Key_Escape);
  EXPECT_TRUE(Form().isVisible());
  EXPECT_EQ(Form().EditHue->text(), "100");
  EXPECT_NE(Form().Table(), nullptr);
}

}  // namespace
}  // namespace palettor::test
