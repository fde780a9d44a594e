#pragma once
// The window's modal conversations with the user — the file dialogs, the questions and the
// message boxes — go through this interface so that tests can answer them without a modal loop.
#include <QFileDialog>
#include <QString>

namespace palettor {

// The save dialog's properties. The filter holds description and pattern separated by '|'.
struct TSaveDialog {
  QString DefaultExt = QStringLiteral("bmp");
  QString Filter = QStringLiteral("Bitmap files (*.bmp)|*.bmp");
  QString InitialDir;
  QString FileName;  // the chosen name after Execute; kept between showings
  bool OverwritePrompt = true;
  bool HideReadOnly = true;
  bool PathMustExist = true;
  bool NoReadOnlyReturn = true;
  bool EnableSizing = true;
  QString Title;  // "" for the platform's default
};

// The open dialog's properties, in the same form: it picks one existing file.
struct TOpenDialog {
  QString Filter;
  QString InitialDir;
  QString FileName;  // the chosen name after Execute; kept between showings
  QString Title;
};

class IDialogHost {
 public:
  virtual ~IDialogHost() = default;
  // Shows the dialog modally; true and dialog.FileName set when the user chose a file.
  virtual bool ExecuteSaveDialog(QWidget* parent, TSaveDialog& dialog) = 0;
  // Shows the dialog modally; true and dialog.FileName set when the user chose an existing file.
  virtual bool ExecuteOpenDialog(QWidget* parent, TOpenDialog& dialog) = 0;
  // A message with an OK button; returns when it is closed.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // A failure the user must hear about, with the reason.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
  // Asks for one line of text, starting from `text`; true and `text` set when the user confirmed.
  virtual bool PromptText(QWidget* parent, const QString& title, const QString& label, QString& text) = 0;
  // A question answered Yes (true) or No.
  virtual bool Confirm(QWidget* parent, const QString& text) = 0;
  // A warning with one button per choice, the first the default; the index of the one pressed,
  // or -1 when the box was closed without one.
  virtual int Choose(QWidget* parent, const QString& text, const QStringList& choices) = 0;
  // One of `items` picked from a list; true and `chosen` set to its index when the user confirmed.
  virtual bool ChooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
                          int& chosen) = 0;
};

// The real thing: Qt's own file dialog and message boxes.
class TQtDialogHost final : public IDialogHost {
 public:
  bool ExecuteSaveDialog(QWidget* parent, TSaveDialog& dialog) override;
  void ShowMessage(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& text) override;
  bool ExecuteOpenDialog(QWidget* parent, TOpenDialog& dialog) override;
  bool PromptText(QWidget* parent, const QString& title, const QString& label, QString& text) override;
  bool Confirm(QWidget* parent, const QString& text) override;
  int Choose(QWidget* parent, const QString& text, const QStringList& choices) override;
  bool ChooseItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
                  int& chosen) override;
};

// The file dialog TQtDialogHost shows, set up from the properties. Beyond what Qt's dialog
// does by itself, it refuses a name in a folder that does not exist and a read-only file.
class TSaveFileDialog : public QFileDialog {
  Q_OBJECT
 public:
  TSaveFileDialog(QWidget* parent, const TSaveDialog& dialog);
  void accept() override;

 private:
  bool pathMustExist_;
  bool noReadOnlyReturn_;
};

}  // namespace palettor
