#pragma once
// Keyboard access to a row of paint boxes that together make one control, the anchor patches:
// a single stop in the tab order, right after `previous`, that lands on the box focused last
// (the first one to begin with); the arrow keys, Home and End move between the boxes. Space and
// Enter press the focused box (TPaintBox). Mouse clicks are left as they are: they take no focus.
#include <QObject>
#include <vector>

#include "FormControls.h"

namespace palettor {

class PatchKeyboard : public QObject {
  Q_OBJECT
 public:
  PatchKeyboard(std::vector<TPaintBox*> boxes, QWidget* previous, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MakeCurrent(std::size_t index);
  std::vector<TPaintBox*> boxes_;
  std::size_t current_ = 0;
};

}  // namespace palettor
