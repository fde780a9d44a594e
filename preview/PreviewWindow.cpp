#include "PreviewWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>

#include "AnchorPalette.h"
#include "AnchorShares.h"
#include "CellDensity.h"
#include "ColouredScene.h"
#include "ColouredSceneWriter.h"
#include "CompareSplit.h"
#include "DemoScene.h"
#include "DialogHost.h"
#include "DroppedChannels.h"
#include "NativeFileName.h"
#include "PaletteFile.h"
#include "PaletteLibrary.h"
#include "PalettorForm.h"
#include "PixelProbe.h"
#include "PixelReport.h"
#include "RasterError.h"
#include "ReadableFormats.h"
#include "RegistryBackend.h"
#include "SceneDensity.h"
#include "SceneFileFormat.h"
#include "SceneImage.h"
#include "SceneReader.h"
#include "SceneTablePanel.h"
#include "SceneView.h"
#include "SplitDivider.h"

namespace palettor {

namespace {

// The widest scale the boxes take; the colours only ever span -60 ... +39 degrees.
constexpr double kScaleLimit = 1000.0;
constexpr int kNoticeMs = 8000;
// A scene of more pixels is counted on a worker thread (1920 x 1080 takes about 12 ms).
constexpr std::uint64_t kCountedAtOnce = 2'500'000;

// Every extension GDAL's drivers read here, then anything: a driver may know a file by its contents.
QString OpenFilter() {
  QStringList patterns;
  for (const std::string& extension : ReadableExtensions())
    patterns << QStringLiteral("*.") + QString::fromStdString(extension);
  const QString all = patterns.join(QLatin1Char(' '));
  return PreviewWindow::tr("Images and satellite data") + QLatin1Char('|') + all + QStringLiteral("|All files (*)|*");
}
const char* const kExportFilter =
    "PNG images (*.png)|*.png|BMP images (*.bmp)|*.bmp|TIFF images (*.tif *.tiff)|*.tif *.tiff";

QString VisionCaption(VisionSimulation simulation) {
  switch (simulation) {
    case VisionSimulation::Normal: return PreviewWindow::tr("Normal vision");
    case VisionSimulation::Protanopia: return PreviewWindow::tr("Protanopia (no red cones)");
    case VisionSimulation::Deuteranopia: return PreviewWindow::tr("Deuteranopia (no green cones)");
    case VisionSimulation::Tritanopia: return PreviewWindow::tr("Tritanopia (no blue cones)");
    case VisionSimulation::Greyscale: return PreviewWindow::tr("Greyscale print");
  }
  return {};
}

// A variable of a file as GDAL names it: NETCDF:"/data/file.nc":CMI, HDF5:"/data/f.h5"://group/var.
QRegularExpressionMatch VariableName(const QString& path) {
  static const QRegularExpression variable(QStringLiteral("^\\w+:\"(.+)\":(.+)$"));
  return variable.match(path);
}

// The file a channel is read from.
QString FileOf(const QString& path) {
  const QRegularExpressionMatch variable = VariableName(path);
  return variable.hasMatch() ? variable.captured(1) : path;
}

// A file's name without its folder; for a variable of a file, the file's name and the
// variable: file.nc:CMI.
QString FileName(const QString& path) {
  const QRegularExpressionMatch variable = VariableName(path);
  if (variable.hasMatch()) return QFileInfo(variable.captured(1)).fileName() + QLatin1Char(':') + variable.captured(2);
  return QFileInfo(path).fileName();
}

// A file's absolute name; a name GDAL gives a part of a file stays as it is.
QString Absolute(const QString& path) {
  const QFileInfo file(path);
  return file.exists() ? file.absoluteFilePath() : path;
}

QString SizeText(int width, int height) { return QStringLiteral("%1 \u00d7 %2").arg(width).arg(height); }

// Scenes up to this many pixels are kept whole at full resolution (4 bytes a pixel); larger
// ones are read reduced to fit a square of kReducedSide, and the part in view is read again
// as finely as the zoom needs.
constexpr std::int64_t kWholeCellsPixelLimit = std::int64_t{4096} * 4096;
constexpr int kReducedSide = 2048;

// Whether a reading error of the scene is about its visible channel (RasterError.h words it
// "the visible image FILE: ..." or "cannot read the visible image FILE: ...").
bool AboutVisible(const std::string& reason) {
  return reason.rfind("the visible image", 0) == 0 || reason.rfind("cannot read the visible image", 0) == 0;
}

// "8-bit", "16-bit", "K", "°C", "%" or "reflectance": how a channel is read.
QString InfraredText(const InfraredRule& rule) {
  if (!rule.unit) return rule.levelDepth == GreyDepth::Eight ? QStringLiteral("8-bit") : QStringLiteral("16-bit");
  return *rule.unit == TemperatureUnit::Kelvin ? QStringLiteral("K") : QStringLiteral("\u00b0C");
}
QString VisibleText(const VisibleRule& rule) {
  if (!rule.unit) return rule.levelDepth == GreyDepth::Eight ? QStringLiteral("8-bit") : QStringLiteral("16-bit");
  return *rule.unit == ReflectanceUnit::Percent ? QStringLiteral("%") : QStringLiteral("reflectance");
}

}  // namespace

PreviewWindow::PreviewWindow(TFormPalettor& form, const CurrentUserRegistry& currentUser, IDialogHost& dialogs,
                             const DemoScene& demo)
    : form_(form),
      currentUser_(currentUser),
      dialogs_(dialogs),
      demo_(demo),
      colouriser_(std::make_unique<SceneColouriser>()),
      simulated_(std::make_unique<LutPixels>()),
      density_(std::make_unique<SceneDensity>()) {
  setObjectName(QStringLiteral("PreviewWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAcceptDrops(true);
  view_ = new SceneView(this);
  setCentralWidget(view_);
  compare_ = new CompareSplit(*view_);
  openedPalette_ = form_.CurrentPalette();
  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildTablePanel();
  view_->SetColouriser(colouriser_.get());
  connect(view_, &SceneView::PixelHovered, this, &PreviewWindow::ShowPixel);
  connect(view_, &SceneView::HoverLeft, this, &PreviewWindow::ClearPixelInfo);
  connect(view_, &SceneView::PixelClicked, this, &PreviewWindow::SelectAnchorOf);
  connect(view_, &SceneView::ZoomChanged, this, &PreviewWindow::UpdateZoomInfo);
  connect(view_, &SceneView::CellsInViewChanged, this, [this] {
    if (const auto anchor = highlight_.Anchor()) Highlight(*anchor);
  });
  connect(&form_, &TFormPalettor::TableRebuilt, this, &PreviewWindow::Recolour);

  const std::optional<PreviewSettings> loaded = LoadPreviewSettings(currentUser_);
  settingsLoaded_ = loaded.has_value();
  ApplySettings(loaded.value_or(DefaultPreviewSettings()));
  ClearPixelInfo();

  // The scene at its zoom where the screen allows, else most of the screen.
  const QSize chrome(40 + tableDock_->sizeHint().width(), menuBar()->sizeHint().height() + 120);
  QSize wanted = view_->SceneSize() * (view_->ZoomPercent() == kZoomToFit ? 1.0 : view_->ScaleFactor()) + chrome;
  if (const QScreen* where = screen()) wanted = wanted.boundedTo(where->availableGeometry().size() * 0.85);
  resize(wanted.expandedTo(QSize(640, 480)));
  view_->setFocus();
}

PreviewWindow::~PreviewWindow() {
  WaitForCount();
  StoreSettings();
}

void PreviewWindow::BuildActions() {
  const auto make = [this](const QString& text, const char* name, const QKeySequence& keys = {}) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) action->setShortcut(keys);
    return action;
  };
  openImages = make(tr("&Open Images..."), "OpenImages", QKeySequence(Qt::CTRL | Qt::Key_O));
  openImages->setToolTip(tr("Open an infrared and a visible image (Ctrl+O)"));
  openInfrared = make(tr("Open &Infrared Image..."), "OpenInfrared");
  openVisible = make(tr("Open &Visible Image..."), "OpenVisible");
  showDemo = make(tr("Show the &Demo Scene"), "ShowDemo");
  exportView = make(tr("&Export Coloured View..."), "ExportView", QKeySequence(Qt::CTRL | Qt::Key_E));
  exportView->setToolTip(tr("Save the coloured scene as PNG, BMP or TIFF (Ctrl+E)"));
  closeWindow = make(tr("&Close"), "ClosePreview", QKeySequence(Qt::CTRL | Qt::Key_W));
  zoomIn = make(tr("Zoom &In"), "ZoomIn", QKeySequence(Qt::CTRL | Qt::Key_Plus));
  zoomOut = make(tr("Zoom &Out"), "ZoomOut", QKeySequence(Qt::CTRL | Qt::Key_Minus));
  actualSize = make(tr("&Actual Size (100 %)"), "ActualSize", QKeySequence(Qt::CTRL | Qt::Key_0));
  fitToWindow = make(tr("&Fit to Window"), "FitToWindow", QKeySequence(Qt::CTRL | Qt::Key_F));
  editScale = make(tr("Set the Infrared &Scale"), "EditScale", QKeySequence(Qt::CTRL | Qt::Key_L));
  resetScale = make(tr("&Reset the Scale (+40 \u00b0C black, \u221260 \u00b0C white)"), "ResetScale");

  auto* visions = new QActionGroup(this);
  for (std::size_t i = 0; i < kVisionSimulations.size(); ++i) {
    const VisionSimulation simulation = kVisionSimulations[i];
    QAction* action = make(VisionCaption(simulation), "Vision");
    action->setObjectName(QStringLiteral("Vision_") + QLatin1String(VisionSimulationName(simulation)));
    action->setCheckable(true);
    visions->addAction(action);
    connect(action, &QAction::triggered, this, [this, simulation] { SetSimulation(simulation); });
    visionActions[i] = action;
  }

  // Short words on the toolbar; the menus have the full captions.
  openImages->setIconText(tr("Open..."));
  showDemo->setIconText(tr("Demo scene"));
  exportView->setIconText(tr("Export..."));
  zoomOut->setIconText(QStringLiteral("\u2212"));
  zoomIn->setIconText(QStringLiteral("+"));
  actualSize->setIconText(QStringLiteral("100 %"));
  fitToWindow->setIconText(tr("Fit"));
  zoomOut->setToolTip(tr("Zoom out (Ctrl+Minus, or Minus on the scene)"));
  zoomIn->setToolTip(tr("Zoom in (Ctrl+Plus, or Plus on the scene)"));
  actualSize->setToolTip(tr("One image pixel per screen pixel (Ctrl+0, or 0 on the scene)"));
  fitToWindow->setToolTip(tr("The whole scene in the window (Ctrl+F, or F on the scene)"));

  connect(openImages, &QAction::triggered, this, &PreviewWindow::ChooseAndOpenImages);
  connect(openInfrared, &QAction::triggered, this, [this] { ChooseAndOpen(true); });
  connect(openVisible, &QAction::triggered, this, [this] { ChooseAndOpen(false); });
  connect(showDemo, &QAction::triggered, this, &PreviewWindow::ShowDemoScene);
  connect(exportView, &QAction::triggered, this, &PreviewWindow::ChooseAndExport);
  connect(closeWindow, &QAction::triggered, this, &QWidget::close);
  connect(zoomIn, &QAction::triggered, this, [this] { view_->ZoomIn(); });
  connect(zoomOut, &QAction::triggered, this, [this] { view_->ZoomOut(); });
  connect(actualSize, &QAction::triggered, this, [this] { view_->SetZoomPercent(100); });
  connect(fitToWindow, &QAction::triggered, this, [this] { view_->SetZoomPercent(kZoomToFit); });
  connect(editScale, &QAction::triggered, this, [this] {
    black_->setFocus(Qt::ShortcutFocusReason);
    black_->selectAll();
  });
  connect(resetScale, &QAction::triggered, this, [this] { SetScale(IrScale{}); });
}

void PreviewWindow::BuildMenus() {
  menuBar()->setObjectName(QStringLiteral("PreviewMenu"));
  fileMenu = menuBar()->addMenu(tr("&File"));
  fileMenu->setObjectName(QStringLiteral("PreviewFile"));
  fileMenu->addActions({openImages, openInfrared, openVisible, showDemo});
  fileMenu->addSeparator();
  fileMenu->addAction(exportView);
  fileMenu->addSeparator();
  fileMenu->addAction(closeWindow);

  viewMenu = menuBar()->addMenu(tr("&View"));
  viewMenu->setObjectName(QStringLiteral("PreviewView"));
  viewMenu->addActions({zoomIn, zoomOut, actualSize, fitToWindow});
  viewMenu->addSeparator();
  QMenu* vision = viewMenu->addMenu(tr("Colour &Vision"));
  vision->setObjectName(QStringLiteral("PreviewVision"));
  for (QAction* action : visionActions) vision->addAction(action);
  compareMenu = viewMenu->addMenu(tr("&Compare with\u2026"));
  compareMenu->setObjectName(QStringLiteral("PreviewCompare"));
  connect(compareMenu, &QMenu::aboutToShow, this, &PreviewWindow::FillCompareMenu);
  viewMenu->addSeparator();

  sceneMenu = menuBar()->addMenu(tr("&Scene"));
  sceneMenu->setObjectName(QStringLiteral("PreviewScene"));
  sceneMenu->addActions({editScale, resetScale});
}

void PreviewWindow::BuildToolBar() {
  QToolBar* bar = addToolBar(tr("Scene"));
  bar->setObjectName(QStringLiteral("PreviewToolBar"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->addAction(openImages);
  bar->addAction(showDemo);
  bar->addSeparator();

  const auto scaleBox = [this](const char* name, const QString& accessible, const QString& tip) {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(-kScaleLimit, kScaleLimit);
    box->setDecimals(2);
    box->setSingleStep(1.0);
    box->setSuffix(QStringLiteral(" \u00b0C"));
    // A temperature counts once it is typed in full (Enter or leaving the box), not per digit.
    box->setKeyboardTracking(false);
    box->setAccessibleName(accessible);
    box->setToolTip(tip);
    connect(box, &QDoubleSpinBox::valueChanged, this, &PreviewWindow::ScaleEdited);
    return box;
  };
  black_ = scaleBox("ScaleBlack", tr("Temperature of infrared level 0 (black)"),
                    tr("The temperature of the infrared image's black, level 0"));
  white_ = scaleBox("ScaleWhite", tr("Temperature of the top infrared level (white)"),
                    tr("The temperature of the infrared image's white, level 255 or 65535"));
  const auto label = [this](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, this);
    l->setBuddy(buddy);
    l->setContentsMargins(6, 0, 3, 0);
    return l;
  };
  bar->addWidget(label(tr("&Black:"), black_));
  bar->addWidget(black_);
  bar->addWidget(label(tr("&White:"), white_));
  bar->addWidget(white_);
  irUnit_ = new QLabel(this);
  irUnit_->setObjectName(QStringLiteral("InfraredUnit"));
  irUnit_->setAccessibleName(tr("Unit of the infrared image"));
  irUnit_->setContentsMargins(6, 0, 3, 0);
  irUnitAction_ = bar->addWidget(irUnit_);
  irUnitAction_->setVisible(false);
  bar->addSeparator();

  vision_ = new QComboBox(this);
  vision_->setObjectName(QStringLiteral("Vision"));
  vision_->setAccessibleName(tr("Colour vision"));
  vision_->setToolTip(tr("Show the scene as a person with a colour-vision deficiency, or a greyscale print, sees it"));
  for (const VisionSimulation simulation : kVisionSimulations) vision_->addItem(VisionCaption(simulation));
  connect(vision_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < kVisionSimulations.size())
      SetSimulation(kVisionSimulations[static_cast<std::size_t>(index)]);
  });
  bar->addWidget(label(tr("Colo&ur vision:"), vision_));
  bar->addWidget(vision_);
  bar->addSeparator();
  bar->addActions({zoomOut, zoomIn, actualSize, fitToWindow});
  bar->addSeparator();
  bar->addAction(exportView);
  setTabOrder(view_, black_);
  setTabOrder(black_, white_);
  setTabOrder(white_, vision_);
}

