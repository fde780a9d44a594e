#include "PaletteFileCommands.h"

#include <QDir>
#include <QFileInfo>

#include "PaletteFile.h"
#include "PaletteFileWriter.h"
#include "PaletteHistory.h"
#include "PalettorForm.h"
#include "ShownFileName.h"
#include "TableLegendWriter.h"

namespace palettor {

namespace {

QString Shown(const QString& path) {
  return ShownFileName(QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
}

}  // namespace

PaletteFileCommands::PaletteFileCommands(TFormPalettor& form, PaletteHistory& history)
    : QObject(&form), form_(form), history_(history) {
  importDialog_.Filter = QStringLiteral("Palette files (*.json)|*.json|All files|*");
  importDialog_.Title = QStringLiteral("Import palette");
  exportDialog_.DefaultExt = QStringLiteral("json");
  exportDialog_.Filter = QStringLiteral("Palette files (*.json)|*.json");
  exportDialog_.Title = QStringLiteral("Export palette");
  legendDialog_.DefaultExt = QStringLiteral("png");
  legendDialog_.Filter = QStringLiteral("PNG images (*.png)|*.png");
  legendDialog_.Title = QStringLiteral("Export legend");
}

void PaletteFileCommands::ImportPalette() {
  if (!form_.Dialogs().ExecuteOpenDialog(&form_, importDialog_)) return;
  const PaletteReadResult read = ReadPaletteFile(importDialog_.FileName, SpecialFiles::Refuse);
  if (!read.document) {
    form_.Dialogs().ShowError(&form_, QStringLiteral("The palette could not be imported.\n") + read.error.Message());
    return;
  }
  history_.Apply(read.document->palette, QStringLiteral("Import ") + QFileInfo(importDialog_.FileName).fileName());
}

void PaletteFileCommands::ReportSave(const QString& what, const QString& target, const FileWriter& writer,
                                     bool written) {
  if (written) {
    form_.Dialogs().ShowMessage(&form_, what + QStringLiteral(" saved to ") + Shown(target));
  } else {
    form_.Dialogs().ShowError(&form_, what + QStringLiteral(" could not be saved to ") + Shown(target) +
                                          QStringLiteral(":\n") + writer.ErrorString());
  }
}

void PaletteFileCommands::ExportPalette() {
  if (!form_.Dialogs().ExecuteSaveDialog(&form_, exportDialog_)) return;
  const QString target = exportDialog_.FileName;
  PaletteFileWriter writer;
  ReportSave(QStringLiteral("Palette"), target, writer,
             writer.Write(form_.CurrentPalette(), QFileInfo(target).completeBaseName(), target));
}

void PaletteFileCommands::ExportLegend() {
  if (!form_.Dialogs().ExecuteSaveDialog(&form_, legendDialog_)) return;
  const LutPixels* table = form_.Table();
  if (!table) return;  // the window is closing
  const QString target = legendDialog_.FileName;
  TableLegendWriter writer;
  ReportSave(QStringLiteral("Legend"), target, writer, writer.Write(*table, target));
}

}  // namespace palettor
