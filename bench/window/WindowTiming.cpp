// palettor-window-timing [--samples N] [--scene-size WxH] [--open IR VIS]
//
// Change -> shown: a real mouse click on White top (or a step of the tail spinner, or Update)
// until the image has painted the new table; the click runs the whole handler, the rebuild of
// the table, the copy into the image and the repaint of the twelve patches.
// Change -> preview painted: the same click on White top until the preview window, its scene view
// 1920 x 1080, has painted the scene recoloured: the demo scene fitted to the view, a 1920 x
// 1080 scene (the demo scene enlarged) at 100 %, and scenes of 3840 x 2160 and 7680 x 4320 at
// 100 % and fitted (--scene-size: one size of the user's instead of those two).
// Open -> painted: with --open, the preview opening a pair of files until it has painted them.
// Change -> panel: the same click, or a new infrared scale, until the "Scene on the table" panel
// beside that scene has painted; and the count of the scene's density alone.
// Start -> first frame: a fresh process per sample, from starting it until the image has
// painted its first table.
//
// Runs on whatever display Qt finds; with none it uses the offscreen platform. Settings go to a
// temporary folder, never to the user's own.
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "CurrentUserRegistry.h"
#include "DemoScene.h"
#include "DensityTableView.h"
#include "LevelDensity.h"
#include "PalettorForm.h"
#include "PreviewSettings.h"
#include "PreviewWindow.h"
#include "SceneImage.h"
#include "SceneTablePanel.h"
#include "SceneView.h"
#include "SqliteRegistryStore.h"
#include "ViewMenu.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Summary {
  double median, p95, max, mean;
};

Summary Summarise(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  const auto at = [&](double q) { return ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1))]; };
  return {at(0.5), at(0.95), ms.back(), sum / static_cast<double>(ms.size())};
}

void Print(const char* what, const std::vector<double>& ms) {
  const Summary s = Summarise(ms);
  std::printf("%-44s n=%-4zu median %7.3f ms   p95 %7.3f ms   max %7.3f ms   mean %7.3f ms\n", what, ms.size(),
              s.median, s.p95, s.max, s.mean);
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Waits until the image has painted more often than `before`.
bool WaitForFrame(palettor::TFormPalettor& form, std::uint64_t before) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (form.ImageLUT->PaintCount() <= before) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

template <typename Action>
std::vector<double> TimeChanges(palettor::TFormPalettor& form, int samples, Action action) {
  std::vector<double> ms;
  for (int i = 0; i < samples; ++i) {
    const std::uint64_t before = form.ImageLUT->PaintCount();
    const auto start = Clock::now();
    action(i);
    if (!WaitForFrame(form, before)) {
      std::fputs("no frame was painted\n", stderr);
      break;
    }
    ms.push_back(Ms(Clock::now() - start));
  }
  return ms;
}

// Waits until the preview's scene view has painted more often than `before`.
bool WaitForPreviewFrame(const palettor::PreviewWindow& preview, std::uint64_t before) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (preview.View()->PaintCount() <= before) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

// Waits until the part of the scene in view is shown as finely as the zoom needs (at once for
// a scene kept whole), so that a timing does not include the reading.
void WaitForFinerCells(const palettor::PreviewWindow& preview) {
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  const palettor::SceneView& view = *preview.View();
  while (view.SourceScale() + 1e-9 < std::min(1.0, view.ScaleFactor()) && Clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

std::vector<double> TimePreviewChanges(palettor::TFormPalettor& form, const palettor::PreviewWindow& preview,
                                       int samples) {
  std::vector<double> ms;
  for (int i = 0; i < samples; ++i) {
    const std::uint64_t before = preview.View()->PaintCount();
    const auto start = Clock::now();
    QTest::mouseClick(form.CheckBoxWhiteTop, Qt::LeftButton, {}, QPoint(6, 8));
    if (!WaitForPreviewFrame(preview, before)) {
      std::fputs("the preview painted no frame\n", stderr);
      break;
    }
    ms.push_back(Ms(Clock::now() - start));
  }
  return ms;
}

// Waits until the panel's table has painted more often than `before`.
bool WaitForPanelFrame(const palettor::PreviewWindow& preview, std::uint64_t before) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (preview.TablePanel()->Table()->PaintCount() <= before) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

// `change` (sample i) until the "Scene on the table" panel has painted.
template <typename Change>
std::vector<double> TimePanelChanges(const palettor::PreviewWindow& preview, int samples, Change change) {
  std::vector<double> ms;
  for (int i = 0; i < samples; ++i) {
    const std::uint64_t before = preview.TablePanel()->Table()->PaintCount();
    const auto start = Clock::now();
    change(i);
    if (!WaitForPanelFrame(preview, before)) {
      std::fputs("the panel painted no frame\n", stderr);
      break;
    }
    ms.push_back(Ms(Clock::now() - start));
  }
  return ms;
}

// Opens the preview from the View menu and gives its scene view 1920 x 1080 pixels.
palettor::PreviewWindow* OpenPreview(palettor::TFormPalettor& form, const palettor::CurrentUserRegistry& currentUser) {
  QMenu* view = palettor::InstallViewMenu(form, currentUser);
  view->actions().constFirst()->trigger();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* preview = qobject_cast<palettor::PreviewWindow*>(w)) {
      const QSize port = preview->View()->viewport()->size();
      preview->resize(preview->size() + QSize(1920, 1080) - port);
      if (!QTest::qWaitForWindowExposed(preview)) return nullptr;
      QCoreApplication::processEvents();
      return preview;
    }
  }
  return nullptr;
}

// The demo scene enlarged to `size` (nearest level), as two grey PNG files in `folder`.
bool WriteLargeScene(const QString& folder, QSize size = {1920, 1080}) {
  const palettor::DemoScene demo = palettor::MakeDemoScene();
  for (const auto& [grey, name] : {std::pair{&demo.ir, "ir.png"}, std::pair{&demo.vis, "vis.png"}}) {
    const QImage large = palettor::GreyToImage(*grey).scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!large.save(folder + QLatin1Char('/') + QLatin1String(name))) return false;
  }
  return true;
}