void PreviewWindow::BuildStatusBar() {
  pixelInfo_ = new QLabel(this);
  pixelInfo_->setObjectName(QStringLiteral("PixelInfo"));
  pixelInfo_->setAccessibleName(tr("Pixel under the pointer"));
  pixelInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sceneInfo_ = new QLabel(this);
  sceneInfo_->setObjectName(QStringLiteral("SceneInfo"));
  sceneInfo_->setAccessibleName(tr("Scene shown"));
  zoomInfo_ = new QLabel(this);
  zoomInfo_->setObjectName(QStringLiteral("ZoomInfo"));
  zoomInfo_->setAccessibleName(tr("Zoom"));
  statusBar()->addWidget(pixelInfo_, 1);
  statusBar()->addPermanentWidget(sceneInfo_);
  statusBar()->addPermanentWidget(zoomInfo_);
}

void PreviewWindow::BuildTablePanel() {
  tablePanel_ = new SceneTablePanel(this);
  tableDock_ = new QDockWidget(tr("Scene on the table"), this);
  tableDock_->setObjectName(QStringLiteral("SceneOnTable"));
  tableDock_->setWidget(tablePanel_);
  addDockWidget(Qt::RightDockWidgetArea, tableDock_);
  showTablePanel = tableDock_->toggleViewAction();
  showTablePanel->setText(tr("Scene on the &Table"));
  showTablePanel->setObjectName(QStringLiteral("ShowSceneOnTable"));
  viewMenu->addAction(showTablePanel);
  connect(tablePanel_, &SceneTablePanel::AnchorHighlighted, this, &PreviewWindow::Highlight);
  connect(tablePanel_, &SceneTablePanel::HighlightCleared, this, &PreviewWindow::ClearHighlight);
  connect(tablePanel_, &SceneTablePanel::AnchorChosen, this, &PreviewWindow::SelectAnchor);
  connect(tablePanel_, &SceneTablePanel::CellDescribed, this, &PreviewWindow::ShowCellInfo);
}

