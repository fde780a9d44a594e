// The preview window driven with real input events: opened from the main window's View menu,
// showing the demo scene as palettor-cli colourise --demo colours it, following every edit,
// selecting an anchor from a click, refusing bad images without losing the view, and keeping
// its settings in the store's Preview key.
#include <gdal_priv.h>
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>
#include <QWheelEvent>
#include <functional>

#include "AnchorShareBars.h"
#include "ColouredScene.h"
#include "CompareSplit.h"
#include "DemoScene.h"
#include "DensityTableView.h"
#include "PaletteLibrary.h"
#include "PreviewWindow.h"
#include "RasterFixture.h"
#include "Registry.h"
#include "RegistryVariables.h"
#include "RunProcess.h"
#include "SceneTablePanel.h"
#include "SceneView.h"
#include "SplitDivider.h"
#include "StoreHolder.h"
#include "ViewMenu.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

// Degrees of an 8-bit infrared level on the default scale, and its table column.
double Celsius(int level) { return 40.0 - 100.0 * level / 255.0; }
int ColumnCelsius(int level) { return std::clamp(static_cast<int>(std::floor(Celsius(level) + 0.5)), -60, 39); }

// The anchor a click on a cell means, as a user reads the rule.
int GoverningAnchor(int celsius, int brightness, int tailPercent, bool smooth) {
  if (celsius >= 2 && brightness * 100 / 255 < tailPercent) return -7;
  if (celsius >= -1 && celsius <= 1) return 0;
  const int colder = (celsius + 60) / 10 - 6;
  if (!smooth) return celsius >= 1 ? colder + 1 : colder;
  return (celsius + 100) % 10 > 5 ? colder + 1 : colder;
}

class Preview : public WindowTest {
 protected:
  static void SetUpTestSuite() { demo_ = new DemoScene(MakeDemoScene()); }
  static void TearDownTestSuite() { delete demo_; }

  void SetUp() override {
    Open();
    viewMenu_ = InstallViewMenu(Form(), store_.Registry(), &dialogs_);
  }

  static QList<PreviewWindow*> Previews() {
    QList<PreviewWindow*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* p = qobject_cast<PreviewWindow*>(w); p && p->isVisible()) shown << p;
    }
    return shown;
  }
  PreviewWindow& Shown() {
    const auto previews = Previews();
    EXPECT_EQ(previews.size(), 1);
    PreviewWindow* p = previews.value(0);
    if (!p) throw std::runtime_error("no preview window is shown");
    EXPECT_TRUE(WaitUntilExposed(p));
    p->activateWindow();
    EXPECT_TRUE(WaitUntilActive(p));
    return *p;
  }
  PreviewWindow& OpenPreview() {
    Form().activateWindow();
    EXPECT_TRUE(WaitUntilActive(&Form()));
    QTest::keyClick(&Form(), Qt::Key_P, Qt::ControlModifier);
    return Shown();
  }
  // The pointer reaches the first window under it, the main window where the two overlap.
  PreviewWindow& OpenPreviewBesideTheForm() {
    PreviewWindow& p = OpenPreview();
    Form().move(p.frameGeometry().right() + 20, Form().y());
    return p;
  }
  // A preview of the window that keeps its settings in `registry`'s store; it deletes itself
  // when closed.
  PreviewWindow& OpenPreviewOver(const CurrentUserRegistry& registry) {
    (new PreviewWindow(Form(), registry, dialogs_, *demo_))->show();
    return Shown();
  }
  void ClosePreview(PreviewWindow& p) {
    QTest::keyClick(&p, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Previews().isEmpty());
  }

  ProcessResult Cli(std::vector<std::string> args) {
    return RunProcess(PALETTOR_CLI, args, {.env = {"XDG_CONFIG_HOME=" + store_.Path().toStdString()}});
  }
  QString File(const QString& name) const { return files_.filePath(name); }
  QImage ColouriseWithCli(std::vector<std::string> args) {
    const std::string out = File(QStringLiteral("expected.png")).toStdString();
    args.insert(args.begin(), "colourise");
    args.insert(args.end(), {"--out", out});
    const ProcessResult r = Cli(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
  }

  // The top left corner of the scene in the view: centred when it is smaller, else scrolled.
  static QPoint SceneOrigin(PreviewWindow& p, QSize scene) {
    const QWidget* port = p.View()->viewport();
    const int x =
        port->width() > scene.width() ? (port->width() - scene.width()) / 2 : -p.View()->horizontalScrollBar()->value();
    const int y = port->height() > scene.height() ? (port->height() - scene.height()) / 2
                                                  : -p.View()->verticalScrollBar()->value();
    return {x, y};
  }

  // Every pixel the view shows at 100 % against `expected`.
  void ExpectViewShows(PreviewWindow& p, const QImage& expected, int atLeast = 200 * 200) {
    ASSERT_EQ(p.View()->ZoomPercent(), 100);
    // The scene alone, without the divider and label of a split drawn over it.
    QImage shown(p.View()->viewport()->size(), QImage::Format_RGB32);
    p.View()->viewport()->render(&shown, {}, {}, QWidget::DrawWindowBackground);
    const QPoint origin = SceneOrigin(p, expected.size());
    int compared = 0, mismatches = 0;
    for (int y = 0; y < shown.height() && mismatches < 5; ++y) {
      for (int x = 0; x < shown.width() && mismatches < 5; ++x) {
        const QPoint at = QPoint(x, y) - origin;
        if (!expected.rect().contains(at)) continue;
        ++compared;
        if (shown.pixel(x, y) != expected.pixel(at)) {
          ++mismatches;
          ADD_FAILURE() << "scene pixel (" << at.x() << ", " << at.y() << ") shows " << std::hex << shown.pixel(x, y)
                        << " instead of " << expected.pixel(at);
        }
      }
    }
    EXPECT_GE(compared, atLeast) << "the view shows too little of the scene";
  }

  // Every pixel the view shows at 100 % against `scene` coloured as colourise colours it there.
  void ExpectViewShowsScene(PreviewWindow& p, palettor::ColouredScene& scene) {
    ASSERT_EQ(p.View()->ZoomPercent(), 100);
    const QImage shown = p.View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = SceneOrigin(p, QSize(scene.Width(), scene.Height()));
    const QRect inView = QRect(-origin, shown.size()) & QRect(0, 0, scene.Width(), scene.Height());
    ASSERT_FALSE(inView.isEmpty());
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(inView.width() * inView.height() * 3));
    scene.Colour({inView.x(), inView.y(), inView.width(), inView.height()}, rgb.data(), inView.width() * 3);
    int mismatches = 0;
    for (int y = 0; y < inView.height() && mismatches < 5; ++y) {
      for (int x = 0; x < inView.width() && mismatches < 5; ++x) {
        const std::uint8_t* want = &rgb[static_cast<std::size_t>((y * inView.width() + x) * 3)];
        const QPoint at = QPoint(x, y) + inView.topLeft() + origin;
        if (shown.pixel(at) != qRgb(want[0], want[1], want[2])) {
          ++mismatches;
          ADD_FAILURE() << "scene pixel (" << x + inView.x() << ", " << y + inView.y() << ") shows " << std::hex
                        << shown.pixel(at) << " instead of " << qRgb(want[0], want[1], want[2]);
        }
      }
    }
  }

  // A demo-scene pixel, visible in the view, whose levels pass `wanted`.
  QPoint FindPixel(PreviewWindow& p, const std::function<bool(int ir, int vis)>& wanted) {
    const QSize port = p.View()->viewport()->size();
    const QPoint origin = SceneOrigin(p, QSize(demo_->ir.Width(), demo_->ir.Height()));
    for (int y = std::max(0, -origin.y()); y < std::min(demo_->ir.Height(), port.height() - origin.y()); y += 3) {
      for (int x = std::max(0, -origin.x()); x < std::min(demo_->ir.Width(), port.width() - origin.x()); x += 3) {
        if (wanted(demo_->ir.Level(x, y), demo_->vis.Level(x, y))) return {x, y};
      }
    }
    ADD_FAILURE() << "no such pixel in view";
    return {};
  }
  // The pointer over a point of the view, whatever window lies over that place on the screen.
  static void PointAt(PreviewWindow& p, QPoint at) {
    QWidget* port = p.View()->viewport();
    QMouseEvent move(QEvent::MouseMove, at, port->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(port, &move);
  }
  QPoint ViewportPoint(PreviewWindow& p, QPoint pixel) { return pixel + SceneOrigin(p, p.View()->SceneSize()); }

  void WriteGrey(const QString& name, QSize size, int level) {
    QImage grey(size, QImage::Format_Grayscale8);
    grey.fill(qRgb(level, level, level));
    ASSERT_TRUE(grey.save(File(name)));
  }

  QTemporaryDir files_;
  QMenu* viewMenu_ = nullptr;
  static inline DemoScene* demo_ = nullptr;
};

