#pragma once
// Edit > Night floor: the night floor of the palette shown, as radio items Off, 10 % ... 50 %,
// the palette's own one ticked. Choosing one shows the palette with that floor as one undoable
// step ("Night floor 30 %"). A floor that is not on the list (25 from a palette file or the
// store) gets an item of its own, ticked and in its place among the others, for as long as the
// palette shown has it.
#include <QMenu>
#include <array>

class QAction;

namespace palettor {

class PaletteHistory;
class TFormPalettor;

class NightFloorMenu final : public QMenu {
  Q_OBJECT
 public:
  // The floors the menu lists, in percent.
  static constexpr std::array<int, 6> kListedFloors = {0, 10, 20, 30, 40, 50};

  NightFloorMenu(TFormPalettor& form, PaletteHistory& history);

  // The items' text for a floor: "Off" for 0, "30 %" otherwise.
  static QString FloorText(int percent);

  // Ticks the palette's floor; done whenever the window shows a new table.
  void Refresh();

 private:
  void Choose(int percent);

  TFormPalettor& form_;
  PaletteHistory& history_;
  std::array<QAction*, kListedFloors.size()> listed_{};
  QAction* other_;  // a floor not on the list; in the menu only while such a floor is shown
};

}  // namespace palettor
