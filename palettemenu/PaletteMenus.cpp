#include "PaletteMenus.h"

#include <QMenuBar>

#include "PalettorForm.h"

namespace palettor {

namespace {

QAction* FileItem(TFormPalettor& form, const QString& text, const char* name) {
  auto* item = new QAction(text, form.File1);
  item->setObjectName(QString::fromLatin1(name));
  form.File1->insertAction(form.N1, item);
  return item;
}

}  // namespace

PaletteMenus InstallPaletteMenus(TFormPalettor& form) {
  PaletteMenus added{};
  added.history = new PaletteHistory(form);
  added.edit = BuildEditMenu(&form, added.history->Stack());
  form.MainMenu1->insertMenu(form.Help1->menuAction(), added.edit);
  added.nightFloor = new NightFloorMenu(form, *added.history);
  added.edit->addSeparator();
  added.edit->addMenu(added.nightFloor);

  added.commands = new PaletteFileCommands(form, *added.history);
  added.palettes = new PalettesSubmenu(form, *added.history);
  form.File1->insertSeparator(form.N1)->setObjectName(QStringLiteral("N2"));
  QObject::connect(FileItem(form, QStringLiteral("&Import palette..."), "FileImportPalette"), &QAction::triggered,
                   added.commands, &PaletteFileCommands::ImportPalette);
  QObject::connect(FileItem(form, QStringLiteral("&Export palette..."), "FileExportPalette"), &QAction::triggered,
                   added.commands, &PaletteFileCommands::ExportPalette);
  form.File1->insertMenu(form.N1, added.palettes);
  QObject::connect(FileItem(form, QStringLiteral("Export &legend..."), "FileExportLegend"), &QAction::triggered,
                   added.commands, &PaletteFileCommands::ExportLegend);
  return added;
}

}  // namespace palettor
