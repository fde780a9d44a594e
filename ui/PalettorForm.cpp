#include "PalettorForm.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QSignalBlocker>

#include "ApplicationExe.h"
#include "FormFont.h"
#include "RecoveryRecorder.h"
#include "RegistryBackend.h"
#include "RegistryTransaction.h"
#include "RegistryVariables.h"
#include "SaveTarget.h"
#include "SettingsCatalogue.h"
#include "ShownFileName.h"
#include "StoredPalette.h"
#include "TableBitmapWriter.h"
#include "WholeNumber.h"

namespace palettor {

namespace {

constexpr int kClientWidth = 552;
constexpr int kClientHeight = 344;
constexpr int kFirstLeft = 193;
constexpr int kFirstTop = 107;

const char* const kDefaultTableFile = "TempToColourUser.bmp";

template <typename Control>
Control* Place(Control* control, int left, int top, int width, int height) {
  control->setGeometry(left, top, width, height);
  return control;
}

QString Text(const char* latin1) { return QString::fromLatin1(latin1); }

// A spinner over the range the catalogue gives the setting.
TUpDown* SpinnerOf(QWidget* parent, const QString& name, TEdit* associate, SettingId id) {
  const SettingEntry& row = Setting(id);
  return new TUpDown(parent, name, associate, static_cast<std::int16_t>(row.min), static_cast<std::int16_t>(row.max));
}

// `key` and whatever else the platform binds to the same command.
void SetShortcut(QAction* action, const QKeySequence& key, QKeySequence::StandardKey standard) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
  keys.removeAll(key);
  keys.prepend(key);
  action->setShortcuts(keys);
}

}  // namespace

TFormPalettor::TFormPalettor(const CurrentUserRegistry& currentUser, IDialogHost* dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      currentUser_(currentUser),
      dialogs_(dialogs) {
  if (!dialogs_) {
    ownDialogs_ = std::make_unique<TQtDialogHost>();
    dialogs_ = ownDialogs_.get();
  }
  recorder_ = new RecoveryRecorder(
      currentUser_, [this] { return CurrentPalette(); }, this);
  setObjectName(QStringLiteral("FormPalettor"));
  setWindowTitle(QStringLiteral("Palettor for Skyreader - Colour look-up table maker"));
  setFont(FormFont());
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i)
    patchNames_[AnchorSlot(i)] = QStringLiteral("PaintBox") + QString::fromStdString(AnchorSuffix(i));
  BuildControls();
  BuildMenu();
  // The client area below the menu is fixed; the user cannot resize the window.
  setFixedSize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());
  move(kFirstLeft, kFirstTop);
  BindEvents();
  MakeAccessible();
  FormCreate(this);
}

TFormPalettor::~TFormPalettor() { FormDestroy(this); }

