#pragma once
// Palettor's main window: the table with its temperature scale and anchor patches, the
// options, the colour editor, saving and the monitor check.
//
// Behaviour lives in the event handlers below, bound to the controls' events when the window
// is built. Between start-up and shutdown one Palette is the live state: the patches, the
// options' controls and the table show it, an edit of the user's changes it and is reported
// (PaletteEdited), and a palette put in from outside (ApplyPalette) goes down to the controls
// without coming back up as an edit. It is loaded from the settings in FormCreate and stored when
// the window closes (FormCloseQuery), or else in FormDestroy (run from the destructor): only what
// the session changed. While the window runs, every change is also kept in the recovery record
// (FormSession.cpp), which the store at close removes.
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "AnchorPalette.h"
#include "CurrentUserRegistry.h"
#include "DialogHost.h"
#include "FormControls.h"
#include "LutTable.h"
#include "Palette.h"
#include "RecoveryRecord.h"
#include "StoredPalette.h"

class QAction;
class QDialog;
class QMenu;
class QMenuBar;

namespace palettor {

class RecoveryRecorder;

constexpr PackedColour MonitorCheckNearBlack = 0x202020;
constexpr PackedColour MonitorCheckNearWhite = 0xF0F0F0;

// Tag of the Old swatch while no anchor has been selected.
constexpr int kNoAnchorSelected = 99;

class TFormPalettor : public QMainWindow {
  Q_OBJECT
 public:
  // The window loads its settings from `currentUser`'s store when created and stores them there
  // when destroyed. `dialogs` answers the save dialog and the message boxes; nullptr uses Qt's
  // own. The store and the dialogs must outlive the window.
  explicit TFormPalettor(const CurrentUserRegistry& currentUser, IDialogHost* dialogs = nullptr,
                         QWidget* parent = nullptr);
  ~TFormPalettor() override;

  // The About box is created after the window and owned elsewhere; Help > About shows it.
  void SetAboutBox(QDialog* aboutBox);

  // The window's component of exactly that name, or nullptr.
  QObject* FindComponent(const QString& name) const;
  // Where the window's dialogs and messages go; what is added to the window uses it too.
  IDialogHost& Dialogs() const { return *dialogs_; }

  // Scale labels (Tag = anchor index)
  TLabel *LabelM60, *LabelM50, *LabelM40, *LabelM30, *LabelM20, *LabelM10, *LabelO0, *LabelP10, *LabelP20, *LabelP30,
      *LabelP40;
  // Colour patches (Tag = anchor index)
  TPaintBox *PaintBoxM70, *PaintBoxM60, *PaintBoxM50, *PaintBoxM40, *PaintBoxM30, *PaintBoxM20, *PaintBoxM10,
      *PaintBoxO0, *PaintBoxP10, *PaintBoxP20, *PaintBoxP30, *PaintBoxP40;
  TLabel* LabelBitmap;
  TImage* ImageLUT;
  TLabel* LabelCelsius;
  TCheckBox* CheckBoxWhiteTop;
  TCheckBox* CheckBoxSmooth;
  TLabel* LabelBlueTail;
  TEdit* EditTailPercent;
  TUpDown* UpDownTailPercent;
  TGroupBox* GroupBoxColourEditor;
  TEdit* EditHue;
  TUpDown* UpDownHue;
  TLabel* LabelHue;
  TEdit* EditSat;
  TUpDown* UpDownSat;
  TLabel* LabelSat;
  TLabel* LabelTempIndex;
  TPaintBox* PaintBoxTest;  // the Old swatch; its Tag is the selected anchor
  TPaintBox* PaintBoxTry;   // the New swatch
  TLabel* LabelOld;
  TLabel* LabelNew;
  TButton* ButtonUpdateColour;
  TGroupBox* GroupBoxMonitorCheck;
  TPaintBox* PaintBoxBlack;
  TPaintBox* PaintBoxWhite;
  TButton* ButtonFactoryReset;
  TButton* ButtonSave;
  TButton* ButtonClose;
  TSaveDialog SaveDialog;
  QMenuBar* MainMenu1;
  QMenu* File1;
  QAction *Save1, *FileSaveAs, *N1, *FileExit;
  QMenu* Help1;
  QAction* HelpAbout;

  // Window events
  void FormCreate(QObject* Sender);
  void FormResize(QObject* Sender);
  void FormCloseQuery(QObject* Sender, bool& CanClose);
  void FormDestroy(QObject* Sender);
  void ButtonCloseClick(QObject* Sender);
  void FileExitClick(QObject* Sender);
  void HelpAboutClick(QObject* Sender);

  // Colour editor and options
  void PaintBoxSamplePaint(QObject* Sender);
  void PaintBoxSampleClick(QObject* Sender);
  void PaintBoxTestPaint(QObject* Sender);
  void PaintBoxTryPaint(QObject* Sender);
  void EditHueChange(QObject* Sender);
  void EditSatChange(QObject* Sender);
  void ColourChangeClick(QObject* Sender, TUDBtnType Button);
  void ButtonUpdateColourClick(QObject* Sender);
  void ButtonFactoryResetClick(QObject* Sender);
  void CheckBoxWhiteTopClick(QObject* Sender);
  void CheckBoxSmoothClick(QObject* Sender);
  void UpDownTailPercentClick(QObject* Sender, TUDBtnType Button);

