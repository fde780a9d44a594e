#pragma once
// A label that works as a web link: drawn in its design colour while that stays readable on the
// background behind it, in the nearest readable shade of that colour otherwise (WCAG AA, a
// contrast of 4.5:1, so that a dark desktop theme does not hide it); reached with Tab and
// framed while it has the focus; Enter or Space, or a screen reader's press, activate it.
// Mouse clicks are the owner's to handle.
#include <QColor>
#include <QLabel>
#include <functional>

namespace palettor {

class TLinkLabel : public QLabel {
  Q_OBJECT
 public:
  TLinkLabel(QWidget* parent, const QColor& colour);
  std::function<void()> OnActivate;

  // The contrast ratio of two colours as WCAG 2 defines it, from 1 to 21.
  static double ContrastRatio(const QColor& a, const QColor& b);
  // `colour` if it reads on `background` at 4.5:1 or better, else the same hue and saturation
  // at the nearest lightness that does.
  static QColor ReadableOn(const QColor& colour, const QColor& background);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FollowBackground();
  QColor colour_;
};

}  // namespace palettor