void TFormPalettor::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  client->setAutoFillBackground(true);
  client->setBackgroundRole(QPalette::Button);
  setCentralWidget(client);

  struct ScaleLabel {
    TLabel** field;
    int tag;
    const char* caption;
    int left, width;
  };
  const ScaleLabel scale[] = {
      {&LabelM60, -6, "-60", 16, 15}, {&LabelM50, -5, "-50", 40, 15},  {&LabelM40, -4, "-40", 64, 15},
      {&LabelM30, -3, "-30", 88, 15}, {&LabelM20, -2, "-20", 112, 15}, {&LabelM10, -1, "-10", 136, 15},
      {&LabelO0, 0, "0", 168, 6},     {&LabelP10, 1, "+10", 184, 18},  {&LabelP20, 2, "+20", 208, 18},
      {&LabelP30, 3, "+30", 232, 18}, {&LabelP40, 4, "+40", 256, 18},
  };
  for (const ScaleLabel& s : scale) {
    auto* label = new TLabel(client, QStringLiteral("Label") + QString::fromStdString(AnchorSuffix(s.tag)),
                             Text(s.caption), Qt::AlignHCenter);
    label->setGeometry(s.left, 280, label->width(), 13);
    label->Tag = s.tag;
    *s.field = label;
  }

  struct Patch {
    TPaintBox** field;
    int tag;
    int left, top;
  };
  const Patch patches[] = {
      {&PaintBoxM70, -7, 496, 24},  {&PaintBoxM60, -6, 16, 296}, {&PaintBoxM50, -5, 40, 296},
      {&PaintBoxM40, -4, 64, 296},  {&PaintBoxM30, -3, 88, 296}, {&PaintBoxM20, -2, 112, 296},
      {&PaintBoxM10, -1, 136, 296}, {&PaintBoxO0, 0, 160, 296},  {&PaintBoxP10, 1, 184, 296},
      {&PaintBoxP20, 2, 208, 296},  {&PaintBoxP30, 3, 232, 296}, {&PaintBoxP40, 4, 256, 296},
  };
  for (const Patch& p : patches) {
    auto* box = Place(new TPaintBox(client, QStringLiteral("PaintBox") + QString::fromStdString(AnchorSuffix(p.tag))),
                      p.left, p.top, 18, 18);
    box->Tag = p.tag;
    box->setToolTip(QStringLiteral("Click to edit this colour"));
    box->setCursor(Qt::PointingHandCursor);
    *p.field = box;
  }

  LabelBitmap =
      new TLabel(client, QStringLiteral("LabelBitmap"), QStringLiteral("Temperature/brightness colour lookup bitmap"));
  LabelBitmap->setGeometry(32, 8, LabelBitmap->width(), 13);
  ImageLUT = Place(new TImage(client, QStringLiteral("ImageLUT")), 24, 24, 300, 256);
  LabelCelsius = new TLabel(client, QStringLiteral("LabelCelsius"), QStringLiteral("Celsius"));
  LabelCelsius->setGeometry(344, 280, LabelCelsius->width(), 13);

  CheckBoxWhiteTop =
      Place(new TCheckBox(client, QStringLiteral("CheckBoxWhiteTop"), QStringLiteral("White top")), 360, 0, 81, 17);
  CheckBoxWhiteTop->setToolTip(QStringLiteral("Check for plain bright regions"));
  CheckBoxSmooth =
      Place(new TCheckBox(client, QStringLiteral("CheckBoxSmooth"), QStringLiteral("Smooth colours")), 448, 0, 97, 17);
  LabelBlueTail = new TLabel(client, QStringLiteral("LabelBlueTail"), QStringLiteral("Blue tail percent "));
  LabelBlueTail->setGeometry(360, 28, LabelBlueTail->width(), 13);
  EditTailPercent = Place(new TEdit(client, QStringLiteral("EditTailPercent"), QStringLiteral("0")), 440, 24, 25, 21);
  UpDownTailPercent = Place(
      SpinnerOf(client, QStringLiteral("UpDownTailPercent"), EditTailPercent, SettingId::TailPercent), 465, 24, 15, 21);

  GroupBoxColourEditor =
      Place(new TGroupBox(client, QStringLiteral("GroupBoxColourEditor"), QStringLiteral(" Colour value editor ")), 360,
            56, 177, 145);
  GroupBoxColourEditor->setToolTip(QStringLiteral("Click on a colour patch to edit"));
  QWidget* editor = GroupBoxColourEditor;
  EditHue = Place(new TEdit(editor, QStringLiteral("EditHue"), QStringLiteral("0")), 24, 24, 33, 21);
  UpDownHue = Place(SpinnerOf(editor, QStringLiteral("UpDownHue"), EditHue, HueSetting(kFirstAnchor)), 57, 24, 15, 21);
  LabelHue = new TLabel(editor, QStringLiteral("LabelHue"), QStringLiteral("Hue"));
  LabelHue->setGeometry(88, 28, LabelHue->width(), 13);
  EditSat = Place(new TEdit(editor, QStringLiteral("EditSat"), QStringLiteral("0")), 24, 54, 33, 21);
  UpDownSat =
      Place(SpinnerOf(editor, QStringLiteral("UpDownSat"), EditSat, SaturationSetting(kFirstAnchor)), 57, 54, 15, 21);
  LabelSat = new TLabel(editor, QStringLiteral("LabelSat"), QStringLiteral("Saturation"));
  LabelSat->setGeometry(88, 58, LabelSat->width(), 13);
  LabelTempIndex = new TLabel(editor, QStringLiteral("LabelTempIndex"), QStringLiteral("Temp"));
  LabelTempIndex->setGeometry(24, 82, LabelTempIndex->width(), 13);
  PaintBoxTest = Place(new TPaintBox(editor, QStringLiteral("PaintBoxTest")), 16, 98, 21, 21);
  PaintBoxTest->Tag = kNoAnchorSelected;
  PaintBoxTry = Place(new TPaintBox(editor, QStringLiteral("PaintBoxTry")), 48, 98, 21, 21);
  LabelOld = new TLabel(editor, QStringLiteral("LabelOld"), QStringLiteral("Old"));
  LabelOld->setGeometry(16, 122, LabelOld->width(), 13);
  LabelNew = new TLabel(editor, QStringLiteral("LabelNew"), QStringLiteral("New"));
  LabelNew->setGeometry(48, 122, LabelNew->width(), 13);
  ButtonUpdateColour =
      Place(new TButton(editor, QStringLiteral("ButtonUpdateColour"), QStringLiteral("Update")), 88, 98, 73, 25);

  GroupBoxMonitorCheck =
      Place(new TGroupBox(client, QStringLiteral("GroupBoxMonitorCheck"), QStringLiteral(" Monitor check ")), 336, 216,
            89, 57);
  GroupBoxMonitorCheck->setToolTip(QStringLiteral("Look for a grey dot in both black and white circles"));
  PaintBoxBlack = Place(new TPaintBox(GroupBoxMonitorCheck, QStringLiteral("PaintBoxBlack")), 15, 23, 24, 24);
  PaintBoxWhite = Place(new TPaintBox(GroupBoxMonitorCheck, QStringLiteral("PaintBoxWhite")), 51, 23, 24, 24);

  ButtonFactoryReset = Place(new TButton(client, QStringLiteral("ButtonFactoryReset"), QStringLiteral("Reset colours")),
                             440, 224, 97, 25);
  ButtonFactoryReset->setToolTip(QStringLiteral("Reset all hues and saturations to the factory default"));
  ButtonSave =
      Place(new TButton(client, QStringLiteral("ButtonSave"), QStringLiteral("Save bitmap")), 440, 264, 97, 25);
  ButtonClose = Place(new TButton(client, QStringLiteral("ButtonClose"), QStringLiteral("Close")), 440, 304, 97, 25);
  ButtonClose->setDefault(true);

  // Tab order: Close first, then down the options, the editor's fields, and the commands.
  QWidget* const tabOrder[] = {
      ButtonClose, CheckBoxWhiteTop, CheckBoxSmooth, EditTailPercent,    UpDownTailPercent,  EditHue,
      UpDownHue,   EditSat,          UpDownSat,      ButtonUpdateColour, ButtonFactoryReset, ButtonSave};
  for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) setTabOrder(tabOrder[i], tabOrder[i + 1]);
  for (QWidget* focusless : {static_cast<QWidget*>(GroupBoxColourEditor), static_cast<QWidget*>(GroupBoxMonitorCheck)})
    focusless->setFocusPolicy(Qt::NoFocus);
  ButtonClose->setFocus();
}