// An 8-bit image enlarged by nearest level.
palettor::GreyImage Enlarged(const palettor::GreyImage& small, int width, int height) {
  palettor::GreyImage large(width, height, palettor::GreyDepth::Eight);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      large.Row8(y)[x] = small.Row8(y * small.Height() / height)[x * small.Width() / width];
  }
  return large;
}

int FirstFrameChild(Clock::time_point mainStarted, const palettor::CurrentUserRegistry& currentUser) {
  palettor::TFormPalettor form(currentUser);
  form.show();
  if (!WaitForFrame(form, 0)) return 1;
  std::printf("%.3f\n", Ms(Clock::now() - mainStarted));
  std::fflush(stdout);
  return 0;
}

// Shows a window, says "ready" and closes it at once; the parent times "ready" -> process exit.
// With `minimal`, a bare Qt Widgets window, the floor any program's shutdown stands on.
int CloseToExitChild(bool minimal, const palettor::CurrentUserRegistry& currentUser) {
  std::unique_ptr<QWidget> window;
  if (minimal) {
    window = std::make_unique<QWidget>();
  } else {
    window = std::make_unique<palettor::TFormPalettor>(currentUser);
  }
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return 1;
  QCoreApplication::processEvents();
  std::puts("ready");
  std::fflush(stdout);
  window->close();
  return 0;  // the window's destruction stores the settings; then the process ends
}

std::vector<double> TimeCloseToExit(const QProcessEnvironment& env, const QString& mode, int samples) {
  std::vector<double> ms;
  for (int i = 0; i < samples; ++i) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {mode});
    if (!child.waitForReadyRead(10000)) return ms;
    const auto start = Clock::now();
    if (!child.waitForFinished(10000) || child.exitCode() != 0) return ms;
    ms.push_back(Ms(Clock::now() - start));
  }
  return ms;
}

constexpr char kHelp[] = R"(Usage: palettor-window-timing [--samples N] [--scene-size WxH] [--open IR VIS]
Times the Palettor window as its user meets it, driven with real input events:
  change -> shown        a click on White top, a step of the tail percent, Update:
                         until the window has painted the new table
  change -> preview      a click on White top: until the preview (its view 1920 x 1080)
                         has painted the recoloured scene: the demo scene, 1920 x 1080
                         at 100 %, 3840 x 2160 and 7680 x 4320 at 100 % and fitted
  open -> painted        with --open: the preview opening the pair until it has painted it
  change -> panel        a click on White top, or a new infrared scale (the scene counted
                         again): until the "Scene on the table" panel has painted
  start -> first frame   a fresh process: until it has painted its first table
  close -> process exit  the window, beside a bare Qt Widgets window
and prints the median, 95th percentile, maximum and mean of each in milliseconds.

