// The window's Edit menu and palette commands, driven as a user drives them: keys, clicks and
// menu items, with the file dialogs and questions answered by the test.
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>

#include "BuiltInPalettes.h"
#include "PaletteFile.h"
#include "PaletteMenus.h"
#include "ReferenceTable.h"
#include "RunProcess.h"
#include "SamplePalette.h"
#include "StoredPalette.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

constexpr const char* kSample = kSamplePaletteFile;

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

class PaletteMenusTest : public WindowTest {
 protected:
  void SetUp() override {
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data_.path().toUtf8());
  }
  void TearDown() override {
    WindowTest::TearDown();
    qputenv("XDG_DATA_HOME", oldDataHome_);
  }
  PaletteMenus OpenWithMenus() {
    Open();
    return InstallPaletteMenus(Form());
  }
  QAction* Item(const char* name) {
    auto* item = Form().findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(item, nullptr) << name;
    return item;
  }
  QWidget* Patch(int index) {
    return qobject_cast<QWidget*>(Form().FindComponent("PaintBox" + QString::fromStdString(AnchorSuffix(index))));
  }
  // The table and the patches as they are on screen.
  QImage Shown() {
    const QImage screen = Screen();
    QImage shown = screen.copy(QRect(Form().ImageLUT->mapTo(&Form(), QPoint()), Form().ImageLUT->size()));
    for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
      const QPoint at = Patch(i)->mapTo(&Form(), Patch(i)->rect().center());
      shown.setPixel(i - kFirstAnchor, 0, screen.pixel(at));
    }
    return shown;
  }
  PackedColour PatchOnScreen(int index) {
    const QPoint at = Patch(index)->mapTo(&Form(), Patch(index)->rect().center());
    return FromQColor(QColor(Screen().pixel(at)));
  }
  void Key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Form();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }
  QString Write(const QString& name, const QByteArray& text) {
    const QString path = files_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    return path;
  }

  QTemporaryDir data_, files_;
  QByteArray oldDataHome_;
};

TEST_F(PaletteMenusTest, MenusKeepTheExistingItemsAndAddTheirOwn) {
  OpenWithMenus();
  QStringList bar;
  for (QAction* menu : Form().MainMenu1->actions()) bar << menu->text();
  EXPECT_EQ(bar, QStringList({"&File", "&Edit", "&Help"}));
  QStringList file;
  for (QAction* item : Form().File1->actions()) file << (item->isSeparator() ? QStringLiteral("-") : item->text());
  EXPECT_EQ(file, QStringList({"&Save", "Save &As...", "-", "&Import palette...", "&Export palette...", "&Palettes",
                               "Export &legend...", "-", "E&xit"}));
  EXPECT_EQ(Form().File1->actions().at(7), Form().N1);
  // One mnemonic per letter in the File menu.
  QSet<QChar> letters;
  for (const QString& text : file) {
    const auto amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0) continue;
    EXPECT_FALSE(letters.contains(text[amp + 1].toLower())) << text.toStdString();
    letters.insert(text[amp + 1].toLower());
  }
  QStringList edit;
  for (QAction* item : Form().findChild<QMenu*>(QStringLiteral("Edit1"))->actions())
    edit << (item->isSeparator() ? QStringLiteral("-") : item->text());
  EXPECT_EQ(edit, QStringList({"&Undo", "&Redo", "-", "&Night floor"}));
  EXPECT_EQ(Item("EditUndo")->shortcuts(), QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Z"))}));
  EXPECT_EQ(Item("EditRedo")->shortcuts(), QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                                                QKeySequence(QStringLiteral("Ctrl+Y"))}));
}

