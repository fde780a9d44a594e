// Every caption of the window, in the font it is really drawn with, fits its control: a face
// wider than the one the fixed layout was measured for clips "Smooth colours" and hides the end
// of "Blue tail percent" under its edit box.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>

#include "CaptionFit.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

class Captions : public WindowTest {};

TEST_F(Captions, FitTheirControlsAtStart) {
  Open();
  ExpectEveryCaptionFits(&Form());
}

TEST_F(Captions, FitWithAnAnchorSelected) {
  Open();
  for (TPaintBox* patch : {Form().PaintBoxM70, Form().PaintBoxM60}) {
    Click(patch);
    ExpectEveryCaptionFits(&Form());
  }
}

TEST_F(Captions, MenuItemsShowTheirTextAndKeys) {
  Open();
  for (QAction* title : Form().MainMenu1->actions()) {
    const int needed = Form().MainMenu1->fontMetrics().size(Qt::TextShowMnemonic, title->text()).width();
    EXPECT_GE(Form().MainMenu1->actionGeometry(title).width(), needed) << title->text().toStdString();
    QMenu* menu = title->menu();
    menu->ensurePolished();
    for (QAction* item : menu->actions()) {
      if (item->isSeparator()) continue;
      const QFontMetrics metrics = menu->fontMetrics();
      const int text = metrics.size(Qt::TextShowMnemonic, item->text()).width();
      const int keys = metrics.horizontalAdvance(item->shortcut().toString(QKeySequence::NativeText));
      EXPECT_GE(menu->actionGeometry(item).width(), text + keys) << item->text().toStdString();
      EXPECT_EQ(QFontInfo(menu->font()).family(), QFontInfo(Form().font()).family()) << "menus use the window's face";
    }
  }
}

}  // namespace
}  // namespace palettor::test