void TFormPalettor::BuildMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  File1 = MainMenu1->addMenu(QStringLiteral("&File"));
  File1->setObjectName(QStringLiteral("File1"));
  Save1 = File1->addAction(QStringLiteral("&Save"));
  Save1->setObjectName(QStringLiteral("Save1"));
  FileSaveAs = File1->addAction(QStringLiteral("Save &As..."));
  FileSaveAs->setObjectName(QStringLiteral("FileSaveAs"));
  N1 = File1->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  FileExit = File1->addAction(QStringLiteral("E&xit"));
  FileExit->setObjectName(QStringLiteral("FileExit"));
  Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  HelpAbout = Help1->addAction(QStringLiteral("&About..."));
  HelpAbout->setObjectName(QStringLiteral("HelpAbout"));
  HelpAbout->setEnabled(false);  // until an About box is attached
  // The desktop's usual keys beside the mnemonics.
  SetShortcut(Save1, QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence::Save);
  SetShortcut(FileSaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), QKeySequence::SaveAs);
  SetShortcut(FileExit, QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence::Quit);
  HelpAbout->setShortcut(QKeySequence(Qt::Key_F1));
  // Menus are windows of their own and do not inherit the window's font.
  for (QMenu* menu : {File1, Help1}) menu->setFont(font());
}

