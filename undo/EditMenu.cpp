#include "EditMenu.h"

#include <QAction>

namespace palettor {

QMenu* BuildEditMenu(QWidget* parent, QUndoStack& history) {
  auto* menu = new QMenu(QStringLiteral("&Edit"), parent);
  menu->setObjectName(QStringLiteral("Edit1"));
  // Menus are windows of their own and do not inherit the window's font.
  menu->setFont(parent->font());
  // The stack keeps the texts and the enabled states up to date: "&Undo" alone when disabled.
  QAction* undo = history.createUndoAction(menu, QStringLiteral("&Undo"));
  undo->setObjectName(QStringLiteral("EditUndo"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = history.createRedoAction(menu, QStringLiteral("&Redo"));
  redo->setObjectName(QStringLiteral("EditRedo"));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  menu->addAction(undo);
  menu->addAction(redo);
  return menu;
}

}  // namespace palettor