TEST_F(Preview, TheViewMenuSitsBetweenFileAndHelpAndOpensOnePreviewEveryWay) {
  // Other menus may come between File and View; View is the one just before Help.
  QStringList bar;
  for (QAction* a : Form().MainMenu1->actions()) bar << a->text();
  ASSERT_GE(bar.size(), 3);
  EXPECT_EQ(bar.first(), "&File");
  EXPECT_EQ(bar.mid(bar.size() - 2), (QStringList{"&View", "&Help"}));
  ASSERT_EQ(viewMenu_->actions().size(), 1);
  EXPECT_EQ(viewMenu_->actions()[0]->text(), "&Preview on image...");
  EXPECT_EQ(viewMenu_->actions()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

  // Alt+V, then the item's mnemonic.
  QTest::keyClick(&Form(), Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(viewMenu_->isVisible());
  QTest::keyClick(viewMenu_, Qt::Key_P);
  ClosePreview(Shown());

  // The mouse on the menu bar, then on the item.
  QTest::mouseClick(Form().MainMenu1, Qt::LeftButton, {},
                    Form().MainMenu1->actionGeometry(viewMenu_->menuAction()).center());
  ASSERT_TRUE(viewMenu_->isVisible());
  QTest::mouseClick(viewMenu_, Qt::LeftButton, {}, viewMenu_->actionGeometry(viewMenu_->actions()[0]).center());
  PreviewWindow& byMouse = Shown();

  // Ctrl+P while it is open raises the same window.
  Form().activateWindow();
  ASSERT_TRUE(WaitUntilActive(&Form()));
  QTest::keyClick(&Form(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(&Shown(), &byMouse);
  EXPECT_TRUE(byMouse.isActiveWindow());
  EXPECT_EQ(byMouse.View()->ZoomPercent(), 100);
  EXPECT_TRUE(byMouse.ShowsDemoScene());
  EXPECT_LT(byMouse.minimumSize().width(), byMouse.maximumSize().width()) << "resizable";
  EXPECT_LT(byMouse.minimumSize().height(), byMouse.maximumSize().height()) << "resizable";
}

TEST_F(Preview, ShowsTheDemoSceneAsColouriseDemoWritesItAndFollowsEveryEdit) {
  PreviewWindow& p = OpenPreview();
  ExpectViewShows(p, ColouriseWithCli({"--demo"}));

  // Update an anchor: the scene is recoloured before the click returns and painted next frame.
  Click(qobject_cast<QWidget*>(Form().FindComponent("PaintBoxM30")));
  TypeInto(Form().EditHue, "200");
  const std::uint64_t paints = p.View()->PaintCount();
  const QImage before = p.ColouredScene().copy();
  Click(Form().ButtonUpdateColour);
  EXPECT_NE(p.ColouredScene(), before) << "recoloured at once";
  QCoreApplication::processEvents();
  EXPECT_GT(p.View()->PaintCount(), paints) << "painted in the next frame";
  const std::string m30 = "M30=200," + std::to_string(Form().AnchorValueOf(-3).saturation);
  ExpectViewShows(p, ColouriseWithCli({"--demo", "--anchor", m30}));

  // Options and the tail spinner too.
  Click(Form().CheckBoxWhiteTop);
  QTest::keyClick(Form().EditTailPercent, Qt::Key_Up);
  QCoreApplication::processEvents();
  ExpectViewShows(p, ColouriseWithCli({"--demo", "--anchor", m30, "--white-top", "off", "--tail-percent", "13"}));
}

TEST_F(Preview, HoverSaysWhatThePixelIsAndAClickSelectsItsAnchor) {
  PreviewWindow& p = OpenPreview();
  struct Target {
    int fromCelsius, toCelsius;
    bool tail;
    int anchor;
  };
  // -25: exactly halfway, the colder anchor; -13: mostly -10; the dark rows from +2 up: the tail.
  for (const Target t : {Target{-25, -25, false, -3}, Target{-13, -13, false, -1}, Target{2, 39, true, -7}}) {
    const QPoint pixel = FindPixel(p, [&](int ir, int vis) {
      return ColumnCelsius(ir) >= t.fromCelsius && ColumnCelsius(ir) <= t.toCelsius && (vis * 100 / 255 < 12) == t.tail;
    });
    const int column = ColumnCelsius(demo_->ir.Level(pixel.x(), pixel.y()));
    ASSERT_EQ(GoverningAnchor(column, demo_->vis.Level(pixel.x(), pixel.y()), 12, true), t.anchor);
    const QPoint at = ViewportPoint(p, pixel);
    QTest::mouseMove(p.View()->viewport(), at);
    const int ir = demo_->ir.Level(pixel.x(), pixel.y()), vis = demo_->vis.Level(pixel.x(), pixel.y());
    const QString text = p.PixelInfo()->text();
    QString celsius = QString::number(std::fabs(Celsius(ir)), 'f', 1);
    celsius.prepend(Celsius(ir) < 0 ? QStringLiteral("\u2212") : QStringLiteral("+"));
    for (const QString& part :
         {QStringLiteral("x %1, y %2").arg(pixel.x()).arg(pixel.y()),
          QStringLiteral("IR %1: %2 \u00b0C").arg(ir).arg(celsius), QStringLiteral("VIS %1").arg(vis),
          QStringLiteral("column %1, row %2").arg(column + 60).arg(255 - vis)}) {
      EXPECT_TRUE(text.contains(part)) << text.toStdString() << " lacks " << part.toStdString();
    }
    QTest::mouseClick(p.View()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Form().PaintBoxTest->Tag, t.anchor) << column;
    EXPECT_EQ(Form().EditHue->text().toInt(), Form().AnchorValueOf(t.anchor).hue);
    EXPECT_TRUE(Form().ButtonUpdateColour->isEnabled());
  }

  // Without Smooth colours a column takes one anchor: +5 takes +10.
  Click(Form().CheckBoxSmooth);
  const QPoint five = FindPixel(p, [](int ir, int vis) { return ColumnCelsius(ir) == 5 && vis * 100 / 255 >= 12; });
  QTest::mouseMove(p.View()->viewport(), ViewportPoint(p, five));
  QTest::mouseClick(p.View()->viewport(), Qt::LeftButton, {}, ViewportPoint(p, five));
  EXPECT_EQ(Form().PaintBoxTest->Tag, 1);
  EXPECT_TRUE(p.PixelInfo()->text().contains(QString::fromUtf8("+10 \u00b0C alone")));
}

TEST_F(Preview, ABadImageIsReportedWithItsReasonAndTheViewIsKept) {
  WriteGrey("ir.png", {8, 6}, 100);
  WriteGrey("vis.png", {8, 6}, 200);
  WriteGrey("short.png", {8, 5}, 200);
  QImage colour(8, 6, QImage::Format_RGB32);
  colour.fill(qRgb(10, 20, 10));
  ASSERT_TRUE(colour.save(File("colour.png")));
  QFile text(File("text.png"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not an image") > 0);
  text.close();
  ASSERT_EQ(::mkfifo(QFile::encodeName(File("fifo.png")).constData(), 0600), 0);

  PreviewWindow& p = OpenPreview();
  const QImage shown = p.View()->viewport()->grab().toImage();
  struct Bad {
    const char* ir;
    const char* vis;
    QStringList says;
  };
  const Bad cases[] = {
      {"missing.png", "vis.png", {"infrared image could not be opened", "missing.png", "No such file"}},
      {"ir.png", "colour.png", {"visible image could not be opened", "not a grey image"}},
      {"text.png", "vis.png", {"infrared image could not be opened", "text.png"}},
      {"ir.png", "short.png", {"8 x 6", "8 x 5", "same shape"}},
      // Refused unopened: reading would wait for a writer.
      {"ir.png", "fifo.png", {"visible image could not be opened", "fifo.png: is a FIFO"}},
  };
  for (const Bad& c : cases) {
    dialogs_.errors.clear();
    dialogs_.openAnswers = {File(c.ir), File(c.vis)};
    QTest::keyClick(&p, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs_.errors.size(), 1) << c.ir << " " << c.vis;
    for (const QString& part : c.says)
      EXPECT_TRUE(dialogs_.errors[0].contains(part)) << dialogs_.errors[0].toStdString();
    EXPECT_TRUE(dialogs_.errors[0].contains("keeps showing the demo scene")) << dialogs_.errors[0].toStdString();
    EXPECT_TRUE(p.ShowsDemoScene());
    EXPECT_EQ(p.View()->viewport()->grab().toImage(), shown);
  }
  ASSERT_EQ(dialogs_.openShown.size(), 10);
  EXPECT_EQ(dialogs_.openShown[0].Title, "Open the infrared image");
  EXPECT_EQ(dialogs_.openShown[1].Title, "Open the visible image");

  dialogs_.errors.clear();
  dialogs_.openAnswers = {File("ir.png"), File("vis.png")};
  QTest::keyClick(&p, Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(dialogs_.errors.isEmpty());
  EXPECT_EQ(p.ColouredScene().size(), QSize(8, 6));
  EXPECT_TRUE(p.SceneInfo()->text().contains("Infrared ir.png")) << p.SceneInfo()->text().toStdString();
}

TEST_F(Preview, TwoDroppedFilesAreToldApartByNameElseByOrder) {
  for (const char* name : {"b_vis.png", "a_IR108.png", "one.png", "two.png"}) WriteGrey(name, {4, 4}, 50);
  PreviewWindow& p = OpenPreview();
  const auto drop = [&](const QString& first, const QString& second) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(File(first)), QUrl::fromLocalFile(File(second))});
    const QPoint at = p.View()->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p, &dropped);
  };
  drop("b_vis.png", "a_IR108.png");
  EXPECT_TRUE(p.SceneInfo()->text().contains("Infrared a_IR108.png")) << p.SceneInfo()->text().toStdString();
  EXPECT_TRUE(p.statusBar()->currentMessage().contains("as their names say"))
      << p.statusBar()->currentMessage().toStdString();
  drop("two.png", "one.png");
  EXPECT_TRUE(p.SceneInfo()->text().contains("Infrared two.png")) << p.SceneInfo()->text().toStdString();
  EXPECT_TRUE(p.statusBar()->currentMessage().contains("in the order they were dropped"));
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(Preview, ExportWritesWhatColouriseWritesForTheSameSettings) {
  PreviewWindow& p = OpenPreview();
  // Scale typed into its boxes, the simulation chosen from the keyboard.
  for (const auto& [box, text] : {std::pair{p.ScaleBlackBox(), "35.5"}, std::pair{p.ScaleWhiteBox(), "-62"}}) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  EXPECT_EQ(p.Scale(), (IrScale{35.5, -62}));
  p.VisionBox()->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(p.VisionBox(), Qt::Key_Down);
  EXPECT_EQ(p.Simulation(), VisionSimulation::Tritanopia);

  const QString exported = File("exported.png");
  dialogs_.answers = {exported};
  QTest::keyClick(&p, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(dialogs_.lastShown.DefaultExt, "png");
  const std::string cli = File("cli.png").toStdString();
  const ProcessResult r =
      Cli({"colourise", "--demo", "--ir-scale", "35.5,-62", "--simulate", "tritanopia", "--out", cli});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  QFile a(exported), b(QString::fromStdString(cli));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_TRUE(a.readAll() == b.readAll()) << "the exported file differs from colourise's";

  // A folder that is not there: said, with the reason.
  dialogs_.answers = {File("none/exported.png")};
  QTest::keyClick(&p, Qt::Key_E, Qt::ControlModifier);
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains("No such file or directory")) << dialogs_.errors[0].toStdString();

  // Black and white may not meet: the scale stays.
  p.ScaleWhiteBox()->setFocus();
  QTest::keyClick(p.ScaleWhiteBox(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(p.ScaleWhiteBox(), "35.5");
  QTest::keyClick(p.ScaleWhiteBox(), Qt::Key_Return);
  EXPECT_EQ(p.Scale(), (IrScale{35.5, -62}));
  EXPECT_TRUE(p.statusBar()->currentMessage().contains("must differ"));
}

TEST_F(Preview, SettingsAreKeptUnderPreviewAcrossCloseAndOpen) {
  WriteGrey("ir.png", {300, 200}, 100);
  WriteGrey("vis.png", {300, 200}, 200);
  PreviewWindow& first = OpenPreview();
  ASSERT_TRUE(first.OpenChannels(File("ir.png"), File("vis.png")));
  first.SetScale({-5.25, 30});
  first.SetSimulation(VisionSimulation::Greyscale);
  first.View()->setFocus();
  QTest::keyClick(first.View(), Qt::Key_Plus);  // 100 -> 150 %
  const PreviewSettings kept = first.CurrentSettings();
  EXPECT_EQ(kept.zoomPercent, 150);
  ClosePreview(first);

  TRegistry registry(store_.Store());
  ASSERT_TRUE(registry.OpenKey(SettingsKeyPath(store_.Registry()) + "\\Preview", false));
  EXPECT_EQ(registry.ReadString("InfraredImage"), File("ir.png").toStdString());
  EXPECT_EQ(registry.ReadString("ScaleBlack"), "-5.25");
  EXPECT_EQ(registry.ReadString("Simulation"), "greyscale");
  EXPECT_EQ(registry.ReadInteger("Zoom"), 150);

  PreviewWindow& second = OpenPreview();
  EXPECT_EQ(second.CurrentSettings(), kept);
  EXPECT_FALSE(second.ShowsDemoScene());
  EXPECT_DOUBLE_EQ(second.ScaleBlackBox()->value(), -5.25);
  EXPECT_EQ(second.VisionBox()->currentIndex(), 4);
  second.ShowDemoScene();
  second.View()->setFocus();
  QTest::keyClick(second.View(), Qt::Key_0);

  // Closing the main window closes the preview, which stores first.
  CloseWindow();
  EXPECT_TRUE(Previews().isEmpty());
  TRegistry after(store_.Store());
  ASSERT_TRUE(after.OpenKey(SettingsKeyPath(store_.Registry()) + "\\Preview", false));
  EXPECT_EQ(after.ReadString("InfraredImage"), "");
  EXPECT_EQ(after.ReadInteger("Zoom"), 100);

  // The window's own list is still the 27 values and the night floor.
  const ProcessResult listed = Cli({"settings"});
  ASSERT_EQ(listed.exitStatus, 0) << listed.err;
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 28) << listed.out;
}

TEST_F(Preview, AStoreThatCannotBeReadGivesTheDefaultsAndIsNotWrittenOver) {
  const QByteArray path = qgetenv("XDG_CONFIG_HOME") + "/Quillon/registry.sqlite3";
  {
    TRegistry registry(store_.Store());
    ASSERT_TRUE(registry.OpenKey(SettingsKeyPath(store_.Registry()) + "\\Preview", true));
    registry.WriteString("Simulation", "protanopia");
  }
  SqliteRegistryStore impatient(RegistryStorePath(), 200);
  {
    const CurrentUserRegistry program(impatient, (store_.Path() + QStringLiteral("/bin/Palettor")).toStdString());
    StoreHolder holder(path.toStdString());
    ASSERT_TRUE(holder.Held());
    PreviewWindow& p = OpenPreviewOver(program);
    EXPECT_EQ(p.Simulation(), VisionSimulation::Normal);
    EXPECT_TRUE(p.ShowsDemoScene());
    holder.Release();
    p.SetSimulation(VisionSimulation::Tritanopia);
    ClosePreview(p);
  }
  TRegistry registry(store_.Store());
  ASSERT_TRUE(registry.OpenKey(SettingsKeyPath(store_.Registry()) + "\\Preview", false));
  EXPECT_EQ(registry.ReadString("Simulation"), "protanopia");
  EXPECT_FALSE(registry.ValueExists("Zoom"));
}

TEST_F(Preview, ImagesLastOpenedThatAreGoneAreReportedAndTheDemoSceneShown) {
  {
    TRegistry registry(store_.Store());
    ASSERT_TRUE(registry.OpenKey(SettingsKeyPath(store_.Registry()) + "\\Preview", true));
    registry.WriteString("InfraredImage", File("gone-ir.png").toStdString());
    registry.WriteString("VisibleImage", File("gone-vis.png").toStdString());
  }
  PreviewWindow& p = OpenPreview();
  EXPECT_TRUE(p.ShowsDemoScene());
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains("gone-ir.png")) << dialogs_.errors[0].toStdString();
}

TEST_F(Preview, ControlsHaveNamesAndTheKeyboardReachesThem) {
  PreviewWindow& p = OpenPreview();
  p.resize(1200, 700);  // wide enough for the whole toolbar
  for (QWidget* w : std::initializer_list<QWidget*>{p.View(), p.ScaleBlackBox(), p.ScaleWhiteBox(), p.VisionBox(),
                                                    p.PixelInfo(), p.SceneInfo()}) {
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
  }
  EXPECT_TRUE(p.View()->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), p.ScaleBlackBox());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), p.ScaleWhiteBox());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), p.VisionBox());
  // The wheel zooms about the pointer, a notch a step.
  const QPointF at = p.View()->viewport()->rect().center();
  QWheelEvent notch(at, p.View()->viewport()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(p.View()->viewport(), &notch);
  EXPECT_EQ(p.View()->ZoomPercent(), 150);
  QTest::keyClick(p.View(), Qt::Key_Minus);
  QTest::keyClick(p.View(), Qt::Key_Minus);
  EXPECT_EQ(p.View()->ZoomPercent(), 67);
  QTest::keyClick(p.View(), Qt::Key_0);
  EXPECT_EQ(p.View()->ZoomPercent(), 100);
  // Menus by mnemonic: Alt+V, then Fit.
  QTest::keyClick(&p, Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(p.viewMenu->isVisible());
  QTest::keyClick(p.viewMenu, Qt::Key_F);
  EXPECT_EQ(p.View()->ZoomPercent(), kZoomToFit);
}

// Kelvin as 0.01 K counts above 200 K, with a fill value; reflectance as a fraction.
int KelvinCounts(int x, int y) { return 1900 + 37 * x + 11 * y; }
double Fraction(int x, int y) { return 0.3 + 0.01 * x - 0.005 * y; }
constexpr QPoint kFilled{5, 3};

TEST_F(Preview, AKelvinSceneShowsItsUnitsAndNoDataAndTheScaleDoesNotApply) {
  test::RasterFile ir{40, 30, GDT_Int16, {{}}, {}, 0, {}};
  ir.bands[0].unit = "K";
  ir.bands[0].scale = 0.01;
  ir.bands[0].offset = 200;
  ir.bands[0].noData = -1;
  test::RasterFile vis{40, 30, GDT_Float32, {{}}, {}, 0, {}};
  vis.bands[0].unit = "1";
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      ir.bands[0].values.push_back(QPoint(x, y) == kFilled ? -1 : KelvinCounts(x, y));
      vis.bands[0].values.push_back(Fraction(x, y));
    }
  }
  test::WriteRaster(File("ir.nc").toStdString(), "netCDF", ir);
  test::WriteRaster(File("vis.nc").toStdString(), "netCDF", vis);

  PreviewWindow& p = OpenPreview();
  EXPECT_TRUE(p.ScaleBlackBox()->isEnabled());
  dialogs_.openAnswers = {File("ir.nc"), File("vis.nc")};
  QTest::keyClick(&p, Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.value(0).toStdString();
  EXPECT_FALSE(p.ScaleBlackBox()->isEnabled());
  EXPECT_FALSE(p.ScaleWhiteBox()->isEnabled());
  EXPECT_FALSE(p.editScale->isEnabled());
  EXPECT_EQ(p.InfraredUnitInfo()->text(), "Infrared in K");
  EXPECT_TRUE(p.SceneInfo()->text().contains("ir.nc (K)")) << p.SceneInfo()->text().toStdString();
  ExpectViewShows(p, ColouriseWithCli({"--ir", File("ir.nc").toStdString(), "--vis", File("vis.nc").toStdString()}),
                  40 * 30);

  for (const QPoint pixel : {QPoint(0, 0), QPoint(17, 9), QPoint(39, 29)}) {
    PointAt(p, ViewportPoint(p, pixel));
    const double kelvin = KelvinCounts(pixel.x(), pixel.y()) * 0.01 + 200, celsius = kelvin - 273.15;
    const double r = static_cast<float>(Fraction(pixel.x(), pixel.y()));
    const int column = static_cast<int>(std::clamp(std::floor(celsius + 0.5), -60.0, 39.0)) + 60;
    const int row = 255 - static_cast<int>(std::floor(255 * std::clamp(r, 0.0, 1.0) + 0.5));
    const QString expected = QStringLiteral("x %1, y %2 | IR %3 K = %4%5 \u00b0C | VIS %6 | column %7, row %8 | ")
                                 .arg(pixel.x())
                                 .arg(pixel.y())
                                 .arg(QString::number(kelvin, 'f', 1), celsius < 0 ? "\u2212" : "+",
                                      QString::number(std::fabs(celsius), 'f', 1), QString::number(r, 'f', 2))
                                 .arg(column)
                                 .arg(row);
    EXPECT_TRUE(p.PixelInfo()->text().startsWith(expected))
        << p.PixelInfo()->text().toStdString() << "\n lacks " << expected.toStdString();
  }
  PointAt(p, ViewportPoint(p, kFilled));
  EXPECT_EQ(p.PixelInfo()->text(), QStringLiteral("x 5, y 3 | IR no data | VIS %1 | no data")
                                       .arg(QString::number(static_cast<float>(Fraction(5, 3)), 'f', 2)));

  // The unit on the toolbar (wide enough to hold it), and gone with levels again: the scale applies.
  p.resize(1400, 700);
  QCoreApplication::processEvents();  // the toolbar lays itself out
  EXPECT_TRUE(p.InfraredUnitInfo()->isVisible());
  WriteGrey("ir.png", {8, 6}, 100);
  WriteGrey("vis.png", {8, 6}, 200);
  ASSERT_TRUE(p.OpenChannels(File("ir.png"), File("vis.png")));
  QCoreApplication::processEvents();
  EXPECT_TRUE(p.ScaleBlackBox()->isEnabled());
  EXPECT_FALSE(p.InfraredUnitInfo()->isVisible());
}

