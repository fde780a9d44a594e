#include "FormControls.h"

#include "ControlAccessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

namespace palettor {

QColor ToQColor(PackedColour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

PackedColour FromQColor(const QColor& colour) { return PackRGB(colour.red(), colour.green(), colour.blue()); }

void TCanvas::Pixels(int left, int top, int width, int height, PackedColour colour) {
  painter_.fillRect(left, top, width, height, ToQColor(colour));
}

void TCanvas::FillRect(int left, int top, int right, int bottom) {
  if (right > left && bottom > top) Pixels(left, top, right - left, bottom - top, brush_);
}

namespace {

// Span of row `row` (0-based inside the bounding box) of the ellipse inscribed in a w x h box,
// as [first, last] column offsets; empty when first > last. Worked in half-pixel units with
// integers, so the figure is exactly symmetric and the same everywhere:
// centre offset (2c + 1 - w, 2r + 1 - h) lies inside when dx^2 h^2 + dy^2 w^2 <= w^2 h^2.
struct Span {
  int first, last;
};

Span EllipseRow(std::int64_t w, std::int64_t h, int row) {
  const std::int64_t dy = 2 * std::int64_t{row} + 1 - h;
  const std::int64_t room = w * w * h * h - dy * dy * w * w;  // what is left for dx^2 h^2
  if (room < 0) return {1, 0};
  // Largest |dx| with dx^2 h^2 <= room and dx of the parity of w - 1 (pixel centres).
  std::int64_t dx = static_cast<std::int64_t>(std::sqrt(static_cast<double>(room) / static_cast<double>(h * h)));
  while (dx * dx * h * h > room) --dx;
  while ((dx + 1) * (dx + 1) * h * h <= room) ++dx;
  if (((dx - (w - 1)) % 2) != 0) --dx;  // pixel centres sit at odd offsets for even w, even for odd w
  if (dx < 0) return {1, 0};
  // 2c + 1 - w = -dx  ->  c = (w - 1 - dx) / 2
  const auto first = static_cast<int>((w - 1 - dx) / 2);
  const auto last = static_cast<int>((w - 1 + dx) / 2);
  return {first, last};
}

}  // namespace

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  const int w = X2 - X1;
  const int h = Y2 - Y1;
  if (w <= 0 || h <= 0) return;
  auto spanOf = [&](int row) { return row < 0 || row >= h ? Span{1, 0} : EllipseRow(w, h, row); };
  for (int row = 0; row < h; ++row) {
    const Span s = spanOf(row);
    if (s.first > s.last) continue;
    Pixels(X1 + s.first, Y1 + row, s.last - s.first + 1, 1, brush_);
    if (pen_ == brush_) continue;
    // Edge pixels: the ends of the span, and every pixel whose upper or lower neighbour is outside.
    const Span up = spanOf(row - 1);
    const Span down = spanOf(row + 1);
    for (int c = s.first; c <= s.last; ++c) {
      const bool inUp = up.first <= c && c <= up.last;
      const bool inDown = down.first <= c && c <= down.last;
      if (c == s.first || c == s.last || !inUp || !inDown) Pixels(X1 + c, Y1 + row, 1, 1, pen_);
    }
  }
}

// --- TLabel

TLabel::TLabel(QWidget* parent, const QString& name, const QString& caption, Qt::Alignment alignment) : QLabel(parent) {
  setObjectName(name);
  setAlignment(alignment | Qt::AlignTop);
  setMargin(0);
  setIndent(0);
  SetCaption(caption);
}

void TLabel::SetCaption(const QString& caption) {
  setText(caption);
  FitWidth();
}

void TLabel::FitWidth() {
  const int fitted = std::max(1, fontMetrics().horizontalAdvance(text()));
  setGeometry(x(), y(), fitted, height());
}

// --- TEdit

TEdit::TEdit(QWidget* parent, const QString& name, const QString& text) : QLineEdit(parent) {
  setObjectName(name);
  setText(text);
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
}

// --- TUpDown

namespace {
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 50;
}  // namespace

TUpDown::TUpDown(QWidget* parent, const QString& name, TEdit* associate, std::int16_t min, std::int16_t max)
    : QWidget(parent), associate_(associate), min_(min), max_(max), repeat_(new QTimer(this)) {
  InstallControlAccessibility();
  setObjectName(name);
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_Hover);
  position_ = std::clamp<std::int16_t>(0, min_, max_);
  connect(repeat_, &QTimer::timeout, this, [this] {
    repeat_->setInterval(kRepeatIntervalMs);
    if (pressed_ != 0) Step(pressed_ > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev);
  });
  if (associate_) {
    associate_->installEventFilter(this);
    associate_->setText(QString::number(position_));
  }
}

std::int16_t TUpDown::GetPosition() {
  if (associate_) {
    bool ok = false;
    const int typed = associate_->text().trimmed().toInt(&ok, 10);
    if (ok) position_ = static_cast<std::int16_t>(std::clamp<int>(typed, min_, max_));
  }
  return position_;
}

void TUpDown::SetPosition(std::int32_t value) {
  position_ = static_cast<std::int16_t>(std::clamp<std::int32_t>(value, min_, max_));
  if (associate_) associate_->setText(QString::number(position_));
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent changed(this, int{position_});
    QAccessible::updateAccessibility(&changed);
  }
}

void TUpDown::Step(TUDBtnType button) {
  const int from = GetPosition();
  SetPosition(button == TUDBtnType::btNext ? from + 1 : from - 1);
  if (OnClick) OnClick(this, button);
}

bool TUpDown::StepByKey(int key) {
  if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
  Step(key == Qt::Key_Up ? TUDBtnType::btNext : TUDBtnType::btPrev);
  return true;
}

