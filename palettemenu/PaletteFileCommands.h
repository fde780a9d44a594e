#pragma once
// The File menu's commands that move a palette or the table between the window and files:
// Import palette..., Export palette... and Export legend.... Dialogs and messages go through the
// window's dialog host; a file that cannot be used is reported with the reason and changes nothing.
#include <QObject>

#include "DialogHost.h"
#include "FileWriter.h"

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
  // Writes the table shown as a legend image, as palettor-cli legend does at its default size,
  // to a name ending in .png; any other name is refused with a message.
  void ExportLegend();

 private:
  // Says that `what` ("Palette", "Legend") was saved to `target`, or why the writer failed.
  void ReportSave(const QString& what, const QString& target, const FileWriter& writer, bool written);

  TFormPalettor& form_;
  PaletteHistory& history_;
  TOpenDialog importDialog_;
  TSaveDialog exportDialog_;
  TSaveDialog legendDialog_;
};

}  // namespace palettor
