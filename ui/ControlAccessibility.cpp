#include "ControlAccessibility.h"

#include <QAccessibleWidget>

#include "FormControls.h"

namespace palettor {

namespace {

class PaintBoxAccessible final : public QAccessibleWidget {
 public:
  explicit PaintBoxAccessible(TPaintBox* box) : QAccessibleWidget(box) {}

  QAccessible::Role role() const override { return Box()->AccessibleRole; }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Description && Box()->OnDescribe) return Box()->OnDescribe();
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    // The patches share one tab stop, but each takes the focus when asked.
    if (Pressable()) state.focusable = true;
    return state;
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (Pressable()) {
      if (!names.contains(setFocusAction())) names << setFocusAction();
      names.prepend(pressAction());
    }
    return names;
  }

  void doAction(const QString& name) override {
    if (name == pressAction() && Pressable()) {
      Box()->OnClick(Box());
    } else if (name == setFocusAction() && Pressable()) {
      Box()->setFocus(Qt::OtherFocusReason);
    } else {
      QAccessibleWidget::doAction(name);
    }
  }

  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == pressAction() && Pressable()) return {QStringLiteral("Space"), QStringLiteral("Return")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 private:
  TPaintBox* Box() const { return static_cast<TPaintBox*>(widget()); }
  bool Pressable() const { return Box()->OnClick && Box()->isEnabled(); }
};

class UpDownAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit UpDownAccessible(TUpDown* upDown) : QAccessibleWidget(upDown, QAccessible::SpinBox) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return QString::number(UpDown()->GetPosition());
    return QAccessibleWidget::text(kind);
  }

  QVariant currentValue() const override { return int{UpDown()->GetPosition()}; }
  // Moves the spinner as its arrows would: the position changes and its click event follows.
  void setCurrentValue(const QVariant& value) override {
    if (!UpDown()->isEnabled()) return;
    const int from = UpDown()->GetPosition();
    UpDown()->SetPosition(value.toInt());
    const int to = UpDown()->GetPosition();
    if (to != from && UpDown()->OnClick)
      UpDown()->OnClick(UpDown(), to > from ? TUDBtnType::btNext : TUDBtnType::btPrev);
  }
  QVariant maximumValue() const override { return int{UpDown()->Max()}; }
  QVariant minimumValue() const override { return int{UpDown()->Min()}; }
  QVariant minimumStepSize() const override { return 1; }

  QStringList actionNames() const override {
    return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name == increaseAction() || name == decreaseAction()) {
      if (UpDown()->isEnabled()) UpDown()->Step(name == increaseAction() ? TUDBtnType::btNext : TUDBtnType::btPrev);
      return;
    }
    QAccessibleWidget::doAction(name);
  }
  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == increaseAction()) return {QStringLiteral("Up")};
    if (name == decreaseAction()) return {QStringLiteral("Down")};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 private:
  TUpDown* UpDown() const { return static_cast<TUpDown*>(widget()); }
};

QAccessibleInterface* ControlAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String(TPaintBox::staticMetaObject.className()))
    return new PaintBoxAccessible(static_cast<TPaintBox*>(object));
  if (className == QLatin1String(TUpDown::staticMetaObject.className()))
    return new UpDownAccessible(static_cast<TUpDown*>(object));
  if (className == QLatin1String(TImage::staticMetaObject.className()))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
  return nullptr;
}

}  // namespace

void InstallControlAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&ControlAccessible);
    return true;
  }();
  (void)installed;
}

}  // namespace palettor
