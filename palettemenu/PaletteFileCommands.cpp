#include "PaletteFileCommands.h"

#include <QDir>
#include <QFileInfo>

#include "OutputFile.h"
#include "PaletteFile.h"
#include "PaletteHistory.h"
#include "PalettorForm.h"
#include "TableLegendWriter.h"

namespace palettor {

namespace {

QString Shown(const QString& path) {
  return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
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

template <typename Bytes>
void PaletteFileCommands::SaveThrough(TSaveDialog& dialog, const QString& what, Bytes bytes) {
  if (!form_.Dialogs().ExecuteSaveDialog(&form_, dialog)) return;
  const QString target = dialog.FileName;
  const QByteArray content = bytes(target);
  QString reason;
  if (content.isEmpty()) reason = QStringLiteral("could not encode the file");
  if (reason.isEmpty() && WriteOutputFile(target, content, reason)) {
    form_.Dialogs().ShowMessage(&form_, what + QStringLiteral(" saved to ") + Shown(target));
  } else {
    form_.Dialogs().ShowError(
        &form_, what + QStringLiteral(" could not be saved to ") + Shown(target) + QStringLiteral(":\n") + reason);
  }
}

void PaletteFileCommands::ExportPalette() {
  SaveThrough(exportDialog_, QStringLiteral("Palette"), [this](const QString& target) {
    return FormatPalette({form_.CurrentPalette(), QFileInfo(target).completeBaseName()});
  });
}

void PaletteFileCommands::ExportLegend() {
  SaveThrough(legendDialog_, QStringLiteral("Legend"), [this](const QString&) {
    const LutPixels* table = form_.Table();
    const LegendPlan plan = PlanLegend(std::nullopt, std::nullopt);
    return table && plan.layout ? TableLegendWriter::Encode(*table, *plan.layout) : QByteArray();
  });
}

}  // namespace palettor