void TFormPalettor::BindEvents() {
  using namespace std::placeholders;
  for (TPaintBox* patch : {PaintBoxM70, PaintBoxM60, PaintBoxM50, PaintBoxM40, PaintBoxM30, PaintBoxM20, PaintBoxM10,
                           PaintBoxO0, PaintBoxP10, PaintBoxP20, PaintBoxP30, PaintBoxP40}) {
    patch->OnClick = [this](QObject* s) { PaintBoxSampleClick(s); };
    patch->OnPaint = [this](QObject* s) { PaintBoxSamplePaint(s); };
  }
  PaintBoxTest->OnPaint = [this](QObject* s) { PaintBoxTestPaint(s); };
  PaintBoxTry->OnPaint = [this](QObject* s) { PaintBoxTryPaint(s); };
  EditHue->OnChange = [this](QObject* s) { EditHueChange(s); };
  EditSat->OnChange = [this](QObject* s) { EditSatChange(s); };
  UpDownHue->OnClick = [this](QObject* s, TUDBtnType b) { ColourChangeClick(s, b); };
  UpDownSat->OnClick = [this](QObject* s, TUDBtnType b) { ColourChangeClick(s, b); };
  ButtonUpdateColour->OnClick = [this](QObject* s) { ButtonUpdateColourClick(s); };
  ButtonFactoryReset->OnClick = [this](QObject* s) { ButtonFactoryResetClick(s); };
  CheckBoxWhiteTop->OnClick = [this](QObject* s) { CheckBoxWhiteTopClick(s); };
  CheckBoxSmooth->OnClick = [this](QObject* s) { CheckBoxSmoothClick(s); };
  UpDownTailPercent->OnClick = [this](QObject* s, TUDBtnType b) { UpDownTailPercentClick(s, b); };
  ButtonSave->OnClick = [this](QObject* s) { ButtonSaveClick(s); };
  ButtonClose->OnClick = [this](QObject* s) { ButtonCloseClick(s); };
  PaintBoxBlack->OnPaint = [this](QObject* s) { PaintBoxMonitorCheckPaint(s); };
  PaintBoxWhite->OnPaint = [this](QObject* s) { PaintBoxMonitorCheckPaint(s); };
  connect(Save1, &QAction::triggered, this, [this] { ButtonSaveClick(Save1); });
  connect(FileSaveAs, &QAction::triggered, this, [this] { FileSaveAsClick(FileSaveAs); });
  connect(FileExit, &QAction::triggered, this, [this] { FileExitClick(FileExit); });
  connect(HelpAbout, &QAction::triggered, this, [this] { HelpAboutClick(HelpAbout); });
}

void TFormPalettor::SetAboutBox(QDialog* aboutBox) {
  aboutBox_ = aboutBox;
  HelpAbout->setEnabled(aboutBox_ != nullptr);
}

QObject* TFormPalettor::FindComponent(const QString& name) const { return palettor::FindComponent(this, name); }

AnchorValue TFormPalettor::AnchorValueOf(int index) const {
  if (!IsAnchorIndex(index)) return {0, 0};
  return palette_.anchors[AnchorSlot(index)];
}

PackedColour TFormPalettor::AnchorColourOf(int index) const {
  const AnchorValue anchor = AnchorValueOf(index);
  return DeriveAnchorColour(anchor.hue, anchor.saturation);
}

// --- Start-up and shutdown