TEST_F(PaletteMenusTest, EachUndoBringsBackTheEarlierTableAndRedoGoesForward) {
  OpenWithMenus();
  QAction* undo = Item("EditUndo");
  QAction* redo = Item("EditRedo");
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  std::vector<QImage> shown{Shown()};
  std::vector<Palette> palettes{Form().CurrentPalette()};

  Click(Patch(-3));
  TypeInto(Form().EditHue, "200");
  Click(Form().ButtonUpdateColour);
  shown.push_back(Shown());
  palettes.push_back(Form().CurrentPalette());
  Click(Form().CheckBoxWhiteTop);
  shown.push_back(Shown());
  palettes.push_back(Form().CurrentPalette());
  Click(Form().ButtonFactoryReset);
  shown.push_back(Shown());
  palettes.push_back(Form().CurrentPalette());
  for (std::size_t i = 1; i < shown.size(); ++i)
    ASSERT_NE(shown[i], shown[i - 1]) << "step " << i << " changed nothing";

  const QString steps[] = {QString::fromUtf8("Update \u221230 \u00b0C"), "White top", "Reset colours"};
  EXPECT_EQ(Plain(undo->text()), "Undo Reset colours");
  for (int i = 2; i >= 0; --i) {
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Shown() == shown[static_cast<std::size_t>(i)]) << "after undoing " << steps[i].toStdString();
    EXPECT_EQ(Form().CurrentPalette(), palettes[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Plain(redo->text()), "Redo " + steps[i]);
    EXPECT_EQ(Plain(undo->text()), i > 0 ? "Undo " + steps[i - 1] : QStringLiteral("Undo"));
  }
  EXPECT_FALSE(undo->isEnabled());
  ExpectShownTableEquals(*Table(TableInputsOf(palettes[0])));

  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(Shown() == shown[1]);
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(Shown() == shown[2]);
  EXPECT_EQ(Plain(undo->text()), "Undo White top");
  EXPECT_EQ(Plain(redo->text()), "Redo Reset colours");
  // The editor's own fields are no steps: the hue typed stays.
  EXPECT_EQ(Form().EditHue->text(), "200");

  CloseWindow();
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, palettes[2]);
}

TEST_F(PaletteMenusTest, EachNightFloorIsOneStepAndTheFloorShownIsTicked) {
  const PaletteMenus menus = OpenWithMenus();
  const auto items = [&](bool tickedOnly) {
    QStringList texts;
    for (QAction* item : menus.nightFloor->actions()) {
      if (!tickedOnly || item->isChecked()) texts << item->text();
    }
    return texts;
  };
  const auto referenceTable = [](const Palette& palette) {
    auto pixels = std::make_unique<LutPixels>();
    ReferenceTable(TableInputsOf(palette), *pixels);
    return pixels;
  };
  EXPECT_EQ(items(false), QStringList({"&Off", "&10 %", "&20 %", "&30 %", "&40 %", "&50 %"}));
  EXPECT_EQ(items(true), QStringList({"&Off"}));
  const Palette start = Form().CurrentPalette();
  const QImage startShown = Shown();

  // Alt+E, N, 3.
  QTest::keyClick(&Form(), Qt::Key_E, Qt::AltModifier);
  ASSERT_TRUE(menus.edit->isVisible());
  QTest::keyClick(menus.edit, Qt::Key_N);
  ASSERT_TRUE(menus.nightFloor->isVisible());
  QTest::keyClick(menus.nightFloor, Qt::Key_3);
  Palette lifted = start;
  lifted.nightFloorPercent = 30;
  EXPECT_EQ(Form().CurrentPalette(), lifted);
  ExpectShownTableEquals(*referenceTable(lifted));
  EXPECT_EQ(items(true), QStringList({"&30 %"}));
  EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Night floor 30 %");
  Item("NightFloor30")->trigger();
  EXPECT_EQ(menus.history->Stack().count(), 1) << "the floor shown again is no step";

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Form().CurrentPalette(), start);
  EXPECT_TRUE(Shown() == startShown);
  EXPECT_EQ(items(true), QStringList({"&Off"}));
  EXPECT_EQ(Plain(Item("EditRedo")->text()), "Redo Night floor 30 %");
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Form().CurrentPalette(), lifted);

  // A floor not on the list, from a palette file: an item of its own, ticked, in its place.
  const QByteArray night =
      QByteArray(kSample).replace("\"tailPercent\": 40,", "\"tailPercent\": 40, \"nightFloorPercent\": 25,");
  dialogs_.openAnswers = {Write("night.json", night)};
  Item("FileImportPalette")->trigger();
  EXPECT_EQ(Form().CurrentPalette().nightFloorPercent, 25);
  EXPECT_EQ(items(false), QStringList({"&Off", "&10 %", "&20 %", "25 %", "&30 %", "&40 %", "&50 %"}));
  EXPECT_EQ(items(true), QStringList({"25 %"}));
  Item("NightFloor0")->trigger();
  EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Night floor Off");
  EXPECT_EQ(items(false).size(), 6);
  ExpectShownTableEquals(*referenceTable(kSamplePalette));
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(items(true), QStringList({"25 %"}));

  // Closing stores the floor shown; the next window starts with it.
  CloseWindow();
  EXPECT_EQ(LoadPalette(store_.Registry()).palette.nightFloorPercent, 25);
  const PaletteMenus reopened = OpenWithMenus();
  EXPECT_EQ(Form().CurrentPalette().nightFloorPercent, 25);
  EXPECT_TRUE(reopened.nightFloor->actions().at(3)->isChecked());
}

