// Save and Save As: where the file goes, what it holds, the never-replace rule of Save, the
// confirmation, and failures that are reported and leave any earlier file whole.
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <csignal>
#include <filesystem>

#include "RegistryVariables.h"
#include "RunProcess.h"
#include "TableBitmapWriter.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

std::uint32_t Le32(const QByteArray& b, int at) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

// Blue, green, red of table pixel (x, y) in the file: rows are stored bottom-up.
QRgb FilePixel(const QByteArray& b, int x, int y) {
  const int at = 54 + (255 - y) * 300 + x * 3;
  return qRgb(static_cast<std::uint8_t>(b[at + 2]), static_cast<std::uint8_t>(b[at + 1]),
              static_cast<std::uint8_t>(b[at]));
}

class SaveTable : public WindowTest {
 protected:
  QString Viewer() { return store_.Path() + QStringLiteral("/Sky"); }
  QString DefaultFile() { return Viewer() + QStringLiteral("/TempToColourUser.bmp"); }
  void RegisterViewerFolder() {
    ASSERT_TRUE(QDir().mkpath(Viewer()));
    store_.RegisterViewer(Viewer() + QStringLiteral("/Skyreader"));
  }
  QString Saved(const QString& path) { return QStringLiteral("Bitmap saved to ") + QDir::cleanPath(path); }
  QStringList Leftovers(const QString& folder, const QStringList& expected) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& e : expected) names.removeAll(e);
    return names;
  }
};

TEST_F(SaveTable, SaveWritesTheShownTableIntoTheViewersFolder) {
  RegisterViewerFolder();
  Open();
  EXPECT_EQ(Form().HostFolderValue(), Viewer() + "/");
  Click(Form().ButtonSave);
  EXPECT_EQ(dialogs_.dialogsShown, 0);
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(DefaultFile())});
  EXPECT_TRUE(dialogs_.errors.isEmpty());
  const QByteArray bytes = ReadAll(DefaultFile());
  ASSERT_EQ(bytes.size(), 76854);
  EXPECT_EQ(bytes.left(2), "BM");
  EXPECT_EQ(Le32(bytes, 2), 76854u);
  EXPECT_EQ(Le32(bytes, 10), 54u);
  EXPECT_EQ(Le32(bytes, 18), 100u);
  EXPECT_EQ(Le32(bytes, 22), 256u);
  EXPECT_EQ(static_cast<int>(bytes[28]), 24);
  EXPECT_EQ(Le32(bytes, 30), 0u);
  EXPECT_EQ(FilePixel(bytes, 0, 255), qRgb(0, 0, 0)) << "first stored pixel: -60 at brightness 0";
  EXPECT_EQ(bytes.right(3), QByteArray("\xFF\xFF\xFF", 3)) << "+39 at brightness 255";
  EXPECT_EQ(FilePixel(bytes, 62, 225), qRgb(28, 50, 94));
  EXPECT_EQ(FilePixel(bytes, 0, 127), qRgb(128, 114, 126));
  EXPECT_EQ(bytes, TableBitmapWriter::Encode(*Table(FactoryTableInputs())));
}

TEST_F(SaveTable, SaveAfterEditsWritesTheEditedTable) {
  RegisterViewerFolder();
  Open();
  Click(Form().CheckBoxSmooth);
  Click(Form().PaintBoxP10);
  TypeInto(Form().EditHue, "300");
  TypeInto(Form().EditSat, "60");
  Click(Form().ButtonUpdateColour);
  Click(Form().ButtonSave);
  AnchorValues values = FactoryPalette();
  values[AnchorSlot(1)] = {300, 60};
  const auto expected =
      Table(MakeTableInputs(DeriveAnchorColours(values), values[AnchorSlot(kBlueTailAnchor)], 12, true, false));
  EXPECT_EQ(ReadAll(DefaultFile()), TableBitmapWriter::Encode(*expected));
  ExpectShownTableEquals(*expected);
}

