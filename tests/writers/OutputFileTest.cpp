// Where the bytes of a save end up: replaced atomically where the folder allows it, in place
// where only the file is writable, never replacing a device or a FIFO, through symlinks.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ChildProcess.h"
#include "NativeFileName.h"
#include "OutputFile.h"

namespace palettor {
namespace {

const QByteArray kBytes = QByteArray("BM") + QByteArray(1000, 'x');

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "" when written, else the reason.
std::string Write(const std::string& target, const QByteArray& bytes = kBytes) {
  OutputFile output(DecodeFileName(target));
  return output.Open() && output.Write(bytes) && output.Commit() ? "" : output.ErrorString().toStdString();
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

class OutputFileTest : public testing::Test {
 protected:
  // The unprivileged user of the permission cases must reach the folders inside.
  void SetUp() override { ::chmod(dir_.path().toLocal8Bit().constData(), 0711); }
  std::string Path(const char* name) const { return dir_.path().toStdString() + "/" + name; }
  QTemporaryDir dir_;
};

TEST_F(OutputFileTest, AFileIsReplacedOrTheReasonGiven) {
  std::ofstream(Path("p.json")) << "old";
  EXPECT_EQ(Write(Path("p.json"), "new"), "");
  EXPECT_EQ(ReadFile(Path("p.json")), "new");
  EXPECT_NE(Write(Path("missing/p.json")), "");
}

// A shared install: the viewer's folder belongs to someone else, the table file to the user.
TEST_F(OutputFileTest, AWritableFileInAReadOnlyFolderIsReplaced) {
  const std::filesystem::path folder = Path("viewer");
  std::filesystem::create_directory(folder);
  const std::string target = folder / "TempToColourUser.bmp";
  std::ofstream(target) << "the old table, longer than what replaces it ............................";
  test::HandOverToUnprivileged(folder);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const int status = test::RunInChild([&] {
    test::DropPrivileges();
    return Write(target).empty() ? 0 : 1;
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(target), kBytes.toStdString());
}

TEST_F(OutputFileTest, AReadOnlyFileInAReadOnlyFolderIsRefusedAndKept) {
  const std::filesystem::path folder = Path("viewer");
  std::filesystem::create_directory(folder);
  const std::string target = folder / "TempToColourUser.bmp";
  std::ofstream(target) << "keep me";
  test::HandOverToUnprivileged(folder);
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const int status = test::RunInChild([&] {
    test::DropPrivileges();
    return Write(target).empty() ? 0 : 1;
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(ReadFile(target), "keep me");
}

TEST_F(OutputFileTest, ASymlinkIsFollowedAndTheFileKeepsItsMode) {
  const std::string target = Path("real.bmp");
  std::ofstream(target) << "old";
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(::symlink(target.c_str(), Path("link.bmp").c_str()), 0);
  EXPECT_EQ(Write(Path("link.bmp")), "");
  EXPECT_TRUE(S_ISLNK(ModeOf(Path("link.bmp"))));
  EXPECT_EQ(ReadFile(target), kBytes.toStdString());
  EXPECT_EQ(ModeOf(target) & 07777, 0640u);
  // A link to a file not there yet makes that file, beside the link as the link names it.
  ASSERT_EQ(::symlink("new.bmp", Path("ahead.bmp").c_str()), 0);
  EXPECT_EQ(Write(Path("ahead.bmp")), "");
  EXPECT_TRUE(S_ISLNK(ModeOf(Path("ahead.bmp"))));
  EXPECT_EQ(ReadFile(Path("new.bmp")), kBytes.toStdString());
}

// As the shell refuses `> loop`: there is no file to write, and the links stay.
TEST_F(OutputFileTest, ASymlinkLoopIsRefused) {
  ASSERT_EQ(::symlink("b", Path("a").c_str()), 0);
  ASSERT_EQ(::symlink("a", Path("b").c_str()), 0);
  EXPECT_EQ(Write(Path("a")), "Too many levels of symbolic links");
  EXPECT_TRUE(S_ISLNK(ModeOf(Path("a"))));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({"a", "b"}));
}

TEST_F(OutputFileTest, ANameThatIsNotUtf8IsWrittenAsGiven) {
  EXPECT_EQ(Write(Path("caf\xE9.bmp")), "");
  EXPECT_EQ(ReadFile(Path("caf\xE9.bmp")), kBytes.toStdString());
}

// Past a file-size limit (which binds root too) the write says so, and the old file stays whole:
// replaced, it is only renamed over once complete; overwritten in place (a folder that is not
// the user's), room for the new bytes is reserved before the first old byte is touched.
TEST_F(OutputFileTest, PastAFileSizeLimitTheOldFileStaysWhole) {
  const std::string old(50000, 'o');
  const QByteArray longer(60000, 'n');
  for (const bool inPlace : {false, true}) {
    const std::filesystem::path folder = Path(inPlace ? "in-place" : "replaced");
    std::filesystem::create_directory(folder);
    const std::string target = folder / "TempToColourUser.bmp";
    std::ofstream(target) << old;
    test::HandOverToUnprivileged(folder);
    if (inPlace) {
      ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    }
    const int status = test::RunInChild([&] {
      test::DropPrivileges();
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{55000, 55000};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
      const std::string reason = Write(target, longer);
      return reason == "File too large" ? 0 : reason.empty() ? 1 : 2;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(status, 0) << (inPlace ? "in place" : "replaced") << ": 1 written, 2 another reason";
    EXPECT_EQ(ReadFile(target), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "nothing left beside it";
  }
}

// A full disk, on a small file system of the test's own: mounted in a mount namespace of a
// child, which needs root. The child answers with the first check that failed.
TEST_F(OutputFileTest, AFullDiskSaysSoAndTheOldFileStaysWhole) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  const std::string folder = Path("small"), old(20000, 'o');
  std::filesystem::create_directory(folder);
  const int status = test::RunInChild([&] {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
      return 77;
    const std::string target = folder + "/TempToColourUser.bmp";
    std::ofstream(target) << old;
    if (Write(folder + "/new.bmp", QByteArray(100000, 'n')) != "No space left on device") return 1;
    if (std::distance(std::filesystem::directory_iterator(folder), {}) != 1) return 2;
    if (::chown(target.c_str(), test::kUnprivilegedId, test::kUnprivilegedId) != 0) return 3;
    test::DropPrivileges();  // the folder is root's: the file is written in place
    if (Write(target, QByteArray(100000, 'n')) != "No space left on device") return 4;
    return ReadFile(target) == old ? 0 : 5;
  });
  if (status == 77) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(status, 0);
}

TEST_F(OutputFileTest, AFifoIsWrittenIntoAndStaysAFifo) {
  const std::string fifo = Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string copy = Path("read-from-pipe");
  const pid_t reader = test::Spawn([&] {
    std::ofstream(copy, std::ios::binary) << ReadFile(fifo);
    return 0;
  });
  EXPECT_EQ(Write(fifo), "");
  EXPECT_EQ(test::Wait(reader), 0);
  EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
  EXPECT_EQ(ReadFile(copy), kBytes.toStdString());
}

TEST_F(OutputFileTest, DeviceNodesAreWrittenIntoNotReplaced) {
  EXPECT_EQ(Write("/dev/null"), "");
  EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
  EXPECT_EQ(Write("/dev/full"), "No space left on device");
  EXPECT_TRUE(S_ISCHR(ModeOf("/dev/full")));
  // A node of our own, so that a wrong rename could only ever hit the test's folder.
  const std::string node = Path("null-copy");
  if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no right to make device nodes here";
  EXPECT_EQ(Write(node), "");
  EXPECT_TRUE(S_ISCHR(ModeOf(node)));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"null-copy"})
      << "no temporary file beside it either";
}

TEST_F(OutputFileTest, AFolderIsRefused) { EXPECT_EQ(Write(dir_.path().toStdString()), "Is a directory"); }

}  // namespace
}  // namespace palettor