bool TUpDown::StepByWheel(QWheelEvent* event) {
  // Whole notches step once each; high-resolution wheels add up until they make a notch.
  wheelRemainder_ += event->angleDelta().y();
  while (wheelRemainder_ >= 120) {
    wheelRemainder_ -= 120;
    Step(TUDBtnType::btNext);
  }
  while (wheelRemainder_ <= -120) {
    wheelRemainder_ += 120;
    Step(TUDBtnType::btPrev);
  }
  return true;
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == associate_ && isEnabled() && associate_->isEnabled()) {
    if (event->type() == QEvent::KeyPress && StepByKey(static_cast<QKeyEvent*>(event)->key())) return true;
    if (event->type() == QEvent::Wheel) return StepByWheel(static_cast<QWheelEvent*>(event));
  }
  return QWidget::eventFilter(watched, event);
}

void TUpDown::keyPressEvent(QKeyEvent* event) {
  if (!StepByKey(event->key())) QWidget::keyPressEvent(event);
}

void TUpDown::wheelEvent(QWheelEvent* event) { StepByWheel(event); }

void TUpDown::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  pressed_ = event->position().y() < height() / 2.0 ? 1 : -1;
  update();
  Step(pressed_ > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev);
  repeat_->start(kRepeatDelayMs);
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  pressed_ = 0;
  repeat_->stop();
  update();
}

void TUpDown::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) {
    pressed_ = 0;
    repeat_->stop();
  }
  QWidget::changeEvent(event);
}

void TUpDown::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int upHeight = height() / 2;
  const QRect halves[2] = {QRect(0, 0, width(), upHeight), QRect(0, upHeight, width(), height() - upHeight)};
  for (int i = 0; i < 2; ++i) {
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = halves[i];
    button.state &= ~QStyle::State_HasFocus;
    const bool down = (i == 0 && pressed_ > 0) || (i == 1 && pressed_ < 0);
    button.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = halves[i].adjusted(3, 2, -3, -2);
    if (down) arrow.rect.translate(1, 1);
    style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &painter,
                           this);
  }
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

// --- TCheckBox, TButton, TGroupBox

TCheckBox::TCheckBox(QWidget* parent, const QString& name, const QString& caption) : QCheckBox(caption, parent) {
  setObjectName(name);
  connect(this, &QCheckBox::toggled, this, [this] {
    if (OnClick) OnClick(this);
  });
}

TButton::TButton(QWidget* parent, const QString& name, const QString& caption) : QPushButton(caption, parent) {
  setObjectName(name);
  // Enter on a focused button presses that button, as on any desktop.
  setAutoDefault(true);
  connect(this, &QPushButton::clicked, this, [this] {
    if (OnClick) OnClick(this);
  });
}

TGroupBox::TGroupBox(QWidget* parent, const QString& name, const QString& caption) : QGroupBox(caption, parent) {
  setObjectName(name);
}

// --- TPaintBox

TPaintBox::TPaintBox(QWidget* parent, const QString& name) : QWidget(parent) {
  InstallControlAccessibility();
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TPaintBox::paintEvent(QPaintEvent*) {
  if (!OnPaint) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  TCanvas canvas(painter);
  canvas_ = &canvas;
  OnPaint(this);
  canvas_ = nullptr;
  if (hasFocus()) {
    // Two one-pixel rings, black outside white, show on any colour the box may have.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.setPen(Qt::white);
    painter.drawRect(1, 1, width() - 3, height() - 3);
  }
  AnnounceDescription();
}

void TPaintBox::AnnounceDescription() {
  if (!OnDescribe || !QAccessible::isActive()) return;
  QString description = OnDescribe();
  if (description == announced_) return;
  announced_ = std::move(description);
  QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&changed);
}

void TPaintBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (OnClick && plain && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    // Used here, so the window's Enter (its default button) does not see it.
    if (!event->isAutoRepeat()) OnClick(this);
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QWidget::mousePressEvent(event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  if (click && OnClick) OnClick(this);
  QWidget::mouseReleaseEvent(event);
}

// --- TImage

TImage::TImage(QWidget* parent, const QString& name) : QWidget(parent) {
  InstallControlAccessibility();
  setObjectName(name);
}

void TImage::resizeEvent(QResizeEvent* event) {
  if (scaled_.size() != size()) scaled_ = QImage(size(), QImage::Format_RGB32);
  if (hasPicture_) Scale();
  QWidget::resizeEvent(event);
}

void TImage::SetPicture(const LutPixels* table) {
  hasPicture_ = table != nullptr;
  if (table) {
    table_ = *table;
    Scale();
  }
  update();
}

// Nearest column and row, no blending: screen pixel x shows table column x * 100 / width.
void TImage::Scale() {
  if (scaled_.size() != size()) scaled_ = QImage(size(), QImage::Format_RGB32);
  const int w = scaled_.width();
  const int h = scaled_.height();
  for (int y = 0; y < h; ++y) {
    const int row = y * kTableHeight / h;
    const PackedColour* source = table_.data() + static_cast<std::ptrdiff_t>(row) * kTableWidth;
    auto* line = reinterpret_cast<QRgb*>(scaled_.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const PackedColour c = source[x * kTableWidth / w];
      line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
  }
}

void TImage::paintEvent(QPaintEvent*) {
  if (!hasPicture_) return;
  QPainter painter(this);
  painter.drawImage(0, 0, scaled_);
  ++paintCount_;
}

QObject* FindComponent(const QObject* owner, const QString& name) {
  if (!owner || name.isEmpty()) return nullptr;
  return owner->findChild<QObject*>(name, Qt::FindChildrenRecursively);
}

}  // namespace palettor
