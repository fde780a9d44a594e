#include "ViewMenu.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <memory>

#include "DemoScene.h"
#include "DialogHost.h"
#include "PalettorForm.h"
#include "PreviewWindow.h"

namespace palettor {

namespace {

// The demo scene is made once per run, when the preview first needs it (it takes a moment),
// and never changes.
const DemoScene& SharedDemoScene() {
  static const DemoScene scene = MakeDemoScene();
  return scene;
}

// Owns the one preview of a main window and closes it with the main window.
class PreviewLauncher final : public QObject {
 public:
  PreviewLauncher(TFormPalettor& form, const CurrentUserRegistry& currentUser, IDialogHost* dialogs)
      : QObject(&form), form_(form), currentUser_(currentUser), dialogs_(dialogs) {
    setObjectName(QStringLiteral("PreviewLauncher"));
    if (!dialogs_) {
      ownDialogs_ = std::make_unique<TQtDialogHost>();
      dialogs_ = ownDialogs_.get();
    }
    form.installEventFilter(this);
  }
  ~PreviewLauncher() override { delete preview_.data(); }  // its destructor stores its settings

  void Open() {
    if (preview_) {
      preview_->showNormal();
      preview_->raise();
      preview_->activateWindow();
      return;
    }
    preview_ = new PreviewWindow(form_, currentUser_, *dialogs_, SharedDemoScene());
    preview_->show();
    preview_->ReportOpeningProblems();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The preview goes when the main window goes, before the main window stores its own.
    if (watched == &form_ && event->type() == QEvent::Close && preview_) preview_->close();
    return QObject::eventFilter(watched, event);
  }

 private:
  TFormPalettor& form_;
  const CurrentUserRegistry currentUser_;
  IDialogHost* dialogs_;
  std::unique_ptr<IDialogHost> ownDialogs_;
  QPointer<PreviewWindow> preview_;
};

}  // namespace

QMenu* InstallViewMenu(TFormPalettor& form, const CurrentUserRegistry& currentUser, IDialogHost* dialogs) {
  auto* launcher = new PreviewLauncher(form, currentUser, dialogs);
  auto* menu = new QMenu(QStringLiteral("&View"), form.MainMenu1);
  menu->setObjectName(QStringLiteral("View1"));
  menu->setFont(form.font());  // menus are windows of their own and do not inherit it
  QAction* preview = menu->addAction(QStringLiteral("&Preview on image..."));
  preview->setObjectName(QStringLiteral("ViewPreview"));
  preview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  QObject::connect(preview, &QAction::triggered, launcher, [launcher] { launcher->Open(); });
  form.MainMenu1->insertMenu(form.Help1->menuAction(), menu);
  return menu;
}

}  // namespace palettor
