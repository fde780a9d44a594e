// The window's session with the settings store beyond loading: the palette a window that ended
// without storing left in its recovery record, offered back once the window is shown, and the
// store at close, which asks the user what to do when another program holds the store.
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "PaletteFileWriter.h"
#include "ShownFileName.h"
#include "PalettorForm.h"
#include "RecoveryRecorder.h"
#include "RegistryTransaction.h"

namespace palettor {

namespace {

enum BusyChoice { kTryAgain, kExport, kCloseWithoutStoring };

QString Shown(const QString& path) {
  return ShownFileName(QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
}

}  // namespace

void TFormPalettor::OfferLeftBehindPalette() {
  if (!leftBehind_) return;
  const RecoveryRecord record = *std::exchange(leftBehind_, std::nullopt);
  const Palette before = CurrentPalette();
  if (record.palette && !(*record.palette == before) && !destroyed_ &&
      dialogs_->Confirm(this, QStringLiteral("Palettor ended last time without storing the palette it showed.\n"
                                             "Show that palette again? Edit > Undo goes back to the stored one."))) {
    ApplyPalette(*record.palette);
    emit PaletteEdited(before, palette_, QStringLiteral("Recovered palette"));
    recorder_->Flush();  // the record is this session's from now on
    return;
  }
  try {
    DropRecoveryRecord(currentUser_, record.session);
  } catch (const ERegistryException&) {
    // It is offered again at the next start.
  }
}

void TFormPalettor::StoreChangesAndDropRecord() {
  const auto toStore = SettingsToStore(start_, palette_);
  const auto tableToStore = TableValuesToStore(start_, palette_);
  const bool changed = std::find(toStore.begin(), toStore.end(), true) != toStore.end() ||
                       std::find(tableToStore.begin(), tableToStore.end(), true) != tableToStore.end();
  if (!changed && !recorder_->Recorded()) return;  // nothing to write, so nothing is
  RegistryTransaction close(currentUser_.Store(), RegistryTransactionMode::Write);
  // Smooth colours, tail percent, White top, then the anchors, as the window always wrote them;
  // then the table subkey's.
  StorePaletteChanges(currentUser_, start_, palette_);
  if (recorder_->Recorded()) DropOwnRecoveryRecord(currentUser_);
  close.Commit();
}

void TFormPalettor::StoreSession(bool ask) {
  if (sessionStored_ || !storeAtClose_) return;
  sessionStored_ = true;
  recorder_->Stop();
  palette_.tailPercent = UpDownTailPercent->GetPosition();  // a number typed in counts
  for (;;) {
    try {
      StoreChangesAndDropRecord();
      return;
    } catch (const EStoreBusy& error) {
      if (!ask) return;
      const int choice = dialogs_->Choose(
          this,
          QStringLiteral("The palette shown could not be stored: another program holds the settings store (") +
              QString::fromStdString(error.what()) +
              QStringLiteral(").\nTry again, or export the palette to a file. Closed without storing, Palettor "
                             "offers this palette back when it next starts."),
          {QStringLiteral("Try again"), QStringLiteral("Export palette..."), QStringLiteral("Close without storing")});
      if (choice == kTryAgain) continue;
      if (choice == kExport && !ExportBeforeClosing()) continue;
      return;
    } catch (const ERegistryException&) {
      return;  // not reported, as no other store failure is
    }
  }
}

bool TFormPalettor::ExportBeforeClosing() {
  TSaveDialog dialog;
  dialog.DefaultExt = QStringLiteral("json");
  dialog.Filter = QStringLiteral("Palette files (*.json)|*.json");
  dialog.Title = QStringLiteral("Export palette");
  if (!dialogs_->ExecuteSaveDialog(this, dialog)) return false;
  PaletteFileWriter writer;
  if (!writer.Write(palette_, QFileInfo(dialog.FileName).completeBaseName(), dialog.FileName)) {
    dialogs_->ShowError(this, QStringLiteral("Palette could not be saved to ") + Shown(dialog.FileName) +
                                  QStringLiteral(":\n") + writer.ErrorString());
    return false;
  }
  dialogs_->ShowMessage(this, QStringLiteral("Palette saved to ") + Shown(dialog.FileName));
  return true;
}

}  // namespace palettor
