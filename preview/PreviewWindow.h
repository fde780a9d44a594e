#pragma once
// The preview: a satellite scene coloured with the table the main window shows, recoloured the
// moment the table changes, in a window of its own beside the editor.
//
// It shows an infrared and a visible image (opened, or dropped on it two at a time) or the
// built-in demo scene; the infrared scale and a colour-vision simulation are set here. Hovering
// says what the pixel is and which anchors colour it; a click selects that anchor in the main
// window's colour editor. Export writes what colourise writes for the same images and settings.
// Its settings are read when it opens and stored when it closes (PreviewSettings.h).
#include <QFutureWatcher>
#include <QImage>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "AnchorHighlight.h"
#include "ColouredScene.h"
#include "ColumnMap.h"
#include "LutTable.h"
#include "Palette.h"
#include "PreviewSettings.h"
#include "SceneColouriser.h"
#include "VisionSimulation.h"

class QAction;
class QComboBox;
class QDockWidget;
class QDoubleSpinBox;
class QLabel;
class QMenu;

namespace palettor {

class IDialogHost;
class SceneReader;
class CompareSplit;
class SceneDensity;
class SceneTablePanel;
class SceneView;
class TFormPalettor;
struct DemoScene;

class PreviewWindow : public QMainWindow {
  Q_OBJECT
 public:
  // Its settings are kept in `currentUser`'s store. `form`, `dialogs`, `demo` and the store must
  // outlive the window.
  PreviewWindow(TFormPalettor& form, const CurrentUserRegistry& currentUser, IDialogHost& dialogs,
                const DemoScene& demo);
  ~PreviewWindow() override;  // stores the settings if closing did not

  // Reports, through the dialogs, images last opened that could not be shown again; called
  // once the window is on screen.
  void ReportOpeningProblems();

  // Shows the pair and remembers it; false, with the reason shown through the dialogs, when it
  // cannot: the view then keeps what it showed. A file of several variables (NetCDF, HDF5)
  // asks, through the dialogs, which one is the channel.
  bool OpenChannels(const QString& irFile, const QString& visFile);
  void ShowDemoScene();
  // Two files dropped together: which is which by their names, else in the order given.
  bool OpenDropped(const QString& first, const QString& second);
  // The coloured scene as it is shown (simulation included), in the format of the name's
  // extension; false, with the reason shown, when it cannot be written.
  bool ExportTo(const QString& path);

  void SetScale(IrScale scale);
  IrScale Scale() const { return scale_; }
  void SetSimulation(VisionSimulation simulation);
  VisionSimulation Simulation() const { return simulation_; }
  PreviewSettings CurrentSettings() const;
  bool ShowsDemoScene() const { return irPath_.isEmpty(); }

  // The coloured part of the scene in view.
  const QImage& ColouredScene() const;
  SceneView* View() const { return view_; }
  QDoubleSpinBox* ScaleBlackBox() const { return black_; }
  QDoubleSpinBox* ScaleWhiteBox() const { return white_; }
  QComboBox* VisionBox() const { return vision_; }
  QLabel* PixelInfo() const { return pixelInfo_; }
  QLabel* SceneInfo() const { return sceneInfo_; }
  QLabel* InfraredUnitInfo() const { return irUnit_; }
  // "Scene on the table": the dock beside the scene and the panel in it.
  QDockWidget* TableDock() const { return tableDock_; }
  SceneTablePanel* TablePanel() const { return tablePanel_; }
  // Where the scene shown falls in the table, counted once per scene and scale.
  const SceneDensity& Density() const { return *density_; }
  // "Compare with…": the scene split between the table and another palette.
  CompareSplit* Compare() const { return compare_; }
  // Splits the view at the scene's middle (or where the divider is) with `palette` on the right.
  void CompareWith(const QString& name, const Palette& palette);

  // The window's commands, as its menus and toolbar hold them.
  QAction* openImages = nullptr;
  QAction* openInfrared = nullptr;
  QAction* openVisible = nullptr;
  QAction* showDemo = nullptr;
  QAction* exportView = nullptr;
  QAction* closeWindow = nullptr;
  QAction* zoomIn = nullptr;
  QAction* zoomOut = nullptr;
  QAction* actualSize = nullptr;
  QAction* fitToWindow = nullptr;
  QAction* editScale = nullptr;
  QAction* resetScale = nullptr;
  QAction* showTablePanel = nullptr;
  std::array<QAction*, kVisionSimulations.size()> visionActions{};
  QMenu* fileMenu = nullptr;
  QMenu* viewMenu = nullptr;
  QMenu* sceneMenu = nullptr;
  QMenu* compareMenu = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildTablePanel();
  void ApplySettings(const PreviewSettings& settings);
  void StoreSettings();

