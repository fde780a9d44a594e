#include "DialogHost.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace palettor {

namespace {

QString MessageTitle() { return QCoreApplication::applicationName(); }

// "Bitmap files (*.bmp)|*.bmp" -> "Bitmap files (*.bmp)", one entry per description|pattern pair.
QStringList NameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    filters << (description.contains(pattern) ? description
                                              : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
  }
  return filters;
}

}  // namespace

TSaveFileDialog::TSaveFileDialog(QWidget* parent, const TSaveDialog& dialog)
    : QFileDialog(parent), pathMustExist_(dialog.PathMustExist), noReadOnlyReturn_(dialog.NoReadOnlyReturn) {
  setObjectName(QStringLiteral("SaveDialog"));
  // Qt's own dialog behaves the same on every desktop and under test; a native one would not.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setDefaultSuffix(dialog.DefaultExt);
  setNameFilters(NameFilters(dialog.Filter));
  setOption(QFileDialog::DontConfirmOverwrite, !dialog.OverwritePrompt);
  setSizeGripEnabled(dialog.EnableSizing);
  if (!dialog.Title.isEmpty()) setWindowTitle(dialog.Title);
  if (!dialog.InitialDir.isEmpty()) setDirectory(dialog.InitialDir);
  if (!dialog.FileName.isEmpty()) selectFile(dialog.FileName);
  if (!dialog.Title.isEmpty()) setWindowTitle(dialog.Title);
}

void TSaveFileDialog::accept() {
  const QStringList files = selectedFiles();
  if (!files.isEmpty()) {
    const QFileInfo chosen(files.first());
    if (!chosen.isDir()) {
      if (pathMustExist_ && !QFileInfo(chosen.absolutePath()).isDir()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The folder %1 does not exist.").arg(QDir::toNativeSeparators(chosen.absolutePath())));
        return;
      }
      if (noReadOnlyReturn_ && chosen.exists() && !chosen.isWritable()) {
        QMessageBox::warning(this, windowTitle(), tr("%1 is read-only. Choose another name.").arg(chosen.fileName()));
        return;
      }
    }
  }
  QFileDialog::accept();
}

bool TQtDialogHost::ExecuteSaveDialog(QWidget* parent, TSaveDialog& dialog) {
  TSaveFileDialog fileDialog(parent, dialog);
  if (fileDialog.exec() != QDialog::Accepted) return false;
  const QStringList files = fileDialog.selectedFiles();
  if (files.isEmpty()) return false;
  dialog.FileName = files.first();
  return true;
}

bool TQtDialogHost::ExecuteOpenDialog(QWidget* parent, TOpenDialog& dialog) {
  QFileDialog fileDialog(parent);
  fileDialog.setObjectName(QStringLiteral("OpenDialog"));
  fileDialog.setOption(QFileDialog::DontUseNativeDialog, true);  // as the save dialog, for the same reason
  fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
  fileDialog.setFileMode(QFileDialog::ExistingFile);
  if (!dialog.Filter.isEmpty()) fileDialog.setNameFilters(NameFilters(dialog.Filter));
  if (!dialog.Title.isEmpty()) fileDialog.setWindowTitle(dialog.Title);
  if (!dialog.InitialDir.isEmpty()) fileDialog.setDirectory(dialog.InitialDir);
  if (!dialog.FileName.isEmpty()) fileDialog.selectFile(dialog.FileName);
  if (fileDialog.exec() != QDialog::Accepted) return false;
  const QStringList files = fileDialog.selectedFiles();
  if (files.isEmpty()) return false;
  dialog.FileName = files.first();
  return true;
}

void TQtDialogHost::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, MessageTitle(), text, QMessageBox::Ok);
}

void TQtDialogHost::ShowError(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, MessageTitle(), text, QMessageBox::Ok);
}

bool TQtDialogHost::PromptText(QWidget* parent, const QString& title, const QString& label, QString& text) {
  bool accepted = false;
  const QString answer = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &accepted);
  if (!accepted) return false;
  text = answer;
  return true;
}

bool TQtDialogHost::Confirm(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, MessageTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

int TQtDialogHost::Choose(QWidget* parent, const QString& text, const QStringList& choices) {
  QMessageBox box(QMessageBox::Warning, MessageTitle(), text, QMessageBox::NoButton, parent);
  QList<QAbstractButton*> buttons;
  for (const QString& choice : choices) buttons << box.addButton(choice, QMessageBox::ActionRole);
  if (!buttons.isEmpty()) box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
  box.exec();
  return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

bool TQtDialogHost::ChooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
                               int& chosen) {
  bool accepted = false;
  const QString answer = QInputDialog::getItem(parent, title, label, items, 0, false, &accepted);
  if (!accepted || !items.contains(answer)) return false;
  chosen = static_cast<int>(items.indexOf(answer));
  return true;
}

}  // namespace palettor
