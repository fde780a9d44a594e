#pragma once
// Everything the window offers for keeping, sharing and undoing palettes, installed in one call:
//   Edit (before the menus that follow File): Undo, Redo, then under a separator Night floor >
//   File, between "Save As..." and the separator before "Exit", under a separator of their own:
//     Import palette..., Export palette..., Palettes >, Export legend...
#include "EditMenu.h"
#include "NightFloorMenu.h"
#include "PaletteFileCommands.h"
#include "PaletteHistory.h"
#include "PalettesSubmenu.h"

namespace palettor {

class TFormPalettor;

// What InstallPaletteMenus added; all of it is owned by the window.
struct PaletteMenus {
  PaletteHistory* history;
  QMenu* edit;
  PaletteFileCommands* commands;
  PalettesSubmenu* palettes;
  NightFloorMenu* nightFloor;
};

// Adds the history, the Edit menu (inserted before Help) and the File items to `form`.
PaletteMenus InstallPaletteMenus(TFormPalettor& form);

}  // namespace palettor