void TFormPalettor::FormCreate(QObject*) {
  // The settings stay under the name the window started with, whatever becomes of its file.
  currentUser_.SetProgramPath(GetExeName(currentUser_));
  // A store held by another program is waited for once: whatever else the start asks of it
  // would only wait as long again and fail the same way.
  std::string unreadable;
  bool busy = false;
  try {
    WriteAppPath(currentUser_);
  } catch (const EStoreBusy& error) {
    unreadable = error.what();
    busy = true;
  } catch (const ERegistryException&) {
    // The register is a courtesy to other programs; the window goes on without it.
  }
  TableBitmap = std::make_unique<LutPixels>();
  TableBitmap->fill(0);
  ImageLUT->SetPicture(TableBitmap.get());
  // The 27 settings, blue tail first, then -60 ... +40, hue before saturation, then the options;
  // a blue-tail hue of -1 gives the factory anchors.
  // With them, from the same state of the store, a recovery record a window left behind.
  try {
    if (busy) throw EStoreBusy(unreadable);
    RegistryTransaction snapshot(currentUser_.Store(), RegistryTransactionMode::Read);
    start_ = LoadPalette(currentUser_);
    leftBehind_ = ReadRecoveryRecord(currentUser_);
    snapshot.Commit();
    palette_ = start_.palette;
    if (leftBehind_ && !LeftBehind(*leftBehind_)) leftBehind_.reset();  // that window still runs
  } catch (const ERegistryException& error) {
    unreadable = error.what();
    busy = busy || dynamic_cast<const EStoreBusy*>(&error) != nullptr;
    palette_ = DefaultPalette();  // what a first start gives
    storeAtClose_ = false;
    leftBehind_.reset();
  }
  ShowOptions();
  RebuildTable();
  SetEditorEnabled(false);
  // Double buffering: Qt paints every widget through a back buffer already.
  HostFolder = HostFolderOf(busy ? std::string() : ReadAppPath(currentUser_, Setting(SettingId::ViewerAppPath).name));
  if (!unreadable.empty()) {
    // Starting on defaults and storing them at close would replace the user's palette.
    dialogs_->ShowError(this, QStringLiteral("The stored settings could not be read (") +
                                  QString::fromStdString(unreadable) +
                                  QStringLiteral(").\nPalettor starts with the factory colours and options and "
                                                 "leaves the stored settings as they are when it closes."));
  } else {
    recorder_->Start(palette_);
  }
}

void TFormPalettor::SetEditorEnabled(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{GroupBoxColourEditor, LabelTempIndex, ButtonUpdateColour,
                                                          LabelHue, LabelSat, EditHue, EditSat, LabelOld, LabelNew})
    control->setEnabled(enabled);
}

void TFormPalettor::FormResize(QObject*) {
  const QRect image = ImageLUT->geometry();
  const int L = image.left(), T = image.top(), W = image.width(), H = image.height();
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    const int x = (W * (i + 6)) / 10 + L;
    const int y = T + H + 3;
    const QString suffix = QString::fromStdString(AnchorSuffix(i));
    if (auto* label = qobject_cast<QWidget*>(FindComponent(QStringLiteral("Label") + suffix)))
      label->move(x - label->width() / 2, y);
    LabelCelsius->move(LabelCelsius->x(), y);
    auto* patch = qobject_cast<QWidget*>(FindComponent(patchNames_[AnchorSlot(i)]));
    if (!patch) continue;
    if (i == kBlueTailAnchor) {
      // The tail's patch sits just right of the tail-percent spinner.
      patch->move(EditTailPercent->x() + EditTailPercent->width() + UpDownTailPercent->width() + 8,
                  EditTailPercent->y() + 3);
    } else {
      patch->move(x - patch->width() / 2, y + 18);
    }
  }
  RebuildTable();
}

void TFormPalettor::FormCloseQuery(QObject*, bool& CanClose) {
  if (OnLifecycle) OnLifecycle("FormCloseQuery");
  StoreSession(!unattended_);
  ImageLUT->SetPicture(nullptr);
  TableBitmap.reset();
  (void)CanClose;  // closing is never refused
}

void TFormPalettor::FormDestroy(QObject*) {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnLifecycle) OnLifecycle("FormDestroy");
  TableBitmap.reset();
  StoreSession(false);  // destroyed without being closed: nobody to ask
}

void TFormPalettor::ButtonCloseClick(QObject*) { close(); }

void TFormPalettor::FileExitClick(QObject*) { close(); }

void TFormPalettor::CloseUnattended() {
  unattended_ = true;
  FileExitClick(FileExit);
}

void TFormPalettor::HelpAboutClick(QObject*) {
  if (aboutBox_) aboutBox_->exec();
}

void TFormPalettor::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize(this);
}