void PreviewWindow::ApplySettings(const PreviewSettings& settings) {
  scale_ = settings.scale;
  simulation_ = settings.simulation;
  ShowScaleAndSimulation();
  view_->SetZoomPercent(settings.zoomPercent);
  if (!settings.irPath.empty()) {
    const QString irPath = QString::fromStdString(settings.irPath);
    const QString visPath = QString::fromStdString(settings.visPath);
    Opened opened = OpenScene(irPath, visPath);
    if (opened.scene) {
      ShowScene(std::move(opened), irPath, visPath);
      return;
    }
    openingProblem_ = opened.reason;
  }
  ShowDemoScene();
}

void PreviewWindow::ReportOpeningProblems() {
  if (openingProblem_.isEmpty()) return;
  const QString problem = std::exchange(openingProblem_, QString());
  dialogs_.ShowError(this, tr("The images last opened could not be shown again.\n\n%1\n\nThe preview shows the "
                              "demo scene.")
                               .arg(problem));
}

void PreviewWindow::StoreSettings() {
  if (!settingsLoaded_ || settingsStored_) return;
  settingsStored_ = true;
  try {
    StorePreviewSettings(currentUser_, CurrentSettings());
  } catch (const ERegistryException& error) {
    // The window is on its way out: there is no one left to ask, only the log to tell.
    std::fprintf(stderr, "palettor: the preview's settings could not be stored: %s\n", error.what());
  }
}

