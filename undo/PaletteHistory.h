#pragma once
// Undo and redo of the window's palette. Every change of the palette shown is one step: the
// user's edits, which the window reports (PaletteEdited) after showing them, and palettes put in
// from outside (an imported file, a palette picked by name) through Apply. A step records the
// whole palette before and after, so undoing one brings back exactly the earlier anchors,
// options, patches and table; the editor's own fields (selection, spinners, New swatch) are
// not part of it.
#include <QObject>
#include <QString>
#include <QUndoStack>

#include "Palette.h"

namespace palettor {

class TFormPalettor;

class PaletteHistory final : public QObject {
  Q_OBJECT
 public:
  // Follows `form`'s edits from now on; a child of `form`.
  explicit PaletteHistory(TFormPalettor& form);

  QUndoStack& Stack() { return stack_; }

  // Shows `palette` in the window as one step called `what` ("Import my.json"). A palette that
  // is the one shown already changes nothing and adds no step; returns whether it added one.
  bool Apply(const Palette& palette, const QString& what);

 private:
  void Record(const Palette& before, const Palette& after, const QString& what, bool shown);

  TFormPalettor& form_;
  QUndoStack stack_;
};

}  // namespace palettor
