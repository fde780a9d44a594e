#include "About.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "FormFont.h"
#include "QtVersionTargets.h"

namespace palettor {

namespace {

constexpr int kClientWidth = 298;
constexpr int kClientHeight = 213;

// Stands in for the program icon until the application's own is shown: the sixteen colours of the
// classic 16-colour palette in a 4 x 4 grid.
QPixmap PlaceholderIcon() {
  static const QRgb kColours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  QPixmap icon(32, 32);
  QPainter painter(&icon);
  for (int i = 0; i < 16; ++i) painter.fillRect((i % 4) * 8, (i / 4) * 8, 8, 8, QColor::fromRgb(kColours[i]));
  return icon;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const char* caption) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->move(left, top);
  SetLabelCaption(label, caption);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  setFixedSize(kClientWidth, kClientHeight);
  setFont(FormFont());

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(8, 8, 281, 161);
  // A raised inner bevel inside a lowered outer one.
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setMidLineWidth(1);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setGeometry(8, 8, 65, 57);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(PlaceholderIcon());

  ProductName = MakeLabel(Panel1, "ProductName", 88, 16, "Product Name");
  Version = MakeLabel(Panel1, "Version", 88, 40, "Version");
  Copyright = MakeLabel(Panel1, "Copyright", 8, 80, "Copyright");
  Comments = new QLabel(Panel1);
  Comments->setObjectName("Comments");
  Comments->setWordWrap(true);
  Comments->setGeometry(8, 104, 265, 26);
  Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetLabelCaption(Comments, "Comments");

  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setGeometry(111, 180, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (cancelButton_ != nullptr) cancelButton_->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent* event) {
  // Centred on the screen every time it opens.
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(event);
}

}  // namespace palettor