TEST_F(Preview, OpenListsWhatGdalReadsAndAFileOfSeveralVariablesAsksWhichIsTheChannel) {
  test::RasterFile both{20, 10, GDT_Float32, {{}, {}}, {}, 0, {}};
  both.bands[0].unit = "K";
  both.bands[1].unit = "1";
  for (int i = 0; i < 20 * 10; ++i) {
    both.bands[0].values.push_back(230 + i % 20);
    both.bands[1].values.push_back(0.002 * i);
  }
  const QString file = File("scene.nc");
  test::WriteRaster(file.toStdString(), "netCDF", both);

  PreviewWindow& p = OpenPreview();
  dialogs_.openAnswers = {file, file};
  dialogs_.itemAnswers = {0, 1};
  QTest::keyClick(&p, Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.value(0).toStdString();
  ASSERT_EQ(dialogs_.openShown.size(), 2);
  const QString filter = dialogs_.openShown[0].Filter;
  for (const char* pattern : {"*.nc ", "*.tif ", "*.png ", "*.h5 ", "|All files (*)|*"})
    EXPECT_TRUE(filter.contains(pattern)) << pattern << " not in " << filter.toStdString();
  ASSERT_EQ(dialogs_.itemListsShown.size(), 2);
  ASSERT_EQ(dialogs_.itemListsShown[0].size(), 2);
  EXPECT_TRUE(dialogs_.itemListsShown[0][0].contains("Band1")) << dialogs_.itemListsShown[0][0].toStdString();
  EXPECT_EQ(p.CurrentSettings().irPath, "NETCDF:\"" + file.toStdString() + "\":Band1");
  EXPECT_EQ(p.CurrentSettings().visPath, "NETCDF:\"" + file.toStdString() + "\":Band2");
  EXPECT_TRUE(p.SceneInfo()->text().contains("scene.nc:Band1 (K), visible scene.nc:Band2 (reflectance)"))
      << p.SceneInfo()->text().toStdString();

  // Cancelled, the choice opens nothing and says nothing.
  dialogs_.openAnswers = {File("scene.nc"), File("scene.nc")};
  dialogs_.itemAnswers = {1, std::nullopt};
  QTest::keyClick(&p, Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(dialogs_.errors.isEmpty());
  EXPECT_EQ(p.CurrentSettings().irPath, "NETCDF:\"" + file.toStdString() + "\":Band1");
}

// A byte channel of `size` × `size` written as a tiled, compressed GeoTIFF a block row at a time.
void WriteLargeChannel(const std::string& path, int size, int (*level)(int x, int y)) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
  const char* options[] = {"TILED=YES", "COMPRESS=DEFLATE", nullptr};
  GDALDatasetUniquePtr file(driver->Create(path.c_str(), size, size, 1, GDT_Byte, const_cast<char**>(options)));
  ASSERT_TRUE(file);
  constexpr int kRows = 256;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(size) * kRows);
  for (int top = 0; top < size; top += kRows) {
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < size; ++x)
        rows[static_cast<std::size_t>(y * size + x)] = static_cast<std::uint8_t>(level(x, top + y));
    }
    ASSERT_EQ(file->GetRasterBand(1)->RasterIO(GF_Write, 0, top, size, kRows, rows.data(), size, kRows, GDT_Byte, 0, 0,
                                               nullptr),
              CE_None);
  }
}