PreviewSettings PreviewWindow::CurrentSettings() const {
  PreviewSettings settings;
  settings.irPath = irPath_.toStdString();
  settings.visPath = visPath_.toStdString();
  settings.scale = scale_;
  settings.zoomPercent = view_->ZoomPercent();
  settings.simulation = simulation_;
  return settings;
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
  StoreSettings();
  event->accept();
}

// --- Colouring

void PreviewWindow::Recolour() {
  const LutPixels* table = form_.Table();
  if (!table) return;  // the main window is closing
  if (simulation_ == VisionSimulation::Normal) {
    colouriser_->SetTable(*table);
  } else {
    SimulateVision(*table, simulation_, *simulated_);
    colouriser_->SetTable(*simulated_);
  }
  colouriser_->SetScale(scale_);
  view_->Recolour();
  if (densityScale_ != scale_) Recount();
  if (compare_->IsOn() && compareColoured_ != std::pair{scale_, simulation_}) {
    compare_->Recolour(scene_ ? scene_->Width() : 0, scale_, simulation_);
    compareColoured_ = std::pair{scale_, simulation_};
  }
  tablePanel_->SetTable(*table, TableInputsOf(form_.CurrentPalette()));
  ShowShares();
  if (const auto anchor = highlight_.Anchor()) Highlight(*anchor);
  if (hovered_) ShowPixel(*hovered_);
}

