#pragma once
// The Edit menu: Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z, Ctrl+Y) of the palette history. The
// items say what they undo and redo ("Undo Update −30 °C", "Redo White top") and are disabled
// when there is nothing to undo or redo.
#include <QMenu>
#include <QUndoStack>

namespace palettor {

// "&Edit" with the items "EditUndo" and "EditRedo"; owned by `parent`.
QMenu* BuildEditMenu(QWidget* parent, QUndoStack& history);

}  // namespace palettor