TEST_F(PaletteMenusTest, AnImportIsOneStepAndAFaultyFileChangesNothing) {
  OpenWithMenus();
  const Palette start = Form().CurrentPalette();
  const QImage startShown = Shown();
  const QString bad = Write("bad.json", QByteArray(kSample).replace("\"hue\": 120", "\"hue\": 999"));
  dialogs_.openAnswers = {bad};
  Item("FileImportPalette")->trigger();
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains(bad + ": anchors.M30.hue: ")) << dialogs_.errors[0].toStdString();
  EXPECT_EQ(Form().CurrentPalette(), start);
  EXPECT_FALSE(Item("EditUndo")->isEnabled());
  // A FIFO is refused at once: opening it would wait for a writer, and the window with it.
  const QString fifo = files_.filePath("fifo.json");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  dialogs_.openAnswers = {fifo};
  Item("FileImportPalette")->trigger();
  EXPECT_EQ(dialogs_.errors.value(1),
            "The palette could not be imported.\n" + fifo + ": is a FIFO, not a regular file");

  dialogs_.openAnswers = {Write("sample.json", kSample)};
  Item("FileImportPalette")->trigger();
  EXPECT_EQ(Form().CurrentPalette(), kSamplePalette);
  ExpectShownTableEquals(*Table(TableInputsOf(kSamplePalette)));
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i)
    EXPECT_EQ(PatchOnScreen(i), kSamplePatches[AnchorSlot(i)]) << AnchorSuffix(i);
  EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Import sample.json");

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Form().CurrentPalette(), start);
  EXPECT_TRUE(Shown() == startShown);
  EXPECT_FALSE(Item("EditUndo")->isEnabled());
}

TEST_F(PaletteMenusTest, APaletteChosenByNameIsOneStepAndTheShownOneIsSavedUnderAName) {
  const PaletteMenus menus = OpenWithMenus();
  const auto texts = [&] {
    menus.palettes->Refresh();
    QStringList list;
    for (QAction* item : menus.palettes->actions())
      list << (item->isSeparator() ? QStringLiteral("-") : item->text() + (item->isChecked() ? "*" : ""));
    return list;
  };
  EXPECT_EQ(texts(), QStringList({"factory*", "greyscale", "infrared-contrast", "colour-blind-safe", "-",
                                  "&Save current palette as..."}));
  const auto choose = [&](const QString& text) {
    for (QAction* item : menus.palettes->actions()) {
      if (item->text() == text) return item->trigger();
    }
    ADD_FAILURE() << "no item " << text.toStdString();
  };
  choose("greyscale");
  EXPECT_EQ(Form().CurrentPalette(), BuiltInPalettes()[1].palette);
  EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Palette greyscale");

  dialogs_.promptAnswers = {QStringLiteral("  My  grey ")};
  menus.palettes->SaveCurrent();
  const QString saved = data_.filePath("palettor/palettes/My grey.json");
  ASSERT_TRUE(QFile::exists(saved)) << dialogs_.errors.join("; ").toStdString();
  EXPECT_EQ(dialogs_.messages.value(0), "Palette saved to " + saved);
  EXPECT_EQ(ReadPaletteFile(saved).document->palette, BuiltInPalettes()[1].palette);
  EXPECT_EQ(texts(), QStringList({"factory", "greyscale*", "infrared-contrast", "colour-blind-safe", "-", "My grey*",
                                  "-", "&Save current palette as..."}));

  // A built-in name is refused; an existing user palette is replaced only when the user says so.
  dialogs_.promptAnswers = {QStringLiteral("Factory")};
  menus.palettes->SaveCurrent();
  EXPECT_TRUE(dialogs_.errors.value(0).contains("built-in")) << dialogs_.errors.value(0).toStdString();
  choose("factory");
  dialogs_.promptAnswers = {QStringLiteral("my grey"), QStringLiteral("my grey")};
  dialogs_.confirms = {false, true};
  menus.palettes->SaveCurrent();
  EXPECT_EQ(ReadPaletteFile(saved).document->palette, BuiltInPalettes()[1].palette);
  menus.palettes->SaveCurrent();
  EXPECT_EQ(dialogs_.questions.size(), 2);
  EXPECT_EQ(ReadPaletteFile(saved).document->palette, BuiltInPalettes()[0].palette);

  choose("my grey");  // replaced under the name as typed; the factory palette is shown already: no step
  EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Palette factory");
}

