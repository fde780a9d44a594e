// What the window tells assistive technology and how it is used from the keyboard beyond the tab
// order it was laid out with: names and descriptions for every control, the labels that name
// the edit boxes, and the anchor patches as one more tab stop after the window's own controls.
#include <QString>

#include "PalettorForm.h"
#include "PatchKeyboard.h"
#include "SettingsCatalogue.h"

namespace palettor {

namespace {

const QChar kDegree(0x00B0);

// "−30 °C anchor", "+10 °C anchor", "blue tail anchor": the patch as the scale above it reads,
// with a true minus sign, which speech reads as "minus".
QString PatchName(int index) {
  if (index == kBlueTailAnchor) return QStringLiteral("blue tail anchor");
  const int celsius = index * 10;
  const QString number = celsius < 0   ? QChar(0x2212) + QString::number(-celsius)
                         : celsius > 0 ? QLatin1Char('+') + QString::number(celsius)
                                       : QStringLiteral("0");
  return number + QLatin1Char(' ') + kDegree + QStringLiteral("C anchor");
}

QString RangeOf(SettingId id) { return QString::fromStdString(RangeText(id)); }

QString HueAndSaturation(int hue, int saturation) {
  return QStringLiteral("hue %1%2, saturation %3%").arg(hue).arg(kDegree).arg(saturation);
}

}  // namespace

void TFormPalettor::MakeAccessible() {
  ImageLUT->setAccessibleName(QStringLiteral("Colour look-up table"));
  ImageLUT->setAccessibleDescription(QStringLiteral("The table Save bitmap writes: one column per degree from ") +
                                     QChar(0x2212) + QStringLiteral("60 to +39 ") + kDegree +
                                     QStringLiteral("C, left to right, and one row per brightness level, brightest "
                                                    "at the top"));
  CheckBoxSmooth->setAccessibleDescription(
      QStringLiteral("Blend between neighbouring anchors; cleared, each ten degrees keep one colour"));
  EditTailPercent->setAccessibleName(QStringLiteral("Blue tail percent"));
  EditTailPercent->setAccessibleDescription(
      QStringLiteral("How many of the dark rows, %1 percent, take the blue tail's colour")
          .arg(RangeOf(SettingId::TailPercent)));
  UpDownTailPercent->setAccessibleName(QStringLiteral("Blue tail percent spinner"));
  LabelBlueTail->setBuddy(EditTailPercent);
  GroupBoxColourEditor->setAccessibleName(GroupBoxColourEditor->title().trimmed());
  EditHue->setAccessibleName(QStringLiteral("Hue"));
  EditHue->setAccessibleDescription(QStringLiteral("Hue of the selected anchor in degrees, ") +
                                    RangeOf(HueSetting(kFirstAnchor)));
  UpDownHue->setAccessibleName(QStringLiteral("Hue spinner"));
  LabelHue->setBuddy(EditHue);
  EditSat->setAccessibleName(QStringLiteral("Saturation"));
  EditSat->setAccessibleDescription(QStringLiteral("Saturation of the selected anchor in percent, ") +
                                    RangeOf(SaturationSetting(kFirstAnchor)));
  UpDownSat->setAccessibleName(QStringLiteral("Saturation spinner"));
  LabelSat->setBuddy(EditSat);
  LabelTempIndex->setAccessibleDescription(QStringLiteral("The anchor being edited"));
  ButtonUpdateColour->setAccessibleDescription(QStringLiteral("Gives the selected anchor the new colour"));
  ButtonSave->setAccessibleDescription(
      QStringLiteral("Writes the table as TempToColourUser.bmp into the viewer's "
                     "folder"));

  PaintBoxTest->setAccessibleName(QStringLiteral("Old colour"));
  PaintBoxTest->OnDescribe = [this] {
    const int t = PaintBoxTest->Tag;
    if (!IsAnchorIndex(t)) return QStringLiteral("No anchor selected");
    const AnchorValue anchor = AnchorValueOf(t);
    return QStringLiteral("The %1: %2").arg(PatchName(t), HueAndSaturation(anchor.hue, anchor.saturation));
  };
  PaintBoxTry->setAccessibleName(QStringLiteral("New colour"));
  PaintBoxTry->OnDescribe = [this] {
    if (!IsAnchorIndex(PaintBoxTest->Tag)) return QStringLiteral("No anchor selected");
    return QStringLiteral("As edited: ") + HueAndSaturation(PreviewHue, PreviewSat);
  };

  GroupBoxMonitorCheck->setAccessibleName(GroupBoxMonitorCheck->title().trimmed());
  PaintBoxBlack->setAccessibleName(QStringLiteral("Black test circle"));
  PaintBoxBlack->setAccessibleDescription(QStringLiteral("A near-black grey dot should show inside it"));
  PaintBoxWhite->setAccessibleName(QStringLiteral("White test circle"));
  PaintBoxWhite->setAccessibleDescription(QStringLiteral("A near-white grey dot should show inside it"));

  // Left to right along the scale, then the blue tail's patch beside the tail percent.
  std::vector<TPaintBox*> patches{PaintBoxM60, PaintBoxM50, PaintBoxM40, PaintBoxM30, PaintBoxM20, PaintBoxM10,
                                  PaintBoxO0,  PaintBoxP10, PaintBoxP20, PaintBoxP30, PaintBoxP40, PaintBoxM70};
  for (TPaintBox* patch : patches) {
    patch->AccessibleRole = QAccessible::Button;
    patch->setAccessibleName(PatchName(patch->Tag));
    patch->OnDescribe = [this, index = patch->Tag] {
      const AnchorValue anchor = AnchorValueOf(index);
      return HueAndSaturation(anchor.hue, anchor.saturation);
    };
  }
  new PatchKeyboard(std::move(patches), ButtonSave, this);
}

}  // namespace palettor
