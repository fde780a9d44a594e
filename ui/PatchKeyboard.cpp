#include "PatchKeyboard.h"

#include <QKeyEvent>
#include <algorithm>

namespace palettor {

PatchKeyboard::PatchKeyboard(std::vector<TPaintBox*> boxes, QWidget* previous, QObject* parent)
    : QObject(parent), boxes_(std::move(boxes)) {
  // Qt orders only widgets that take the focus by Tab: all of them, while they are placed.
  QWidget* before = previous;
  for (TPaintBox* box : boxes_) {
    box->setFocusPolicy(Qt::TabFocus);
    box->installEventFilter(this);
    QWidget::setTabOrder(before, box);
    before = box;
  }
  for (std::size_t i = 1; i < boxes_.size(); ++i) boxes_[i]->setFocusPolicy(Qt::NoFocus);
}

// Only the current box is a tab stop; the others are reached with the arrow keys.
void PatchKeyboard::MakeCurrent(std::size_t index) {
  boxes_[current_]->setFocusPolicy(Qt::NoFocus);
  current_ = index;
  boxes_[current_]->setFocusPolicy(Qt::TabFocus);
}

bool PatchKeyboard::eventFilter(QObject* watched, QEvent* event) {
  const auto at = std::find(boxes_.begin(), boxes_.end(), watched);
  if (at == boxes_.end()) return QObject::eventFilter(watched, event);
  const auto index = static_cast<std::size_t>(at - boxes_.begin());
  if (event->type() == QEvent::FocusIn && index != current_) MakeCurrent(index);
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);

  const auto* key = static_cast<QKeyEvent*>(event);
  if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  std::size_t target = index;
  switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: target = index > 0 ? index - 1 : index; break;
    case Qt::Key_Right:
    case Qt::Key_Down: target = index + 1 < boxes_.size() ? index + 1 : index; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = boxes_.size() - 1; break;
    default: return false;
  }
  if (target != index) {
    MakeCurrent(target);
    boxes_[target]->setFocus(Qt::OtherFocusReason);
  }
  return true;
}

}  // namespace palettor