TEST_F(Preview, ALargeSceneIsShownFromAReducedReadAndReadInFullWhereZoomedIn) {
  constexpr int kSize = 8192;  // more than the view keeps whole
  WriteLargeChannel(File("ir.tif").toStdString(), kSize, [](int x, int y) { return (x / 16 + y / 48) % 256; });
  WriteLargeChannel(File("vis.tif").toStdString(), kSize, [](int x, int y) { return (x * 3 + y * 5) / 40 % 256; });
  PreviewWindow& p = OpenPreview();
  ASSERT_EQ(p.View()->ZoomPercent(), 100);
  ASSERT_TRUE(p.OpenChannels(File("ir.tif"), File("vis.tif")));
  const QSize port = p.View()->viewport()->size();
  // Shown at once from the whole scene read at a quarter of its resolution ...
  EXPECT_EQ(p.View()->SourceScale(), 0.25);
  EXPECT_EQ(p.View()->SceneSize(), QSize(kSize, kSize));
  // ... until the part in view arrives at full resolution.
  EXPECT_TRUE(test::WaitFor("the part in view at full resolution", [&] {
    QCoreApplication::processEvents();
    return p.View()->SourceScale() == 1.0;
  }));
  EXPECT_LE(p.View()->CellsInView().width, port.width() + 1);
  EXPECT_LE(p.View()->CellsInView().height, port.height() + 1);
  SceneColouriser colouriser;
  colouriser.SetTable(*Form().Table());
  palettor::ColouredScene scene(SceneChannel::Open({File("ir.tif").toStdString(), 0, {}}),
                                SceneChannel::Open({File("vis.tif").toStdString(), 0, {}}), {}, colouriser);
  ExpectViewShowsScene(p, scene);

  // Fitted, a sample a screen pixel from the reduced read: nothing more is read.
  QTest::keyClick(p.View(), Qt::Key_F);
  EXPECT_LT(p.View()->SourceScale(), 1.0);
  EXPECT_LE(p.View()->CellsInView().width, port.width() + 1);
  EXPECT_EQ(p.ColouredScene().size(), QSize(p.View()->CellsInView().width, p.View()->CellsInView().height));
}

