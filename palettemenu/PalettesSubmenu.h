#pragma once
// File > Palettes: the built-in palettes, then the user's own (listed anew each time the menu
// opens, each file read again only when it changed), the one shown ticked; choosing one shows it as one undoable step.
// Its last item saves the palette shown under a name among the user's palettes.
#include <QMenu>

#include "PaletteLibrary.h"

namespace palettor {

class PaletteHistory;
class TFormPalettor;

class PalettesSubmenu final : public QMenu {
  Q_OBJECT
 public:
  PalettesSubmenu(TFormPalettor& form, PaletteHistory& history);

  // Lists the palettes as they are now; the menu does this itself whenever it opens.
  void Refresh();
  // Asks for a name and saves the palette shown under it in the user's palette folder.
  void SaveCurrent();

 private:
  void Fill(const PaletteListing& listing);

  TFormPalettor& form_;
  PaletteHistory& history_;
  PaletteFileCache cache_;
};

}  // namespace palettor