PreviewWindow::Opened PreviewWindow::OpenScene(const QString& irPath, const QString& visPath) {
  const ChannelRequest irRequest{EncodeFileName(irPath).toStdString(), 0, {}};
  const ChannelRequest visRequest{EncodeFileName(visPath).toStdString(), 0, {}};
  Opened failed;
  try {
    SceneChannel ir = SceneChannel::Open(irRequest);
    try {
      return ReadForView(std::move(ir), SceneChannel::Open(visRequest), irRequest, visRequest);
    } catch (const RasterError& error) {
      failed.what = tr("The visible image could not be opened.");
      failed.reason = QString::fromStdString(error.what());
    }
  } catch (const RasterError& error) {
    failed.what = tr("The infrared image could not be opened.");
    failed.reason = QString::fromStdString(error.what());
  }
  return failed;
}

PreviewWindow::Opened PreviewWindow::ReadForView(SceneChannel ir, SceneChannel vis, const ChannelRequest& irRequest,
                                                 const ChannelRequest& visRequest) {
  Opened opened;
  try {
    opened.scene =
        std::make_unique<palettor::ColouredScene>(std::move(ir), std::move(vis), SceneOptions{}, *colouriser_);
  } catch (const RasterError& error) {
    opened.what = tr("The two images do not make a scene.");
    opened.reason = QString::fromStdString(error.what());
    return opened;
  }
  const int width = opened.scene->Width(), height = opened.scene->Height();
  const bool whole = std::int64_t{width} * height <= kWholeCellsPixelLimit;
  const double scale = whole ? 1.0 : std::min(1.0, static_cast<double>(kReducedSide) / std::max(width, height));
  const int cellsWidth = std::max(1, static_cast<int>(std::lround(width * scale)));
  const int cellsHeight = std::max(1, static_cast<int>(std::lround(height * scale)));
  try {
    opened.cells =
        std::make_shared<const SceneCells>(opened.scene->ReadCells({0, 0, width, height}, cellsWidth, cellsHeight));
  } catch (const RasterError& error) {
    opened.what = AboutVisible(error.what()) ? tr("The visible image could not be opened.")
                                             : tr("The infrared image could not be opened.");
    opened.reason = QString::fromStdString(error.what());
    opened.scene.reset();
    return opened;
  }
  if (!whole && !irRequest.name.empty()) {
    opened.reader = std::make_unique<SceneReader>([irRequest, visRequest](const SceneColouriser& colouriser) {
      return palettor::ColouredScene(SceneChannel::Open(irRequest), SceneChannel::Open(visRequest), SceneOptions{},
                                     colouriser);
    });
  }
  return opened;
}

void PreviewWindow::ShowScene(Opened opened, QString irPath, QString visPath) {
  WaitForCount();
  scene_ = std::move(opened.scene);
  irPath_ = std::move(irPath);
  visPath_ = std::move(visPath);
  hovered_.reset();
  densityScale_.reset();
  compareColoured_.reset();
  view_->SetScene(QSize(scene_->Width(), scene_->Height()), std::move(opened.cells), std::move(opened.reader));
  ShowScaleState();
  Recolour();
  UpdateSceneInfo();
}

void PreviewWindow::ShowDemoScene() {
  Opened opened = ReadForView(SceneChannel::FromLevels(demo_.ir, "the demo scene's infrared channel"),
                              SceneChannel::FromLevels(demo_.vis, "the demo scene's visible channel"), {}, {});
  if (opened.scene) ShowScene(std::move(opened), {}, {});
}

std::optional<QString> PreviewWindow::ChooseVariable(const QString& path, const QString& channel) {
  // Only a regular file is looked into: a pipe or a device would block the window.
  if (!QFileInfo(path).isFile()) return path;
  const std::vector<Subdataset> parts = SubdatasetsOf(path.toStdString());
  if (parts.empty()) return path;
  QStringList descriptions;
  for (const Subdataset& part : parts) descriptions << QString::fromStdString(part.description);
  int chosen = 0;
  if (!dialogs_.ChooseItem(this, tr("Choose the %1 channel").arg(channel),
                           tr("%1 holds several variables. Which is the %2 channel?").arg(FileName(path), channel),
                           descriptions, chosen) ||
      chosen < 0 || static_cast<std::size_t>(chosen) >= parts.size()) {
    return std::nullopt;
  }
  return QString::fromStdString(parts[static_cast<std::size_t>(chosen)].name);
}

bool PreviewWindow::OpenChannels(const QString& irFile, const QString& visFile) {
  // A file of several variables: the user says which is the channel (Cancel opens nothing).
  const std::optional<QString> irChosen = ChooseVariable(irFile, tr("infrared"));
  if (!irChosen) return false;
  const std::optional<QString> visChosen = ChooseVariable(visFile, tr("visible"));
  if (!visChosen) return false;
  const QString irPath = *irChosen, visPath = *visChosen;
  Opened opened = OpenScene(irPath, visPath);
  if (!opened.scene) {
    Refuse(opened.what, opened.reason);
    return false;
  }
  ShowScene(std::move(opened), Absolute(irPath), Absolute(visPath));
  return true;
}