TEST_F(Preview, TheTablePanelOpensWithThePreviewAndLinksTheSceneBothWays) {
  PreviewWindow& p = OpenPreviewBesideTheForm();
  ASSERT_TRUE(p.TableDock()->isVisible());
  EXPECT_EQ(p.TableDock()->windowTitle(), "Scene on the table");
  DensityTableView* table = p.TablePanel()->Table();

  // A scene pixel under the pointer marks its cell, ringed in white a pixel clear of it.
  const QPoint pixel = FindPixel(p, [](int ir, int vis) { return ColumnCelsius(ir) == -25 && vis > 100; });
  const int celsius = ColumnCelsius(demo_->ir.Level(pixel.x(), pixel.y()));
  const int vis = demo_->vis.Level(pixel.x(), pixel.y());
  const TableCell cell{celsius + 60, vis};
  QTest::mouseMove(p.View()->viewport(), ViewportPoint(p, pixel));
  ASSERT_EQ(table->MarkedCell(), cell);
  const QImage ringed = table->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(ringed.pixel(3 * cell.column - 2, 255 - vis - 2), qRgb(255, 255, 255));
  EXPECT_EQ(ringed.pixel(3 * cell.column + 4, 255 - vis + 2), qRgb(255, 255, 255));

  // That cell on the panel: its place, count and share in the status line; its anchor's pixels
  // stay as they are in the scene and every other pixel dims.
  int inCell = 0;
  for (int y = 0; y < demo_->ir.Height(); ++y) {
    for (int x = 0; x < demo_->ir.Width(); ++x)
      inCell += ColumnCelsius(demo_->ir.Level(x, y)) == celsius && demo_->vis.Level(x, y) == vis;
  }
  const double percent = 100.0 * inCell / (demo_->ir.Width() * demo_->ir.Height());
  QTest::mouseMove(table, DensityTableView::PointOfCell(cell));
  const QString said = p.PixelInfo()->text();
  for (const QString& part : {QStringLiteral("\u221225 \u00b0C, brightness %1").arg(vis),
                              QStringLiteral("%1 pixels, %2 %").arg(inCell).arg(percent, 0, 'f', 1)})
    EXPECT_TRUE(said.contains(part)) << said.toStdString() << " lacks " << part.toStdString();
  ASSERT_NE(p.View()->Overlay(), nullptr);
  const QPoint tail = FindPixel(p, [](int ir, int v) { return ColumnCelsius(ir) >= 2 && v * 100 / 255 < 12; });
  const QImage shown = p.View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // The coloured part in view starts at the first scene pixel in view (the demo scene is kept whole).
  const QPoint first(p.View()->CellsInView().region.x, p.View()->CellsInView().region.y);
  const QRgb kept = p.ColouredScene().pixel(pixel - first), dimmed = p.ColouredScene().pixel(tail - first);
  EXPECT_EQ(shown.pixel(ViewportPoint(p, pixel)), kept);
  const QRgb dim = shown.pixel(ViewportPoint(p, tail));
  for (const auto& [got, full] : {std::pair{qRed(dim), qRed(dimmed)}, std::pair{qGreen(dim), qGreen(dimmed)},
                                  std::pair{qBlue(dim), qBlue(dimmed)}})
    EXPECT_NEAR(got, full * 64 / 255, 1) << "a pixel of the blue tail dims to a quarter";
  QTest::mouseMove(p.View()->viewport(), ViewportPoint(p, pixel));
  EXPECT_EQ(p.View()->Overlay(), nullptr) << "the highlight goes when the pointer leaves the panel";

  // A table change reaches the panel: the cell shows the table's new colour.
  Click(Form().CheckBoxWhiteTop);
  const PackedColour now = (*Form().Table())[static_cast<std::size_t>((255 - vis) * kTableWidth + cell.column)];
  const QImage redrawn = table->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(redrawn.pixel(3 * cell.column + 1, 255 - vis), qRgb(RedOf(now), GreenOf(now), BlueOf(now)));

  // Hidden from the View menu, shown again.
  p.showTablePanel->trigger();
  EXPECT_FALSE(p.TableDock()->isVisible());
  p.showTablePanel->trigger();
  EXPECT_TRUE(p.TableDock()->isVisible());
}

