#include "PalettesSubmenu.h"

#include <QAction>
#include <QDir>

#include "PaletteHistory.h"
#include "PaletteLibrary.h"
#include "PalettorForm.h"
#include "ShownFileName.h"
#include "ShownNames.h"

namespace palettor {

namespace {

QString MenuText(const QString& name) { return MenuName(name).replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

PalettesSubmenu::PalettesSubmenu(TFormPalettor& form, PaletteHistory& history)
    : QMenu(QStringLiteral("&Palettes"), &form), form_(form), history_(history) {
  setObjectName(QStringLiteral("FilePalettes"));
  setFont(form.font());
  connect(this, &QMenu::aboutToShow, this, &PalettesSubmenu::Refresh);
  // The user's palettes are read when the menu first opens, so that a full folder does not slow
  // the window's start; only the folder itself is looked at here, to say once that it cannot be
  // read rather than leave the user's palettes missing without a word.
  Fill(ListPalettes({}));
  if (const QString problem = PaletteFolderProblem(UserPaletteFolder()); !problem.isEmpty()) {
    form_.Dialogs().ShowError(&form_, ShownName(problem) + QStringLiteral(".\nFile > Palettes lists the built-in "
                                                                          "palettes alone."));
  }
}

void PalettesSubmenu::Refresh() { Fill(ListPalettes(UserPaletteFolder(), &cache_)); }

void PalettesSubmenu::Fill(const PaletteListing& listing) {
  clear();
  const Palette shown = form_.CurrentPalette();
  bool builtIns = true;
  for (const NamedPalette& palette : listing.palettes) {
    if (builtIns && !palette.IsBuiltIn()) {
      addSeparator();
      builtIns = false;
    }
    QAction* item = addAction(MenuText(palette.name));
    item->setCheckable(true);
    item->setChecked(palette.palette == shown);
    if (!palette.IsBuiltIn()) item->setToolTip(ShownFileName(QDir::toNativeSeparators(palette.file)));
    const Palette chosen = palette.palette;
    const QString what = QStringLiteral("Palette ") + MenuName(palette.name);
    connect(item, &QAction::triggered, this, [this, chosen, what] { history_.Apply(chosen, what); });
  }
  setToolTipsVisible(true);
  addSeparator();
  QAction* save = addAction(QStringLiteral("&Save current palette as..."));
  save->setObjectName(QStringLiteral("PalettesSaveCurrent"));
  connect(save, &QAction::triggered, this, &PalettesSubmenu::SaveCurrent);
}

void PalettesSubmenu::SaveCurrent() {
  IDialogHost& dialogs = form_.Dialogs();
  QString name;
  if (!dialogs.PromptText(&form_, QStringLiteral("Save palette"), QStringLiteral("Name of the palette:"), name)) return;
  if (const UserPaletteName tidy = TidyUserPaletteName(name); !tidy.name) {
    dialogs.ShowError(&form_, QStringLiteral("The palette was not saved: ") + tidy.error.Message() + QLatin1Char('.'));
    return;
  }
  const QString folder = UserPaletteFolder();
  const PaletteListing listing = ListPalettes(folder, &cache_);
  if (const NamedPalette* existing = FindPalette(listing, name)) {
    if (!dialogs.Confirm(
            &form_,
            QStringLiteral("A palette called \"%1\" exists already. Replace it?").arg(ShownName(existing->name))))
      return;
  }
  const SavedPalette saved = SaveUserPalette(folder, name, form_.CurrentPalette());
  if (!saved.file) {
    dialogs.ShowError(&form_, QStringLiteral("The palette could not be saved.\n") + saved.error.Message());
    return;
  }
  Refresh();
  dialogs.ShowMessage(&form_,
                      QStringLiteral("Palette saved to ") + ShownFileName(QDir::toNativeSeparators(*saved.file)));
}

}  // namespace palettor