const QImage& PreviewWindow::ColouredScene() const { return view_->Shown(); }

bool PreviewWindow::OpenChannel(const QString& path, bool infrared) {
  if (ShowsDemoScene()) {
    Refuse(tr("%1 cannot be shown alone.").arg(FileName(path)),
           tr("Open both channels (File \u203a Open Images): the demo scene has no files to pair one with."));
    return false;
  }
  return infrared ? OpenChannels(path, visPath_) : OpenChannels(irPath_, path);
}

bool PreviewWindow::OpenDropped(const QString& first, const QString& second) {
  const DroppedChannels channels = AssignDroppedChannels(first, second);
  if (!OpenChannels(channels.ir, channels.vis)) return false;
  statusBar()->showMessage(
      (channels.byName ? tr("Infrared: %1, visible: %2, as their names say.")
                       : tr("Infrared: %1, visible: %2, in the order they were dropped; their names do not say."))
          .arg(FileName(channels.ir), FileName(channels.vis)),
      kNoticeMs * 2);
  return true;
}

void PreviewWindow::Refuse(const QString& what, const QString& reason) {
  const QString shown =
      ShowsDemoScene() ? tr("the demo scene") : FileName(irPath_) + QStringLiteral(" + ") + FileName(visPath_);
  dialogs_.ShowError(this, what + QStringLiteral("\n\n") + reason + QStringLiteral("\n\n") +
                               tr("The preview keeps showing %1.").arg(shown));
}

bool PreviewWindow::ExportTo(const QString& path) {
  // Through the same reading and writing as palettor-cli colourise, from the files again, so
  // that the file is the one colourise writes (georeferencing included).
  ColouredSceneWriter writer;
  QString reason;
  if (const auto driver = SceneDriverForName(path.toStdString()); !driver) {
    reason = tr("unknown image format (the name should end in %1)").arg(QLatin1String(kSceneFileExtensions));
  } else {
    try {
      SceneChannel ir = ShowsDemoScene() ? SceneChannel::FromLevels(demo_.ir, "the demo scene's infrared channel")
                                         : SceneChannel::Open({EncodeFileName(irPath_).toStdString(), 0, {}});
      SceneChannel vis = ShowsDemoScene() ? SceneChannel::FromLevels(demo_.vis, "the demo scene's visible channel")
                                          : SceneChannel::Open({EncodeFileName(visPath_).toStdString(), 0, {}});
      palettor::ColouredScene scene(std::move(ir), std::move(vis), SceneOptions{}, *colouriser_);
      if (compare_->IsOn()) scene.SplitAt(compare_->Divider()->Column(), compare_->Colouriser());
      if (!writer.Write(scene, *driver, path)) reason = writer.ErrorString();
    } catch (const RasterError& error) {
      reason = QString::fromStdString(error.what());
    }
  }
  if (!reason.isEmpty()) {
    dialogs_.ShowError(this, tr("The coloured view could not be exported to %1.\n\n%2").arg(path, reason));
    return false;
  }
  statusBar()->showMessage(tr("Exported the coloured view to %1").arg(path), kNoticeMs);
  return true;
}

// --- Settings of the view

void PreviewWindow::ShowScaleAndSimulation() {
  const QSignalBlocker blackQuiet(black_), whiteQuiet(white_), visionQuiet(vision_);
  black_->setValue(scale_.black);
  white_->setValue(scale_.white);
  const auto index = static_cast<std::size_t>(
      std::find(kVisionSimulations.begin(), kVisionSimulations.end(), simulation_) - kVisionSimulations.begin());
  vision_->setCurrentIndex(static_cast<int>(index));
  visionActions[index]->setChecked(true);
}

void PreviewWindow::SetScale(IrScale scale) {
  if (!IsUsableScale(scale)) return;
  scale_ = scale;
  ShowScaleAndSimulation();
  Recolour();
}

void PreviewWindow::ScaleEdited() {
  const IrScale edited{black_->value(), white_->value()};
  if (!IsUsableScale(edited)) {
    statusBar()->showMessage(tr("Black and white must differ: the scale stays %1 black, %2 white.")
                                 .arg(FormatCelsius(scale_.black), FormatCelsius(scale_.white)),
                             kNoticeMs);
    return;
  }
  scale_ = edited;
  Recolour();
}

void PreviewWindow::SetSimulation(VisionSimulation simulation) {
  const bool changed = simulation != simulation_;
  simulation_ = simulation;
  ShowScaleAndSimulation();
  if (changed) Recolour();
}

// --- Pointing at the scene

void PreviewWindow::ShowPixel(QPoint pixel) {
  hovered_ = pixel;
  if (!scene_) return;
  try {
    const ScenePixel at = scene_->PixelAt(pixel.x(), pixel.y());
    pixelInfo_->setText(DescribeScenePixel(pixel.x(), pixel.y(), at, scene_->IrRule(), scene_->VisRule(),
                                           TableInputsOf(form_.CurrentPalette())));
    tablePanel_->MarkCell(at.column && at.row ? std::optional(TableCell{*at.column, *at.row}) : std::nullopt);
  } catch (const RasterError& error) {
    pixelInfo_->setText(QString::fromStdString(error.what()));
  }
}