// A name that could reorder the menu's text or break its line shows its controls written out; a
// long one is cut to 60 characters, in the Palettes menu and in Edit > Undo alike.
TEST_F(PaletteMenusTest, NamesShowTheirControlsWrittenOutAndLongOnesCutShort) {
  const QString folder = data_.filePath(QStringLiteral("palettor/palettes"));
  QDir().mkpath(folder);
  const std::string longName = "Storm " + std::string(54, 'x') + "\\u00e9!";  // 62 characters
  for (const auto& [file, name] :
       {std::pair{"a.json", std::string("Storm \\u202egnp.exe")},
        std::pair{"b.json", std::string("Storm\\u0007\\u2066bell")}, std::pair{"c.json", longName}}) {
    QFile out(QDir(folder).filePath(QString::fromLatin1(file)));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray::fromStdString(test::Replaced(kSample, "\"Sample\"", "\"" + name + "\"")));
  }
  const PaletteMenus menus = OpenWithMenus();
  menus.palettes->Refresh();
  QStringList user;
  for (QAction* item : menus.palettes->actions().mid(5, 3)) user << item->text();  // after the built-ins
  const QString cut = "Storm " + QString(53, QLatin1Char('x')) + QChar(0x2026);
  EXPECT_EQ(user, QStringList({"Storm\\x07\\u2066bell", cut, "Storm \\u202egnp.exe"}));
  menus.palettes->actions().at(6)->trigger();
  EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Palette " + cut);
}

TEST_F(PaletteMenusTest, APaletteFolderThatCannotBeReadIsSaidOnceAtTheStart) {
  QFile plain(data_.filePath(QStringLiteral("palettor")));  // the folder's parent is a file
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  const PaletteMenus menus = OpenWithMenus();
  menus.palettes->Refresh();
  menus.palettes->Refresh();
  EXPECT_EQ(dialogs_.errors, QStringList({data_.filePath(QStringLiteral("palettor/palettes")) +
                                          ": cannot read the palette folder: Not a directory.\nFile > Palettes "
                                          "lists the built-in palettes alone."}));
  EXPECT_EQ(menus.palettes->actions().size(), 6);  // the built-ins, a separator and Save current palette as...
}

TEST_F(PaletteMenusTest, ExportsWriteWhatTheWindowShows) {
  OpenWithMenus();
  Click(Form().CheckBoxWhiteTop);
  Click(Form().CheckBoxSmooth);
  dialogs_.answers = {files_.filePath("shown.json"), files_.filePath("legend.png"), files_.filePath("no/legend.png"),
                      files_.filePath("legend.jpg")};
  Item("FileExportPalette")->trigger();
  const PaletteReadResult exported = ReadPaletteFile(files_.filePath("shown.json"));
  ASSERT_TRUE(exported.document) << exported.error.Message().toStdString();
  EXPECT_EQ(exported.document->palette, Form().CurrentPalette());
  EXPECT_EQ(exported.document->name, "shown");
  EXPECT_EQ(dialogs_.lastShown.Title, "Export palette");

  Item("FileExportLegend")->trigger();
  EXPECT_EQ(dialogs_.lastShown.DefaultExt, "png");
  EXPECT_EQ(dialogs_.messages, QStringList({"Palette saved to " + files_.filePath("shown.json"),
                                            "Legend saved to " + files_.filePath("legend.png")}));
  // The same file as palettor-cli draws for that palette.
  const ProcessResult cli = RunProcess(PALETTOR_CLI, {"legend", "--out", files_.filePath("cli.png").toStdString(),
                                                      "--palette", files_.filePath("shown.json").toStdString()});
  ASSERT_EQ(cli.exitStatus, 0) << cli.err;
  QFile window(files_.filePath("legend.png")), command(files_.filePath("cli.png"));
  ASSERT_TRUE(window.open(QIODevice::ReadOnly) && command.open(QIODevice::ReadOnly));
  EXPECT_EQ(window.readAll(), command.readAll());

  Item("FileExportLegend")->trigger();
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].startsWith("Legend could not be saved to " + files_.filePath("no/legend.png") +
                                            ":\nNo such file or directory"))
      << dialogs_.errors[0].toStdString();

  // Only a PNG name, as palettor-cli legend takes: no PNG bytes under another format's name.
  Item("FileExportLegend")->trigger();
  EXPECT_EQ(dialogs_.errors.value(1), "Legend could not be saved to " + files_.filePath("legend.jpg") +
                                          ":\nthe legend is a PNG image; name a file ending in .png");
  EXPECT_FALSE(QFile::exists(files_.filePath("legend.jpg")));
}

}  // namespace
}  // namespace palettor::test
