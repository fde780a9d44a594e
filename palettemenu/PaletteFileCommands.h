#pragma once
// The File menu's commands that move a palette or the table between the window and files:
// Import palette..., Export palette... and Export legend.... Dialogs and messages go through the
// window's dialog host; a file that cannot be used is reported with the reason and changes nothing.
#include <QObject>

#include "DialogHost.h"

namespace palettor {

class PaletteHistory;
class TFormPalettor;

class PaletteFileCommands final : public QObject {
  Q_OBJECT
 public:
  // A child of `form`.
  PaletteFileCommands(TFormPalettor& form, PaletteHistory& history);

  // Reads a palette file and shows its palette as one undoable step.
  void ImportPalette();
  // Writes the palette shown as a palette file, named after the file.
  void ExportPalette();
  // Writes the table shown as a legend image, as palettor-cli legend does at its default size.
  void ExportLegend();

 private:
  // Runs the save dialog and writes what `bytes` gives for the chosen file; `what` names it in
  // the messages ("Palette", "Legend").
  template <typename Bytes>
  void SaveThrough(TSaveDialog& dialog, const QString& what, Bytes bytes);

  TFormPalettor& form_;
  PaletteHistory& history_;
  TOpenDialog importDialog_;
  TSaveDialog exportDialog_;
  TSaveDialog legendDialog_;
};

}  // namespace palettor