void PreviewWindow::ClearPixelInfo() {
  hovered_.reset();
  if (tablePanel_) tablePanel_->MarkCell(std::nullopt);
  pixelInfo_->setText(tr("Point at the scene for its levels, temperature and anchors; click to edit the anchor."));
}

void PreviewWindow::SelectAnchorOf(QPoint pixel) {
  if (!scene_) return;
  ScenePixel at;
  try {
    at = scene_->PixelAt(pixel.x(), pixel.y());
  } catch (const RasterError&) {
    return;
  }
  if (!at.column || !at.row) return;
  const int anchor = AnchorsOfCell(*at.column, *at.row, TableInputsOf(form_.CurrentPalette())).selected;
  SelectAnchor(anchor);
}

void PreviewWindow::SelectAnchor(int anchor) {
  form_.SelectAnchor(anchor);
  statusBar()->showMessage(tr("%1 selected in the colour editor").arg(QString::fromStdString(AnchorName(anchor))),
                           kNoticeMs / 2);
}

// --- The scene on the table

void PreviewWindow::Recount() {
  densityScale_ = scale_;
  const std::uint64_t generation = ++countGeneration_;
  // The whole scene's cells: every pixel of a scene kept at full resolution, a sample of a larger one.
  const std::shared_ptr<const SceneCells> whole = view_->WholeCells();
  const auto pixels = whole ? static_cast<std::uint64_t>(whole->width) * static_cast<std::uint64_t>(whole->height) : 0;
  if (pixels <= kCountedAtOnce) {
    *density_ = whole ? DensityOfCells(*whole, scale_) : SceneDensity();
    tablePanel_->SetCounts(density_.get());
    return;
  }
  // Longer than a frame: the panel shows the table alone until the worker is done.
  WaitForCount();
  *density_ = SceneDensity();
  tablePanel_->SetCounts(nullptr);
  counting_ = new QFutureWatcher<SceneDensity>(this);
  connect(counting_, &QFutureWatcherBase::finished, this, [this, watcher = counting_, generation] {
    watcher->deleteLater();
    if (counting_ == watcher) counting_ = nullptr;
    if (generation != countGeneration_) return;
    *density_ = watcher->result();
    tablePanel_->SetCounts(density_.get());
    ShowShares();
  });
  counting_->setFuture(QtConcurrent::run([whole, scale = scale_] { return DensityOfCells(*whole, scale); }));
}

void PreviewWindow::WaitForCount() {
  if (counting_) counting_->waitForFinished();
}

void PreviewWindow::ShowShares() {
  if (counting_) {
    tablePanel_->SetShares(std::nullopt);
    return;
  }
  const AnchorShares shares(*density_, form_.CurrentPalette());
  SharePercents percents{};
  for (int anchor = kFirstAnchor; anchor <= kLastAnchor; ++anchor)
    percents[AnchorSlot(anchor)] = shares.Percent(anchor);
  tablePanel_->SetShares(percents);
}

void PreviewWindow::Highlight(int anchor) {
  highlight_.Show(anchor, TableInputsOf(form_.CurrentPalette()), scale_, view_->CellsInView());
  view_->SetOverlay(highlight_.Overlay());
}

void PreviewWindow::ClearHighlight() {
  highlight_.Clear();
  view_->SetOverlay(nullptr);
}

// --- Two tables on one scene

void PreviewWindow::FillCompareMenu() {
  compareMenu->clear();
  compareMenu->addAction(tr("The Table When This Window &Opened"), this,
                         [this] { CompareWith(tr("The table when the preview opened"), openedPalette_); });
  compareMenu->addSeparator();
  const PaletteListing listing = ListPalettes(UserPaletteFolder());
  for (const NamedPalette& named : listing.palettes) {
    QAction* action = compareMenu->addAction(named.name);
    action->setObjectName(QStringLiteral("Compare_") + named.name);
    const QString name = named.name;
    const Palette palette = named.palette;
    connect(action, &QAction::triggered, this, [this, name, palette] { CompareWith(name, palette); });
  }
  compareMenu->addSeparator();
  compareMenu->addAction(tr("Palette &File..."), this, &PreviewWindow::ChooseAndCompareFile);
  compareMenu->addSeparator();
  QAction* stop = compareMenu->addAction(tr("&No Comparison"), this, [this] {
    compare_->Stop();
    compareColoured_.reset();
  });
  stop->setEnabled(compare_->IsOn());
}

void PreviewWindow::CompareWith(const QString& name, const Palette& palette) {
  const int width = scene_ ? scene_->Width() : 0;
  const int column = compare_->IsOn() ? compare_->Divider()->Column() : width / 2;
  compare_->Start(name, palette, column, width);
  compareColoured_.reset();
  Recolour();
}

void PreviewWindow::ChooseAndCompareFile() {
  TOpenDialog dialog;
  dialog.Title = tr("Compare with a palette file");
  dialog.Filter = tr("Palette files (*.json)|*.json|All files (*)|*");
  if (!dialogs_.ExecuteOpenDialog(this, dialog)) return;
  const PaletteReadResult read = ReadPaletteFile(dialog.FileName);
  if (!read.document) {
    dialogs_.ShowError(this, tr("The palette could not be compared.\n\n%1").arg(read.error.Message()));
    return;
  }
  CompareWith(read.document->name.isEmpty() ? QFileInfo(dialog.FileName).completeBaseName() : read.document->name,
              read.document->palette);
}

