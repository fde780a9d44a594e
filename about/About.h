#pragma once
// TAboutBox: the plain about box the program's own about box is built on: a panel with the program
// icon, the product name, version, copyright and comments labels, and an OK button.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace palettor {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;
  QLabel* Comments;
  QPushButton* OKButton;

 protected:
  // Esc presses the cancel button; a box without one ignores it, as Enter always presses the default.
  void SetCancelButton(QPushButton* button) { cancelButton_ = button; }
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace palettor