  // Saving
  void ButtonSaveClick(QObject* Sender);
  void FileSaveAsClick(QObject* Sender);

  // Monitor check
  void PaintBoxMonitorCheckPaint(QObject* Sender);

  // Regenerates the table from the palette, with the tail percent as its spinner holds it (a
  // number typed into the box counts from here), shows it and repaints the patches. Does
  // nothing once the close query has freed the table.
  void RebuildTable();

  // The palette the window shows, the tail percent as its spinner holds it (the factory palette
  // with default options once the settings are stored).
  Palette CurrentPalette() const;
  // Shows `palette` as one change: the anchors and their colours, the options, the patches, the
  // Old swatch and the table, rebuilt once. It is not an edit of the user's: PaletteEdited is not
  // raised. The editor's fields (selection, spinners, New swatch) stay as they are.
  void ApplyPalette(const Palette& palette);
  // Selects anchor `index` (-7 ... 4) in the colour editor exactly as a click on its patch does.
  void SelectAnchor(int index);

  // Once the window is shown: when a window that ended without storing (a crash, a kill) left a
  // palette other than the one shown in its recovery record, says so and offers it back as an
  // edit of the user's (one undoable step); declined, the record is dropped.
  void OfferLeftBehindPalette();
  // Closes as File > Exit does, for a request with nobody to answer a question (a signal, the
  // desktop session's end): a store held past the wait leaves the recovery record for the next
  // start instead of asking what to do.
  void CloseUnattended();

  // Read-only views of the live state, for the timing tool and the tests.
  const LutPixels* Table() const { return TableBitmap.get(); }
  PackedColour AnchorColourOf(int index) const;
  AnchorValue AnchorValueOf(int index) const;
  PackedColour PreviewColourValue() const { return PreviewColour; }
  std::int32_t PreviewHueValue() const { return PreviewHue; }
  std::int32_t PreviewSatValue() const { return PreviewSat; }
  const QString& HostFolderValue() const { return HostFolder; }

  // Called with "FormCloseQuery" and "FormDestroy" as each starts.
  std::function<void(const char* handler)> OnLifecycle;

 signals:
  // A new table is shown (after every rebuild that generated one).
  void TableRebuilt();
  // An edit of the user's changed the palette shown from `before` to `after`: Update, Reset
  // colours, White top, Smooth colours, a step of the tail percent. `what` names the edit
  // ("Update −30 °C").
  void PaletteEdited(const palettor::Palette& before, const palettor::Palette& after, const QString& what);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  void BindEvents();
  // Names and descriptions for assistive technology, label buddies, the patches' keyboard
  // access (FormAccessibility.cpp).
  void MakeAccessible();
  void SetEditorEnabled(bool enabled);
  // Puts the palette's tail percent and options into their controls without running the
  // controls' handlers.
  void ShowOptions();
  void UpdatePreview();
  void SaveTo(const QString& fileName);
  // Makes `edited`, the palette after an edit of the user's named `what`, the one shown and
  // reports the edit when the palette shown changed.
  void ShowEdit(const QString& what, const Palette& edited);

  // The store at close (FormSession.cpp): what the session changed, with the recovery record
  // removed in the same transaction. With `ask`, a store held past the wait is said and the user
  // chooses to try again, to export the palette to a file, or to close; otherwise (or then) the
  // record stays for the next start. Done once.
  void StoreSession(bool ask);
  void StoreChangesAndDropRecord();
  // Asks for a palette file and writes the palette shown into it; false when none was written.
  bool ExportBeforeClosing();

  std::unique_ptr<LutPixels> TableBitmap;
  // The store, for the executable the window started as from FormCreate on.
  CurrentUserRegistry currentUser_;
  // The live state; its tail percent is the spinner's position at the last rebuild.
  Palette palette_{};
  // What FormCreate loaded: closing stores only what differs from it.
  LoadedPalette start_{};
  // Cleared when the settings could not be loaded: defaults never replace what is stored.
  bool storeAtClose_ = true;
  bool sessionStored_ = false;
  bool unattended_ = false;
  RecoveryRecorder* recorder_;
  // A record found at start-up that a window which has ended left behind.
  std::optional<RecoveryRecord> leftBehind_;
  // The editor's New swatch: what Update would make the selected anchor.
  PackedColour PreviewColour = 0;
  std::int32_t PreviewHue = 0;
  std::int32_t PreviewSat = 0;
  QString HostFolder;

  // "PaintBox" + AnchorSuffix(i), made once so that a rebuild allocates nothing to find them.
  std::array<QString, kAnchorCount> patchNames_;

  std::unique_ptr<IDialogHost> ownDialogs_;
  IDialogHost* dialogs_;
  QDialog* aboutBox_ = nullptr;
  bool destroyed_ = false;
};

}  // namespace palettor
