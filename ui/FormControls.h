#pragma once
// The controls the window is made of, as the window's code expects them to behave.
//
// Qt's own widgets differ from what the window relies on in a few places: a spinner here is
// paired with a separate edit box that shows its position as text and is read back from it;
// a paint box has no contents of its own and asks a handler to paint it; every control carries
// a Tag; a check box set from code must raise the same event as a click. These classes close
// those gaps and nothing more. Event handlers are plain callables taking the sender, so the
// window binds them by name the way a form description would.
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "LutTable.h"
#include "PackedColour.h"

class QPainter;
class QTimer;

namespace palettor {

using TNotifyEvent = std::function<void(QObject* Sender)>;

enum class TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(QObject* Sender, TUDBtnType Button)>;

// Brush and pen over one paint of a widget. Figures are drawn without antialiasing so the
// pixels are the same on every platform and at every paint.
class TCanvas {
 public:
  explicit TCanvas(QPainter& painter) : painter_(painter) {}
  void SetBrushColor(PackedColour colour) { brush_ = colour; }
  void SetPenColor(PackedColour colour) { pen_ = colour; }
  PackedColour BrushColor() const { return brush_; }
  PackedColour PenColor() const { return pen_; }

  // Fills [left, right) x [top, bottom) with the brush.
  void FillRect(int left, int top, int right, int bottom);

  // The ellipse inscribed in [X1, X2) x [Y1, Y2): a pixel belongs to it when its centre lies
  // on or inside the ellipse through the rectangle's edges. The figure is filled with the brush
  // and its edge pixels (those with a neighbour outside) are drawn with the 1-pixel pen.
  void Ellipse(int X1, int Y1, int X2, int Y2);

 private:
  void Pixels(int left, int top, int width, int height, PackedColour colour);
  QPainter& painter_;
  PackedColour brush_ = 0xFFFFFF;
  PackedColour pen_ = 0x000000;
};

QColor ToQColor(PackedColour colour);
PackedColour FromQColor(const QColor& colour);

class TLabel : public QLabel {
  Q_OBJECT
 public:
  TLabel(QWidget* parent, const QString& name, const QString& caption, Qt::Alignment alignment = Qt::AlignLeft);
  // Sets the caption and fits the width to it, keeping left, top and height.
  void SetCaption(const QString& caption);
  int Tag = 0;

 private:
  void FitWidth();
};

class TEdit : public QLineEdit {
  Q_OBJECT
 public:
  TEdit(QWidget* parent, const QString& name, const QString& text);
  // Raised whenever the text changes, typed or set from code; not when it is set to what it was.
  TNotifyEvent OnChange;
  int Tag = 0;
};

// A spinner paired with an edit box that shows its position as a decimal number.
// Positions are 16-bit and always within Min ... Max. Setting the position rewrites the edit
// box's text (which raises the edit box's change event when the text differs); an arrow step,
// by button, arrow key or mouse wheel, moves by one, stops at the bounds and raises OnClick.
// The position is read back from the text whenever it is queried, so a number typed into the
// edit box is the position from then on.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  TUpDown(QWidget* parent, const QString& name, TEdit* associate, std::int16_t min, std::int16_t max);

  std::int16_t GetPosition();
  // Clamps to Min ... Max; then shows the position in the edit box.
  void SetPosition(std::int32_t value);
  // One arrow step: +1 for the up arrow (btNext), -1 for the down arrow (btPrev).
  void Step(TUDBtnType button);

  std::int16_t Min() const { return min_; }
  std::int16_t Max() const { return max_; }
  TEdit* Associate() const { return associate_; }

  TUDClickEvent OnClick;
  int Tag = 0;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool StepByKey(int key);
  bool StepByWheel(QWheelEvent* event);
  TEdit* associate_;
  std::int16_t min_, max_;
  std::int16_t position_ = 0;
  int wheelRemainder_ = 0;
  int pressed_ = 0;  // +1 up arrow held, -1 down arrow held, 0 none
  QTimer* repeat_;
};

// Raises OnClick whenever its checked state changes, by the user or from code.
class TCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  TCheckBox(QWidget* parent, const QString& name, const QString& caption);
  TNotifyEvent OnClick;
  int Tag = 0;
};

class TButton : public QPushButton {
  Q_OBJECT
 public:
  TButton(QWidget* parent, const QString& name, const QString& caption);
  TNotifyEvent OnClick;
  int Tag = 0;
};

class TGroupBox : public QGroupBox {
  Q_OBJECT
 public:
  TGroupBox(QWidget* parent, const QString& name, const QString& caption);
  int Tag = 0;
};

// A control without contents of its own: OnPaint draws it through Canvas() whenever the
// platform asks for its picture. OnClick is a left click released over it, or Space or Enter
// while it has the keyboard focus; a box that has the focus is framed black and white.
class TPaintBox : public QWidget {
  Q_OBJECT
 public:
  TPaintBox(QWidget* parent, const QString& name);
  // Valid only while OnPaint runs.
  TCanvas* Canvas() const { return canvas_; }
  int Width() const { return width(); }
  int Height() const { return height(); }
  TNotifyEvent OnPaint;
  TNotifyEvent OnClick;
  int Tag = 0;

  // What assistive technology is told: the box's role, and when OnDescribe is set its
  // description, worked out whenever it is asked for (what the box shows changes); a change is
  // announced when the box is next painted.
  QAccessible::Role AccessibleRole = QAccessible::Graphic;
  std::function<QString()> OnDescribe;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AnnounceDescription();
  TCanvas* canvas_ = nullptr;
  bool pressed_ = false;
  QString announced_;
};

// Shows the 100 x 256 table stretched to the control's size without smoothing: at 300 wide
// each column is exactly three screen pixels. It keeps its own copy of the picture.
class TImage : public QWidget {
  Q_OBJECT
 public:
  TImage(QWidget* parent, const QString& name);
  // nullptr empties the picture; otherwise the table is copied and shown. Allocates nothing
  // once the control has its size.
  void SetPicture(const LutPixels* table);
  bool HasPicture() const { return hasPicture_; }
  const QImage& Shown() const { return scaled_; }
  // How many times the picture has been painted; lets a timing tool see a frame land.
  std::uint64_t PaintCount() const { return paintCount_; }
  int Tag = 0;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Scale();
  LutPixels table_{};
  QImage scaled_;
  bool hasPicture_ = false;
  std::uint64_t paintCount_ = 0;
};

// The window's component of exactly that name, or nullptr.
QObject* FindComponent(const QObject* owner, const QString& name);

}  // namespace palettor
