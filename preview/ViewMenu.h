#pragma once
// The main window's View menu: "Preview on image..." (Ctrl+P) opens the preview window, or
// raises it when it is open already. One call from the program block puts the menu in place,
// between File and Help; the window tests make the same call.
class QMenu;

namespace palettor {

class IDialogHost;
class TFormPalettor;

// Adds the View menu to `form` and returns it. The preview's dialogs and messages go through
// `dialogs` (nullptr: Qt's own), which must outlive the form. Closing the form closes the
// preview first, which stores its settings.
QMenu* InstallViewMenu(TFormPalettor& form, IDialogHost* dialogs = nullptr);

}  // namespace palettor
