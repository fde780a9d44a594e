#include "PalettesSubmenu.h"

#include <QAction>
#include <QDir>

#include "PaletteHistory.h"
#include "PaletteLibrary.h"
#include "PalettorForm.h"

namespace palettor {

namespace {

QString MenuText(const QString& name) { return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

PalettesSubmenu::PalettesSubmenu(TFormPalettor& form, PaletteHistory& history)
    : QMenu(QStringLiteral("&Palettes"), &form), form_(form), history_(history) {
  setObjectName(QStringLiteral("FilePalettes"));
  setFont(form.font());
  connect(this, &QMenu::aboutToShow, this, &PalettesSubmenu::Refresh);
  Refresh();
}

void PalettesSubmenu::Refresh() {
  clear();
  const PaletteListing listing = ListPalettes(UserPaletteFolder());
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
    if (!palette.IsBuiltIn()) item->setToolTip(QDir::toNativeSeparators(palette.file));
    const Palette chosen = palette.palette;
    const QString what = QStringLiteral("Palette ") + palette.name;
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
  const PaletteListing listing = ListPalettes(folder);
  if (const NamedPalette* existing = FindPalette(listing, name)) {
    if (!dialogs.Confirm(&form_,
                         QStringLiteral("A palette called \"%1\" exists already. Replace it?").arg(existing->name)))
      return;
  }
  const SavedPalette saved = SaveUserPalette(folder, name, form_.CurrentPalette());
  if (!saved.file) {
    dialogs.ShowError(&form_, QStringLiteral("The palette could not be saved.\n") + saved.error.Message());
    return;
  }
  Refresh();
  dialogs.ShowMessage(&form_, QStringLiteral("Palette saved to ") + QDir::toNativeSeparators(*saved.file));
}

}  // namespace palettor