TEST_F(SaveTable, SaveNeverReplacesTheDefaultFileAndOffersSaveAsThere) {
  RegisterViewerFolder();
  WriteAll(DefaultFile(), "the user's own table");
  Open();
  dialogs_.answers = {std::nullopt};
  Click(Form().ButtonSave);
  EXPECT_EQ(dialogs_.dialogsShown, 1);
  EXPECT_EQ(dialogs_.lastShown.InitialDir, Viewer() + "/");
  EXPECT_EQ(ReadAll(DefaultFile()), "the user's own table");
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(SaveTable, ADanglingSymlinkCountsAsTheDefaultFileAndIsNotFollowed) {
  RegisterViewerFolder();
  const QString elsewhere = store_.Path() + "/elsewhere.bmp";
  ASSERT_TRUE(QFile::link(elsewhere, DefaultFile()));
  Open();
  dialogs_.answers = {std::nullopt};
  Click(Form().ButtonSave);
  EXPECT_EQ(dialogs_.dialogsShown, 1) << "Save As is offered instead";
  EXPECT_FALSE(QFile::exists(elsewhere));
  EXPECT_TRUE(dialogs_.messages.isEmpty());
}

// The window and palettor-cli write the same table the same way, header included.
TEST_F(SaveTable, TheSavedFileIsTheOnePalettorCliRenders) {
  RegisterViewerFolder();
  Open();
  Click(Form().ButtonSave);
  const QString rendered = store_.Path() + "/rendered.bmp";
  const test::ProcessResult cli =
      test::RunProcess(PALETTOR_CLI, {"render", "--factory", "--out", rendered.toStdString()});
  ASSERT_EQ(cli.exitStatus, 0) << cli.err;
  EXPECT_EQ(ReadAll(DefaultFile()), ReadAll(rendered));
}

struct ForeignViewerPath {
  const char* registered;
  const char* name;
};

class SaveWithAForeignViewerPath : public SaveTable, public testing::WithParamInterface<ForeignViewerPath> {};

// A path some other program registered that names no folder here: the table goes into the
// current folder, as for an unregistered viewer, and the confirmation says where.
TEST_P(SaveWithAForeignViewerPath, WritesIntoTheCurrentFolderAndSaysSo) {
  const QString work = store_.Path() + "/work";
  ASSERT_TRUE(QDir().mkpath(work));
  store_.RegisterViewer(QString::fromLatin1(GetParam().registered));
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work));
  Open();
  Click(Form().ButtonSave);
  QDir::setCurrent(previous);
  EXPECT_TRUE(Form().HostFolderValue().isEmpty());
  EXPECT_EQ(QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"TempToColourUser.bmp"});
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(work + "/TempToColourUser.bmp")});
}

INSTANTIATE_TEST_SUITE_P(Paths, SaveWithAForeignViewerPath,
                         testing::Values(ForeignViewerPath{"C:\\Sky\\Skyreader.exe", "Windows"},
                                         ForeignViewerPath{"sky/Skyreader", "Relative"},
                                         ForeignViewerPath{"D:Skyreader.exe", "DriveRelative"}),
                         [](const auto& c) { return std::string(c.param.name); });

TEST_F(SaveTable, SaveAsOverTheDefaultFileReplacesItWhenTheUserChoosesIt) {
  RegisterViewerFolder();
  WriteAll(DefaultFile(), "old");
  Open();
  dialogs_.answers = {DefaultFile()};
  Form().Save1->trigger();
  EXPECT_EQ(ReadAll(DefaultFile()), TableBitmapWriter::Encode(*Table(FactoryTableInputs())));
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(DefaultFile())});
  EXPECT_EQ(Leftovers(Viewer(), {"TempToColourUser.bmp"}), QStringList());
}

TEST_F(SaveTable, WithoutAViewerSaveWritesIntoTheCurrentFolder) {
  const QString work = store_.Path() + "/work";
  ASSERT_TRUE(QDir().mkpath(work));
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work));
  Open();
  EXPECT_TRUE(Form().HostFolderValue().isEmpty());
  Click(Form().ButtonSave);
  QDir::setCurrent(previous);
  EXPECT_EQ(ReadAll(work + "/TempToColourUser.bmp").size(), 76854);
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(work + "/TempToColourUser.bmp")});
}