void PreviewWindow::ShowCellInfo(const QString& text) {
  if (text.isEmpty()) {
    ClearPixelInfo();
  } else {
    pixelInfo_->setText(text);
  }
}

// --- Dialogs and drops

std::optional<QString> PreviewWindow::ChooseImage(const QString& title, const QString& current) {
  TOpenDialog dialog;
  dialog.Title = title;
  dialog.Filter = OpenFilter();
  if (!current.isEmpty()) dialog.InitialDir = QFileInfo(FileOf(current)).absolutePath();
  if (!dialogs_.ExecuteOpenDialog(this, dialog)) return std::nullopt;
  return dialog.FileName;
}

void PreviewWindow::ChooseAndOpenImages() {
  const auto ir = ChooseImage(tr("Open the infrared image"), irPath_);
  if (!ir) return;
  const auto vis = ChooseImage(tr("Open the visible image"), visPath_.isEmpty() ? *ir : visPath_);
  if (!vis) return;
  OpenChannels(*ir, *vis);
}

void PreviewWindow::ChooseAndOpen(bool infrared) {
  // The demo scene has no files to pair a single channel with.
  if (ShowsDemoScene()) {
    ChooseAndOpenImages();
    return;
  }
  const auto path = ChooseImage(infrared ? tr("Open the infrared image") : tr("Open the visible image"),
                                infrared ? irPath_ : visPath_);
  if (!path) return;
  OpenChannel(*path, infrared);
}

void PreviewWindow::ChooseAndExport() {
  TSaveDialog dialog;
  dialog.Title = tr("Export the coloured view");
  dialog.DefaultExt = QStringLiteral("png");
  dialog.Filter = QString::fromLatin1(kExportFilter);
  dialog.FileName = ShowsDemoScene() ? QStringLiteral("demo-scene-coloured.png")
                                     : QFileInfo(FileOf(irPath_)).completeBaseName() + QStringLiteral("-coloured.png");
  if (!ShowsDemoScene()) dialog.InitialDir = QFileInfo(FileOf(irPath_)).absolutePath();
  if (!dialogs_.ExecuteSaveDialog(this, dialog)) return;
  ExportTo(dialog.FileName);
}

void PreviewWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  const bool files = !urls.isEmpty() && urls.size() <= 2 &&
                     std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
  if (files) event->acceptProposedAction();
}

void PreviewWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  if (urls.size() == 2) {
    OpenDropped(urls[0].toLocalFile(), urls[1].toLocalFile());
    return;
  }
  const QString path = urls.value(0).toLocalFile();
  switch (ChannelHintOf(path)) {
    case ChannelHint::Infrared: OpenChannel(path, true); break;
    case ChannelHint::Visible: OpenChannel(path, false); break;
    case ChannelHint::None:
      Refuse(tr("Which channel is %1?").arg(FileName(path)),
             tr("Drop the infrared and the visible image together, or one whose name says ir or vis."));
      break;
  }
}

// --- What the status bar and the title say

void PreviewWindow::UpdateSceneInfo() {
  const QString size = scene_ ? SizeText(scene_->Width(), scene_->Height()) : QString();
  if (ShowsDemoScene()) {
    sceneInfo_->setText(tr("Demo scene, %1").arg(size));
    setWindowTitle(tr("Preview: demo scene - Palettor"));
  } else {
    sceneInfo_->setText(tr("Infrared %1 (%2), visible %3 (%4), %5")
                            .arg(FileName(irPath_), InfraredText(scene_->IrRule()), FileName(visPath_),
                                 VisibleText(scene_->VisRule()), size));
    setWindowTitle(tr("Preview: %1 + %2 - Palettor").arg(FileName(irPath_), FileName(visPath_)));
  }
}

void PreviewWindow::ShowScaleState() {
  const std::optional<TemperatureUnit> unit = scene_ ? scene_->IrRule().unit : std::nullopt;
  for (QWidget* box : {static_cast<QWidget*>(black_), static_cast<QWidget*>(white_)}) box->setEnabled(!unit);
  editScale->setEnabled(!unit);
  resetScale->setEnabled(!unit);
  if (unit) {
    const QString symbol = *unit == TemperatureUnit::Kelvin ? QStringLiteral("K") : QStringLiteral("\u00b0C");
    irUnit_->setText(tr("Infrared in %1").arg(symbol));
    irUnit_->setToolTip(tr("The infrared image holds temperatures in %1: the scale sets the temperatures of levels "
                           "only.")
                            .arg(symbol));
  }
  irUnitAction_->setVisible(static_cast<bool>(unit));
}

void PreviewWindow::UpdateZoomInfo() {
  const int percent = static_cast<int>(std::lround(view_->ScaleFactor() * 100.0));
  zoomInfo_->setText(view_->ZoomPercent() == kZoomToFit ? tr("Fit (%1 %)").arg(percent) : tr("%1 %").arg(percent));
}

}  // namespace palettor