Options:
  --samples N        samples of each change (default 200, at least 5); the process
                     timings take at most 20
  --scene-size WxH   the large scene of this size instead of 3840x2160 and 7680x4320
  --open IR VIS      also time opening this pair of files (5 samples)
  -h, --help         show this help and exit

It uses the display Qt finds, or Qt's offscreen platform when there is none. The
settings go to a temporary folder, never to the user's own.
)";

// Whether the command line asks for the help; the values of options are no options.
bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--samples" || arg == "--scene-size")
      ++i;
    else if (arg == "--open")
      i += 2;
    else if (arg == "--help" || arg == "-h")
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const auto mainStarted = Clock::now();
  if (AsksForHelp(argc, argv)) {
    std::fputs(kHelp, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir store;
  if (qEnvironmentVariableIsEmpty("PALETTOR_TIMING_CHILD")) qputenv("XDG_CONFIG_HOME", store.path().toUtf8());
  QApplication application(argc, argv);
  palettor::SqliteRegistryStore registry(palettor::RegistryStorePath());
  const palettor::CurrentUserRegistry currentUser(registry);

  if (QCoreApplication::arguments().contains(QStringLiteral("--first-frame")))
    return FirstFrameChild(mainStarted, currentUser);
  if (QCoreApplication::arguments().contains(QStringLiteral("--close-exit")))
    return CloseToExitChild(false, currentUser);
  if (QCoreApplication::arguments().contains(QStringLiteral("--close-exit-minimal")))
    return CloseToExitChild(true, currentUser);
  int samples = 200;
  const QStringList args = QCoreApplication::arguments();
  if (const auto i = args.indexOf(QStringLiteral("--samples")); i >= 0 && i + 1 < args.size())
    samples = std::max(5, args[i + 1].toInt());
  std::vector<QSize> sceneSizes{{3840, 2160}, {7680, 4320}};
  if (const auto i = args.indexOf(QStringLiteral("--scene-size")); i >= 0 && i + 1 < args.size()) {
    const QStringList sides = args[i + 1].split(QLatin1Char('x'));
    const QSize size = sides.size() == 2 ? QSize(sides[0].toInt(), sides[1].toInt()) : QSize();
    if (size.isEmpty()) {
      std::fputs("--scene-size: expected WIDTHxHEIGHT, e.g. 3840x2160\n", stderr);
      return 2;
    }
    sceneSizes = {size};
  }

  std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
  {
    palettor::TFormPalettor form(currentUser);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form) || !WaitForFrame(form, 0)) {
      std::fputs("the window never showed\n", stderr);
      return 1;
    }
    Print("change -> shown: click White top", TimeChanges(form, samples, [&](int) {
            QTest::mouseClick(form.CheckBoxWhiteTop, Qt::LeftButton, {}, QPoint(6, 8));
          }));
    Print("change -> shown: step tail percent (Up key)", TimeChanges(form, samples, [&](int i) {
            QTest::keyClick(form.EditTailPercent, i % 2 ? Qt::Key_Down : Qt::Key_Up);
          }));
    QTest::mouseClick(form.PaintBoxP20, Qt::LeftButton, {}, QPoint(9, 9));
    Print("change -> shown: Update an anchor", TimeChanges(form, samples, [&](int i) {
            form.UpDownHue->SetPosition(i % 360);
            QTest::mouseClick(form.ButtonUpdateColour, Qt::LeftButton, {}, QPoint(36, 12));
          }));
    std::vector<double> rebuild;
    for (int i = 0; i < samples; ++i) {
      const auto start = Clock::now();
      form.RebuildTable();
      rebuild.push_back(Ms(Clock::now() - start));
    }
    Print("RebuildTable alone (no paint)", rebuild);

    palettor::PreviewWindow* preview = OpenPreview(form, currentUser);
    if (!preview) {
      std::fputs("the preview never showed\n", stderr);
      return 1;
    }
    preview->View()->SetZoomPercent(palettor::kZoomToFit);
    Print("change -> preview: demo scene fitted, 1920x1080", TimePreviewChanges(form, *preview, samples));
    QTemporaryDir large;
    if (!WriteLargeScene(large.path()) ||
        !preview->OpenChannels(large.filePath(QStringLiteral("ir.png")), large.filePath(QStringLiteral("vis.png")))) {
      std::fputs("the 1920 x 1080 scene could not be made\n", stderr);
      return 1;
    }
    preview->View()->SetZoomPercent(100);
    Print("change -> preview: 1920x1080 scene at 100 %", TimePreviewChanges(form, *preview, samples));
    preview->SetSimulation(palettor::VisionSimulation::Deuteranopia);
    Print("change -> preview: the same, deuteranopia", TimePreviewChanges(form, *preview, samples));
    preview->SetSimulation(palettor::VisionSimulation::Normal);
    Print("change -> panel: click White top, 1920x1080", TimePanelChanges(*preview, samples, [&](int) {
            QTest::mouseClick(form.CheckBoxWhiteTop, Qt::LeftButton, {}, QPoint(6, 8));
          }));
    // A new scale counts the scene again: the density of 1920 x 1080 pixels, then the repaint.
    Print("scale change -> panel: 1920x1080 recounted", TimePanelChanges(*preview, std::min(samples, 50), [&](int i) {
            preview->SetScale({40.0 + (i % 2), -60.0});
          }));
    const palettor::GreyImage largeIr = Enlarged(palettor::MakeDemoScene().ir, 1920, 1080);
    const palettor::GreyImage largeVis = Enlarged(palettor::MakeDemoScene().vis, 1920, 1080);
    std::vector<double> density;
    for (int i = 0; i < std::min(samples, 50); ++i) {
      const auto start = Clock::now();
      const palettor::SceneDensity counted = palettor::DensityOfLevels(largeIr, largeVis, preview->Scale());
      density.push_back(Ms(Clock::now() - start));
      if (counted.Pixels() == 0) std::fputs("no pixels counted\n", stderr);
    }
    Print("DensityOfLevels alone, 1920x1080", density);
    for (const QSize size : sceneSizes) {
      QTemporaryDir folder;
      const QString name = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
      if (!WriteLargeScene(folder.path(), size) || !preview->OpenChannels(folder.filePath(QStringLiteral("ir.png")),
                                                                          folder.filePath(QStringLiteral("vis.png")))) {
        std::fprintf(stderr, "the %s scene could not be made\n", qPrintable(name));
        return 1;
      }
      preview->View()->SetZoomPercent(100);
      WaitForFinerCells(*preview);
      Print(qPrintable(QStringLiteral("change -> preview: %1 scene at 100 %").arg(name)),
            TimePreviewChanges(form, *preview, samples));
      preview->View()->SetZoomPercent(palettor::kZoomToFit);
      WaitForFinerCells(*preview);
      Print(qPrintable(QStringLiteral("change -> preview: %1 scene fitted").arg(name)),
            TimePreviewChanges(form, *preview, samples));
    }
    if (const auto i = args.indexOf(QStringLiteral("--open")); i >= 0 && i + 2 < args.size()) {
      std::vector<double> opening;
      for (int sample = 0; sample < 5; ++sample) {
        preview->ShowDemoScene();
        QCoreApplication::processEvents();
        const std::uint64_t before = preview->View()->PaintCount();
        const auto start = Clock::now();
        if (!preview->OpenChannels(args[i + 1], args[i + 2]) || !WaitForPreviewFrame(*preview, before)) {
          std::fputs("the pair could not be opened\n", stderr);
          return 1;
        }
        opening.push_back(Ms(Clock::now() - start));
      }
      Print("open -> preview painted (the pair given)", opening);
    }
    preview->close();
  }

  // Start -> first frame, one process per sample; the first sample starts with no settings.
  const int starts = std::min(samples, 20);
  std::vector<double> fromStart, fromMain;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PALETTOR_TIMING_CHILD"), QStringLiteral("1"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), store.path());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
  for (int i = 0; i < starts; ++i) {
    QProcess child;
    child.setProcessEnvironment(env);
    const auto start = Clock::now();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-frame")});
    if (!child.waitForReadyRead(10000)) {
      std::fprintf(stderr, "the window process reported no frame: %s\n", qPrintable(child.errorString()));
      return 1;
    }
    fromStart.push_back(Ms(Clock::now() - start));
    fromMain.push_back(child.readLine().trimmed().toDouble());
    child.waitForFinished(10000);
  }
  Print("start -> first frame (process start)", fromStart);
  Print("start -> first frame (from main)", fromMain);

  // Closing: the window stores its 27 values on the way out; a bare window stores nothing.
  const auto closeWindow = TimeCloseToExit(env, QStringLiteral("--close-exit"), starts);
  const auto closeMinimal = TimeCloseToExit(env, QStringLiteral("--close-exit-minimal"), starts);
  Print("close -> process exit (Palettor window)", closeWindow);
  Print("close -> process exit (bare Qt Widgets window)", closeMinimal);
  return 0;
}