TEST_F(SaveTable, SaveAsStartsInTheViewersFolderAndKeepsTheLastName) {
  RegisterViewerFolder();
  Open();
  const QString chosen = store_.Path() + "/elsewhere.bmp";
  dialogs_.answers = {chosen, std::nullopt};
  Form().FileSaveAs->trigger();
  EXPECT_EQ(dialogs_.lastShown.InitialDir, Viewer() + "/");
  EXPECT_TRUE(dialogs_.lastShown.FileName.isEmpty());
  EXPECT_EQ(dialogs_.lastShown.DefaultExt, "bmp");
  EXPECT_EQ(dialogs_.lastShown.Filter, "Bitmap files (*.bmp)|*.bmp");
  EXPECT_EQ(ReadAll(chosen).size(), 76854);
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(chosen)});
  Form().FileSaveAs->trigger();
  EXPECT_EQ(dialogs_.lastShown.FileName, chosen);
  EXPECT_EQ(dialogs_.messages.size(), 1) << "cancelled: nothing more";
}

TEST_F(SaveTable, FailedSaveIsReportedWithTheReason) {
  // The registered folder is really a file, so nothing can be written into it.
  WriteAll(store_.Path() + "/notafolder", "x");
  store_.RegisterViewer(store_.Path() + "/notafolder/Skyreader");
  Open();
  Click(Form().ButtonSave);
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains(store_.Path() + "/notafolder/TempToColourUser.bmp"));
  EXPECT_TRUE(dialogs_.errors[0].contains(':')) << "with the reason";
  EXPECT_EQ(ReadAll(store_.Path() + "/notafolder"), "x");
}

TEST_F(SaveTable, FailedSaveAsIsReportedNotSwallowed) {
  Open();
  dialogs_.answers = {store_.Path() + "/missing/folder/table.bmp"};
  Form().FileSaveAs->trigger();
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].startsWith("The bitmap could not be saved to "));
}

// A full disk, as far as this process is concerned: no file may grow beyond a few bytes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

// The register holds the viewer's path as bytes; a folder whose name is not UTF-8 is saved into
// as it is, and the confirmation shows those bytes escaped.
TEST_F(SaveTable, AViewerFolderWhoseNameIsNotUtf8IsSavedInto) {
  const std::string folder = store_.Path().toStdString() + "/Sky\xE9";
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  RegisterAppPath(CurrentUserRegistry(store_.Store(), folder + "/Skyreader"));
  Open();
  Click(Form().ButtonSave);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/TempToColourUser.bmp"));
  EXPECT_EQ(dialogs_.messages, QStringList{"Bitmap saved to " + store_.Path() + "/Sky\\xe9/TempToColourUser.bmp"});
}

TEST_F(SaveTable, FullDiskLeavesTheEarlierFileWhole) {
  RegisterViewerFolder();
  Open();
  const QString target = Viewer() + "/mine.bmp";
  const QByteArray earlier(1000, 'e');
  WriteAll(target, earlier);
  dialogs_.answers = {target};
  {
    FileSizeLimit full(4096);
    Form().FileSaveAs->trigger();
  }
  EXPECT_EQ(ReadAll(target), earlier);
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_EQ(dialogs_.errors[0], "The bitmap could not be saved to " + target + ":\nFile too large");
  EXPECT_EQ(Leftovers(Viewer(), {"mine.bmp"}), QStringList()) << "no temporary file left behind";
}

TEST_F(SaveTable, ASymlinkLoopIsRefusedAndStays) {
  RegisterViewerFolder();
  Open();
  const QString loop = Viewer() + "/loop.bmp";
  ASSERT_TRUE(QFile::link(loop, loop));
  dialogs_.answers = {loop};
  Form().FileSaveAs->trigger();
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_EQ(dialogs_.errors[0], "The bitmap could not be saved to " + loop + ":\nToo many levels of symbolic links");
  EXPECT_TRUE(QFileInfo(loop).isSymLink());
}

TEST_F(SaveTable, FolderOfAReadOnlyFileSystemIsReported) {
  store_.RegisterViewer("/proc/Skyreader");  // nobody, not even the superuser, creates files there
  Open();
  EXPECT_EQ(Form().HostFolderValue(), "/proc/");
  Click(Form().ButtonSave);
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains("/proc/TempToColourUser.bmp"));
}