void TFormPalettor::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(this, canClose);
  if (canClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TFormPalettor::keyPressEvent(QKeyEvent* event) {
  // Enter anywhere that does not use it itself presses the default button.
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain && ButtonClose->isEnabled()) {
    ButtonClose->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

// --- The table

void TFormPalettor::RebuildTable() {
  if (!TableBitmap) return;
  palette_.tailPercent = UpDownTailPercent->GetPosition();
  ImageLUT->SetPicture(nullptr);
  GenerateTable(TableInputsOf(palette_), *TableBitmap);
  ImageLUT->SetPicture(TableBitmap.get());
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    if (auto* patch = qobject_cast<QWidget*>(FindComponent(patchNames_[AnchorSlot(i)]))) patch->repaint();
  }
  recorder_->Changed();
  emit TableRebuilt();
}

void TFormPalettor::ShowEdit(const QString& what, const Palette& edited) {
  const Palette before = palette_;
  palette_ = edited;
  RebuildTable();
  if (TableBitmap && !(palette_ == before)) emit PaletteEdited(before, palette_, what);
}

void TFormPalettor::ShowOptions() {
  UpDownTailPercent->SetPosition(palette_.tailPercent);
  // The palette goes down to the controls; it does not come back up as an edit of the user's.
  const QSignalBlocker whiteTop(CheckBoxWhiteTop), smooth(CheckBoxSmooth);
  CheckBoxWhiteTop->setChecked(palette_.whiteTop);
  CheckBoxSmooth->setChecked(palette_.smoothColours);
}

Palette TFormPalettor::CurrentPalette() const {
  if (destroyed_) return DefaultPalette();
  Palette shown = palette_;
  shown.tailPercent = UpDownTailPercent->GetPosition();
  return shown;
}

void TFormPalettor::ApplyPalette(const Palette& palette) {
  if (destroyed_) return;
  palette_ = palette;
  ShowOptions();
  RebuildTable();
  PaintBoxTest->update();
}

void TFormPalettor::SelectAnchor(int index) {
  if (!IsAnchorIndex(index)) return;
  PaintBoxSampleClick(FindComponent(patchNames_[AnchorSlot(index)]));
}

// --- Colour editor

void TFormPalettor::PaintBoxSamplePaint(QObject* Sender) {
  auto* box = qobject_cast<TPaintBox*>(Sender);
  if (!box || !box->Canvas() || !IsAnchorIndex(box->Tag)) return;
  box->Canvas()->SetBrushColor(AnchorColourOf(box->Tag));
  box->Canvas()->FillRect(0, 0, box->Width(), box->Height());
}

void TFormPalettor::PaintBoxTestPaint(QObject*) {
  if (IsAnchorIndex(PaintBoxTest->Tag)) PaintBoxSamplePaint(PaintBoxTest);
}

void TFormPalettor::PaintBoxTryPaint(QObject*) {
  if (!IsAnchorIndex(PaintBoxTest->Tag) || !PaintBoxTry->Canvas()) return;
  PaintBoxTry->Canvas()->SetBrushColor(PreviewColour);
  PaintBoxTry->Canvas()->FillRect(0, 0, PaintBoxTry->Width(), PaintBoxTry->Height());
}

void TFormPalettor::PaintBoxSampleClick(QObject* Sender) {
  auto* box = qobject_cast<TPaintBox*>(Sender);
  if (!box || !IsAnchorIndex(box->Tag)) return;
  const int i = box->Tag;
  const AnchorValue anchor = AnchorValueOf(i);
  // Each position that changes its edit box's text runs that box's change handler, which
  // recomputes the preview.
  UpDownHue->SetPosition(static_cast<std::int16_t>(anchor.hue));
  UpDownSat->SetPosition(static_cast<std::int16_t>(anchor.saturation));
  PaintBoxTest->Tag = i;
  PaintBoxTest->update();
  LabelTempIndex->SetCaption(i == kBlueTailAnchor ? QStringLiteral("blue tail")
                                                  : QString::number(i * 10) + QStringLiteral(" C"));
  SetEditorEnabled(true);
  PaintBoxTry->update();
}

namespace {
// The number in an editor box, blanks around it ignored; letters, an empty field and
// fractions are no number.
std::optional<std::int32_t> NumberIn(const TEdit* edit) {
  return ParseWholeNumber(edit->text().trimmed().toStdString());
}
}  // namespace

void TFormPalettor::EditHueChange(QObject*) {
  const auto number = NumberIn(EditHue);
  if (!number) return;
  UpDownHue->SetPosition(*number);
  UpdatePreview();
}

void TFormPalettor::EditSatChange(QObject*) {
  const auto number = NumberIn(EditSat);
  if (!number) return;
  UpDownSat->SetPosition(*number);
  UpdatePreview();
}

void TFormPalettor::ColourChangeClick(QObject*, TUDBtnType) { UpdatePreview(); }

void TFormPalettor::UpdatePreview() {
  PreviewHue = UpDownHue->GetPosition();
  PreviewSat = UpDownSat->GetPosition();
  PreviewColour = DeriveAnchorColour(PreviewHue, PreviewSat);
  PaintBoxTry->update();
}

void TFormPalettor::ButtonUpdateColourClick(QObject*) {
  const int t = PaintBoxTest->Tag;
  if (!IsAnchorIndex(t)) return;
  Palette edited = palette_;
  edited.anchors[AnchorSlot(t)] = {PreviewHue, PreviewSat};
  ShowEdit(QStringLiteral("Update ") + QString::fromStdString(AnchorName(t)), edited);
}

void TFormPalettor::ButtonFactoryResetClick(QObject*) {
  Palette edited = palette_;
  edited.anchors = FactoryPalette();
  ShowEdit(QStringLiteral("Reset colours"), edited);
}

void TFormPalettor::CheckBoxWhiteTopClick(QObject*) {
  Palette edited = palette_;
  edited.whiteTop = CheckBoxWhiteTop->isChecked();
  ShowEdit(QStringLiteral("White top"), edited);
}

void TFormPalettor::CheckBoxSmoothClick(QObject*) {
  Palette edited = palette_;
  edited.smoothColours = CheckBoxSmooth->isChecked();
  ShowEdit(QStringLiteral("Smooth colours"), edited);
}

// The step is in the spinner already; the rebuild takes it.
void TFormPalettor::UpDownTailPercentClick(QObject*, TUDBtnType) {
  ShowEdit(QStringLiteral("Blue tail percent"), palette_);
}

// --- Saving

void TFormPalettor::ButtonSaveClick(QObject*) {
  const QString target = HostFolder + QString::fromLatin1(kDefaultTableFile);
  // Save never replaces the default file; the user decides in Save As.
  if (EntryExists(target)) {
    FileSaveAs->trigger();
    return;
  }
  SaveTo(target);
}

void TFormPalettor::FileSaveAsClick(QObject*) {
  SaveDialog.InitialDir = HostFolder;
  if (!dialogs_->ExecuteSaveDialog(this, SaveDialog)) return;
  SaveTo(SaveDialog.FileName);
}

void TFormPalettor::SaveTo(const QString& fileName) {
  if (!TableBitmap) return;
  const QString absolute = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
  TableBitmapWriter writer;
  if (writer.Write(*TableBitmap, fileName)) {
    dialogs_->ShowMessage(this, QStringLiteral("Bitmap saved to ") + ShownFileName(QDir::toNativeSeparators(absolute)));
  } else {
    dialogs_->ShowError(this, QStringLiteral("The bitmap could not be saved to ") +
                                  ShownFileName(QDir::toNativeSeparators(absolute)) + QStringLiteral(":\n") +
                                  ShownFileName(writer.ErrorString()));
  }
}

// --- Monitor check

void TFormPalettor::PaintBoxMonitorCheckPaint(QObject* Sender) {
  auto* box = qobject_cast<TPaintBox*>(Sender);
  PackedColour outer = 0, inner = 0;
  if (box && box == PaintBoxBlack) {
    outer = 0x000000;
    inner = MonitorCheckNearBlack;
  } else if (box && box == PaintBoxWhite) {
    outer = 0xFFFFFF;
    inner = MonitorCheckNearWhite;
  } else {
    return;
  }
  TCanvas* canvas = box->Canvas();
  if (!canvas) return;
  const int w = box->Width(), h = box->Height();
  canvas->SetBrushColor(outer);
  canvas->SetPenColor(outer);
  canvas->Ellipse(0, 0, w, h);
  canvas->SetBrushColor(inner);
  canvas->SetPenColor(inner);
  canvas->Ellipse(w / 4, h / 4, (3 * w) / 4, (3 * h) / 4);
}

}  // namespace palettor
