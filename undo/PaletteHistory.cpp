#include "PaletteHistory.h"

#include <QUndoCommand>

#include "PalettorForm.h"

namespace palettor {

namespace {

class PaletteChange final : public QUndoCommand {
 public:
  // `shown`: the window shows `after` already, as after an edit of the user's; the stack's
  // first redo, which comes with the push, must then leave it alone.
  PaletteChange(TFormPalettor& form, const Palette& before, const Palette& after, const QString& what, bool shown)
      : form_(form), before_(before), after_(after), skipRedo_(shown) {
    // The text goes into the menu items, where '&' would mark a mnemonic.
    setText(QString(what).replace(QLatin1Char('&'), QStringLiteral("&&")));
  }

  void undo() override { form_.ApplyPalette(before_); }
  void redo() override {
    if (skipRedo_) {
      skipRedo_ = false;
      return;
    }
    form_.ApplyPalette(after_);
  }

 private:
  TFormPalettor& form_;
  const Palette before_, after_;
  bool skipRedo_;
};

}  // namespace

PaletteHistory::PaletteHistory(TFormPalettor& form) : QObject(&form), form_(form) {
  stack_.setObjectName(QStringLiteral("PaletteUndoStack"));
  connect(
      &form_, &TFormPalettor::PaletteEdited, this,
      [this](const Palette& before, const Palette& after, const QString& what) { Record(before, after, what, true); });
}

bool PaletteHistory::Apply(const Palette& palette, const QString& what) {
  const Palette before = form_.CurrentPalette();
  if (palette == before) return false;
  Record(before, palette, what, false);
  return true;
}

void PaletteHistory::Record(const Palette& before, const Palette& after, const QString& what, bool shown) {
  stack_.push(new PaletteChange(form_, before, after, what, shown));
}

}  // namespace palettor