TEST_F(Preview, AClickOnABarOrACellOfThePanelSelectsThatAnchor) {
  PreviewWindow& p = OpenPreviewBesideTheForm();
  AnchorShareBars* bars = p.TablePanel()->Bars();
  for (const int anchor : {-3, 4, -7}) {
    const QPoint at = bars->BarRect(anchor).center();
    QTest::mouseMove(bars, at);
    EXPECT_NE(p.View()->Overlay(), nullptr) << anchor;
    QTest::mouseClick(bars, Qt::LeftButton, {}, at);
    EXPECT_EQ(Form().PaintBoxTest->Tag, anchor);
    EXPECT_EQ(Form().EditHue->text().toInt(), Form().AnchorValueOf(anchor).hue);
  }
  struct CellCase {
    int celsius, brightness;
  };
  for (const CellCase c : {CellCase{-13, 200}, CellCase{-25, 90}, CellCase{20, 3}}) {
    QTest::mouseClick(p.TablePanel()->Table(), Qt::LeftButton, {},
                      DensityTableView::PointOfCell({c.celsius + 60, c.brightness}));
    EXPECT_EQ(Form().PaintBoxTest->Tag, GoverningAnchor(c.celsius, c.brightness, 12, true)) << c.celsius;
  }
}

TEST_F(Preview, CompareSplitsTheSceneAsColouriseDoesAndTheDividerFollowsMouseKeysAndZoom) {
  PreviewWindow& p = OpenPreviewBesideTheForm();
  // An edit after the preview opened: the table as it was then stays on the right.
  Click(qobject_cast<QWidget*>(Form().FindComponent("PaintBoxM30")));
  TypeInto(Form().EditHue, "200");
  Click(Form().ButtonUpdateColour);
  const std::string m30 = "M30=200," + std::to_string(Form().AnchorValueOf(-3).saturation);
  p.activateWindow();
  ASSERT_TRUE(WaitUntilActive(&p));
  QTest::keyClick(&p, Qt::Key_V, Qt::AltModifier);
  QTest::keyClick(p.viewMenu, Qt::Key_C);
  ASSERT_TRUE(p.compareMenu->isVisible());
  QTest::keyClick(p.compareMenu, Qt::Key_O);
  ASSERT_TRUE(p.Compare()->IsOn());
  SplitDivider* divider = p.Compare()->Divider();
  const int half = demo_->ir.Width() / 2;
  EXPECT_EQ(divider->Column(), half);
  EXPECT_EQ(p.Compare()->Label()->text(), "The table when the preview opened");
  const auto split = [&](const char* preset, int x) {
    return ColouriseWithCli({"--demo", "--anchor", m30, "--compare-preset", preset, "--split", std::to_string(x)});
  };
  // The divider in the middle of the view.
  p.View()->horizontalScrollBar()->setValue(half - p.View()->viewport()->width() / 2);
  ExpectViewShows(p, split("factory", half));

  // Dragged 40 pixels right at 100 %, then three columns right and ten left by keys.
  const QPoint grip = divider->rect().center();
  QTest::mousePress(divider, Qt::LeftButton, {}, grip);
  QTest::mouseMove(divider, grip + QPoint(40, 0));
  QTest::mouseRelease(divider, Qt::LeftButton, {}, grip + QPoint(40, 0));
  EXPECT_EQ(divider->Column(), half + 40);
  EXPECT_TRUE(divider->hasFocus());
  for (int i = 0; i < 3; ++i) QTest::keyClick(divider, Qt::Key_Right);
  QTest::keyClick(divider, Qt::Key_Left, Qt::ShiftModifier);
  const int column = half + 33;
  ASSERT_EQ(divider->Column(), column);

  // Another palette keeps the divider where it is; Export writes the split as shown.
  p.CompareWith(QStringLiteral("infrared-contrast"), [] {
    for (const NamedPalette& named : ListPalettes({}).palettes)
      if (named.name == "infrared-contrast") return named.palette;
    return Palette{};
  }());
  EXPECT_EQ(p.Compare()->Label()->text(), "infrared-contrast");
  EXPECT_TRUE(p.Compare()->Label()->isVisible());
  EXPECT_GT(p.Compare()->Label()->x(), divider->x()) << "the label is on the right half";
  ExpectViewShows(p, split("infrared-contrast", column));
  ASSERT_TRUE(p.ExportTo(File("shown.png")));
  QFile a(File("shown.png")), b(File("expected.png"));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_TRUE(a.readAll() == b.readAll()) << "the exported split differs from colourise's";

  // Zoomed in, the divider stays between the same two columns.
  p.View()->setFocus();
  QTest::keyClick(p.View(), Qt::Key_Plus);
  ASSERT_EQ(p.View()->ZoomPercent(), 150);
  const int line = divider->geometry().center().x();
  EXPECT_EQ(p.View()->PixelAt({line + 1, 100}).value_or(QPoint(-1, -1)).x(), column);
  EXPECT_EQ(p.View()->PixelAt({line - 1, 100}).value_or(QPoint(-1, -1)).x(), column - 1);
}

TEST_F(Preview, ALargeSceneIsCountedBesideTheWindowAndShownWhenDone) {
  WriteGrey("ir.png", {2000, 1500}, 100);  // 0.8 degrees: column +1
  WriteGrey("vis.png", {2000, 1500}, 200);
  PreviewWindow& p = OpenPreview();
  ASSERT_TRUE(p.OpenChannels(File("ir.png"), File("vis.png")));
  ASSERT_TRUE(WaitFor("the count of 3,000,000 pixels", [&] {
    QCoreApplication::processEvents();
    return p.Density().Pixels() == 3'000'000;
  }));
  EXPECT_EQ(p.Density().Count(61, 200), 3'000'000u);
  EXPECT_TRUE(p.TablePanel()->Table()->Density().IsBusiest({61, 200}));
  EXPECT_FALSE(p.TablePanel()->Table()->Density().IsUsed({60, 200}));
  ASSERT_TRUE(p.OpenChannels(File("ir.png"), File("vis.png")));  // again, while nothing waits for it
  ClosePreview(p);
}

}  // namespace
}  // namespace palettor::test
