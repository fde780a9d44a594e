#include "NightFloorMenu.h"

#include <QAction>
#include <QActionGroup>

#include "PaletteHistory.h"
#include "PalettorForm.h"

namespace palettor {

NightFloorMenu::NightFloorMenu(TFormPalettor& form, PaletteHistory& history)
    : QMenu(QStringLiteral("&Night floor"), &form), form_(form), history_(history) {
  setObjectName(QStringLiteral("EditNightFloor"));
  setFont(form.font());
  auto* group = new QActionGroup(this);
  for (std::size_t i = 0; i < kListedFloors.size(); ++i) {
    const int percent = kListedFloors[i];
    // The first character is the item's key: O, 1 ... 5.
    listed_[i] = addAction(QLatin1Char('&') + FloorText(percent));
    listed_[i]->setObjectName(QStringLiteral("NightFloor%1").arg(percent));
    connect(listed_[i], &QAction::triggered, this, [this, percent] { Choose(percent); });
  }
  other_ = new QAction(this);
  other_->setObjectName(QStringLiteral("NightFloorOther"));
  for (QAction* item : listed_) group->addAction(item)->setCheckable(true);
  group->addAction(other_)->setCheckable(true);
  connect(&form_, &TFormPalettor::TableRebuilt, this, &NightFloorMenu::Refresh);
  Refresh();
}

QString NightFloorMenu::FloorText(int percent) {
  return percent == 0 ? QStringLiteral("Off") : QStringLiteral("%1 %").arg(percent);
}

void NightFloorMenu::Refresh() {
  const int shown = form_.CurrentPalette().nightFloorPercent;
  bool listed = false;
  for (std::size_t i = 0; i < kListedFloors.size(); ++i) {
    const bool isShown = kListedFloors[i] == shown;
    listed_[i]->setChecked(isShown);
    listed = listed || isShown;
  }
  if (listed) {
    removeAction(other_);
    return;
  }
  other_->setText(FloorText(shown));
  // Before the first listed floor above it, or last.
  QAction* before = nullptr;
  for (std::size_t i = kListedFloors.size(); i-- > 0 && kListedFloors[i] > shown;) before = listed_[i];
  insertAction(before, other_);
  other_->setChecked(true);
}

void NightFloorMenu::Choose(int percent) {
  Palette chosen = form_.CurrentPalette();
  chosen.nightFloorPercent = percent;
  history_.Apply(chosen, QStringLiteral("Night floor ") + FloorText(percent));
  Refresh();  // choosing the floor shown already changes nothing, the tick included
}

}  // namespace palettor