TEST_F(SaveTable, ReadOnlyFolderIsReportedAndTheEarlierFileStays) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  RegisterViewerFolder();
  const QString target = Viewer() + "/mine.bmp";
  WriteAll(target, "earlier");
  Open();
  // A writable file in a read-only folder is overwritten in place; this one is read-only too.
  ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner));
  ASSERT_TRUE(QFile::setPermissions(Viewer(), QFile::ReadOwner | QFile::ExeOwner));
  dialogs_.answers = {target};
  Form().FileSaveAs->trigger();
  Click(Form().ButtonSave);
  QFile::setPermissions(Viewer(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(dialogs_.errors.size(), 2);
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  EXPECT_EQ(ReadAll(target), "earlier");
  EXPECT_FALSE(QFile::exists(DefaultFile()));
}

TEST_F(SaveTable, MenuMnemonicsReachSaveAndSaveAs) {
  RegisterViewerFolder();
  Open();
  QTest::keyClick(&Form(), Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(Form().File1->isVisible());
  QTest::keyClick(Form().File1, Qt::Key_S);
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(DefaultFile())});
  dialogs_.answers = {std::nullopt};
  QTest::keyClick(&Form(), Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(Form().File1->isVisible());
  QTest::keyClick(Form().File1, Qt::Key_A);
  EXPECT_EQ(dialogs_.dialogsShown, 1);
}

TEST_F(SaveTable, EnterOnTheFocusedSaveButtonSaves) {
  RegisterViewerFolder();
  Open();
  Form().ButtonSave->setFocus();
  QTest::keyClick(Form().ButtonSave, Qt::Key_Return);
  EXPECT_EQ(dialogs_.messages, QStringList{Saved(DefaultFile())});
  EXPECT_TRUE(Form().isVisible());
}

// The real dialog, set up from the window's properties.
TEST(SaveFileDialog, PropertiesAndTheBmpExtension) {
  QTemporaryDir dir;
  TSaveDialog properties;
  properties.InitialDir = dir.path();
  TSaveFileDialog dialog(nullptr, properties);
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog.defaultSuffix(), "bmp");
  EXPECT_EQ(dialog.nameFilters(), QStringList{"Bitmap files (*.bmp)"});
  EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite)) << "asks before replacing";
  EXPECT_FALSE(dialog.testOption(QFileDialog::ReadOnly));
  EXPECT_TRUE(dialog.isSizeGripEnabled());
  EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());

  dialog.open();
  ASSERT_TRUE(WaitUntilExposed(&dialog));
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr);
  name->setFocus();
  QTest::keyClicks(name, "mytable");
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(dialog.selectedFiles().size(), 1);
  EXPECT_EQ(QFileInfo(dialog.selectedFiles().first()).fileName(), "mytable.bmp");
}

}  // namespace
}  // namespace palettor::test

namespace palettor::test {
namespace {

// Answers the first modal message box that opens with OK, remembering its text.
class MessageBoxCloser : public QObject {
 public:
  QString text;
  void ArmOnce() {
    QTimer::singleShot(0, this, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        text = box->text();
        box->accept();
      } else {
        ArmOnce();
      }
    });
  }
};

struct RefusedName {
  const char* name;
  bool makeReadOnlyFile;
  const char* why;
};

class SaveFileDialogRefuses : public testing::TestWithParam<RefusedName> {};

TEST_P(SaveFileDialogRefuses, NamesItCannotWriteAndStaysOpen) {
  if (GetParam().makeReadOnlyFile && geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  QTemporaryDir dir;
  if (GetParam().makeReadOnlyFile) {
    QFile file(dir.path() + "/locked.bmp");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner));
  }
  TSaveDialog properties;
  properties.InitialDir = dir.path();
  TSaveFileDialog dialog(nullptr, properties);
  dialog.open();
  ASSERT_TRUE(WaitUntilExposed(&dialog));
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr);
  name->setFocus();
  QTest::keyClicks(name, QString::fromLatin1(GetParam().name));
  MessageBoxCloser closer;
  closer.ArmOnce();
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(closer.text.contains(QString::fromLatin1(GetParam().why))) << closer.text.toStdString();
  dialog.reject();
}

INSTANTIATE_TEST_SUITE_P(Names, SaveFileDialogRefuses,
                         testing::Values(RefusedName{"no/such/folder/table.bmp", false, "does not exist"},
                                         RefusedName{"locked.bmp", true, "read-only"}),
                         [](const auto& p) {
                           return std::string(p.param.makeReadOnlyFile ? "ReadOnlyFile" : "MissingFolder");
                         });

}  // namespace
}  // namespace palettor::test