  // A new table (or scale, simulation, scene): the colours of every pixel again.
  void Recolour();
  // The scene of these channels, read for the view; the reason it cannot be, or nothing.
  struct Opened {
    std::unique_ptr<palettor::ColouredScene> scene;
    std::shared_ptr<const SceneCells> cells;  // the whole scene's, at full or reduced resolution
    std::unique_ptr<SceneReader> reader;      // of finer cells, for a scene read reduced
    QString what, reason;                     // what failed, and why, when there is no scene
  };
  Opened OpenScene(const QString& irPath, const QString& visPath);
  Opened ReadForView(palettor::SceneChannel ir, palettor::SceneChannel vis, const ChannelRequest& irRequest,
                     const ChannelRequest& visRequest);
  void ShowScene(Opened opened, QString irPath, QString visPath);
  // The scale boxes apply to levels only: disabled, with the unit, for temperatures.
  void ShowScaleState();
  // The boxes, the list and the menu as scale_ and simulation_ are, raising nothing.
  void ShowScaleAndSimulation();
  void ScaleEdited();
  void ShowPixel(QPoint pixel);
  void ClearPixelInfo();
  void SelectAnchorOf(QPoint pixel);
  void SelectAnchor(int anchor);
  // The scene's density again, for a new scene or scale.
  void Recount();
  // The count running on a worker thread reads the images: done before they change.
  void WaitForCount();
  void ShowShares();
  void Highlight(int anchor);
  void ClearHighlight();
  void ShowCellInfo(const QString& text);
  void FillCompareMenu();
  void ChooseAndCompareFile();
  void ChooseAndOpenImages();
  void ChooseAndOpen(bool infrared);
  // One channel in place of the one shown, the other staying; refused for the demo scene.
  bool OpenChannel(const QString& path, bool infrared);
  void ChooseAndExport();
  void UpdateSceneInfo();
  void UpdateZoomInfo();
  std::optional<QString> ChooseImage(const QString& title, const QString& current);
  // The file itself, the variable of it the user chose (as GDAL names it), or nothing when
  // the user cancelled the choice.
  std::optional<QString> ChooseVariable(const QString& path, const QString& channel);
  void Refuse(const QString& what, const QString& reason);

  TFormPalettor& form_;
  const CurrentUserRegistry currentUser_;
  IDialogHost& dialogs_;
  const DemoScene& demo_;

  std::unique_ptr<palettor::ColouredScene> scene_;  // for pointing at pixels; the view has its cells
  QString irPath_, visPath_;                        // both empty for the demo scene
  IrScale scale_;
  VisionSimulation simulation_ = VisionSimulation::Normal;
  std::unique_ptr<SceneColouriser> colouriser_;
  std::unique_ptr<LutPixels> simulated_;
  std::optional<QPoint> hovered_;
  std::unique_ptr<SceneDensity> density_;
  std::optional<IrScale> densityScale_;  // nothing: the scene changed since it was counted
  QFutureWatcher<SceneDensity>* counting_ = nullptr;
  std::uint64_t countGeneration_ = 0;  // a count finishing for an older scene or scale is dropped
  AnchorHighlight highlight_;
  CompareSplit* compare_ = nullptr;
  Palette openedPalette_;
  // The scale and simulation the right half was coloured with; nothing: colour it again.
  std::optional<std::pair<IrScale, VisionSimulation>> compareColoured_;

  // Nothing is stored for a store that could not be read: what it holds was never seen.
  bool settingsLoaded_ = false;
  bool settingsStored_ = false;
  QString openingProblem_;

  SceneView* view_ = nullptr;
  QDoubleSpinBox* black_ = nullptr;
  QDoubleSpinBox* white_ = nullptr;
  QComboBox* vision_ = nullptr;
  QLabel* pixelInfo_ = nullptr;
  QLabel* sceneInfo_ = nullptr;
  QLabel* zoomInfo_ = nullptr;
  QLabel* irUnit_ = nullptr;
  QAction* irUnitAction_ = nullptr;  // the label's place on the toolbar, shown for temperatures
  QDockWidget* tableDock_ = nullptr;
  SceneTablePanel* tablePanel_ = nullptr;
};

}  // namespace palettor
