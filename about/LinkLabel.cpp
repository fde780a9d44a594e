#include "LinkLabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <cmath>

namespace palettor {

namespace {

constexpr double kReadableContrast = 4.5;

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& c) {
  return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

class LinkAccessible final : public QAccessibleWidget {
 public:
  explicit LinkAccessible(TLinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && Link()->accessibleName().isEmpty()) return Link()->text();
    return QAccessibleWidget::text(kind);
  }
  QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
  void doAction(const QString& name) override {
    if (name == pressAction()) {
      if (Link()->OnActivate) Link()->OnActivate();
      return;
    }
    QAccessibleWidget::doAction(name);
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 private:
  TLinkLabel* Link() const { return static_cast<TLinkLabel*>(widget()); }
};

QAccessibleInterface* LinkAccessibleFor(const QString& className, QObject* object) {
  if (className == QLatin1String(TLinkLabel::staticMetaObject.className()))
    return new LinkAccessible(static_cast<TLinkLabel*>(object));
  return nullptr;
}

}  // namespace

TLinkLabel::TLinkLabel(QWidget* parent, const QColor& colour) : QLabel(parent), colour_(colour) {
  static const bool accessible = [] {
    QAccessible::installFactory(&LinkAccessibleFor);
    return true;
  }();
  (void)accessible;
  setFocusPolicy(Qt::TabFocus);
  FollowBackground();
}

double TLinkLabel::ContrastRatio(const QColor& a, const QColor& b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TLinkLabel::ReadableOn(const QColor& colour, const QColor& background) {
  if (ContrastRatio(colour, background) >= kReadableContrast) return colour;
  const int hue = colour.hslHue(), saturation = colour.hslSaturation(), lightness = colour.lightness();
  for (int step = 1; step <= 255; ++step) {
    for (const int candidate : {lightness + step, lightness - step}) {
      if (candidate < 0 || candidate > 255) continue;
      const QColor shade = QColor::fromHsl(hue, saturation, candidate);
      if (ContrastRatio(shade, background) >= kReadableContrast) return shade;
    }
  }
  return ContrastRatio(Qt::black, background) > ContrastRatio(Qt::white, background) ? QColor(Qt::black)
                                                                                     : QColor(Qt::white);
}

// The background is whatever the link sits on; the label paints none of its own.
void TLinkLabel::FollowBackground() {
  const QColor shown = ReadableOn(colour_, palette().color(QPalette::Window));
  if (palette().color(QPalette::WindowText) == shown && palette().isBrushSet(QPalette::Active, QPalette::WindowText))
    return;
  QPalette own = palette();
  own.setColor(QPalette::WindowText, shown);
  setPalette(own);
}

void TLinkLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) FollowBackground();
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
    // Taken here: Enter must not reach the dialog's default button.
    if (!event->isAutoRepeat() && OnActivate) OnActivate();
    event->accept();
    return;
  }
  QLabel::keyPressEvent(event);
}

void TLinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  focus.rect = rect();
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

}  // namespace palettor
