#pragma once
// The main window's View menu: "Preview on image..." (Ctrl+P) opens the preview window, or
// raises it when it is open already. One call from the program block puts the menu in place,
// between File and Help; the window tests make the same call.
#include "CurrentUserRegistry.h"

class QMenu;

namespace palettor {

class IDialogHost;
class TFormPalettor;

// Adds the View menu to `form` and returns it. The preview keeps its settings in
// `currentUser`'s store; its dialogs and messages go through `dialogs` (nullptr: Qt's own).
// Both must outlive the form. Closing the form closes the preview first, which stores its
// settings.
QMenu* InstallViewMenu(TFormPalettor& form, const CurrentUserRegistry& currentUser, IDialogHost* dialogs = nullptr);

}  // namespace palettor
