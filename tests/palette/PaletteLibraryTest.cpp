#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <optional>

#include "BuiltInPalettes.h"
#include "CaseName.h"
#include "PaletteFile.h"
#include "PaletteFileWriter.h"
#include "PaletteLibrary.h"

namespace palettor {
namespace {

// Sets environment variables for one test and puts them back afterwards.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value)
        qputenv(name, *value);
      else
        qunsetenv(name);
    }
  }
  void Set(const char* name, const char* value) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    if (value)
      qputenv(name, value);
    else
      qunsetenv(name);
  }

 private:
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

struct FolderCase {
  const char* xdgDataHome;  // nullptr: unset
  const char* folder;
};
void PrintTo(const FolderCase& c, std::ostream* os) {
  *os << (c.xdgDataHome == nullptr ? "unset" : *c.xdgDataHome == '\0' ? "empty" : c.xdgDataHome);
}

class UserFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(UserFolder, FollowsTheDataHomeConvention) {
  ScopedEnvironment env;
  env.Set("HOME", "/home/ada");
  env.Set("XDG_DATA_HOME", GetParam().xdgDataHome);
  EXPECT_EQ(UserPaletteFolder().toStdString(), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, UserFolder,
                         testing::Values(FolderCase{"/data/ada/", "/data/ada/palettor/palettes"},
                                         FolderCase{nullptr, "/home/ada/.local/share/palettor/palettes"},
                                         FolderCase{"", "/home/ada/.local/share/palettor/palettes"},
                                         FolderCase{"relative/data", "/home/ada/.local/share/palettor/palettes"}),
                         test::CaseName<FolderCase>);

Palette WithTail(int tailPercent) { return {FactoryPalette(), tailPercent, true, true}; }

class UserPalettes : public testing::Test {
 protected:
  QString Put(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(dir_.path());
    const QString path = dir_.filePath(file);
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size()) << path.toStdString();
    return path;
  }
  QString Put(const QString& file, const QString& name, int tailPercent) {
    return Put(file, PaletteFileWriter::Encode(WithTail(tailPercent), name));
  }
  std::vector<std::string> Names(const PaletteListing& listing) {
    std::vector<std::string> names;
    for (const NamedPalette& p : listing.palettes) names.push_back(p.name.toStdString());
    return names;
  }
  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir dir_;
};

TEST_F(UserPalettes, MissingFolderListsTheBuiltInsAlone) {
  const PaletteListing listing = ListPalettes(dir_.filePath(QStringLiteral("none")));
  EXPECT_EQ(listing.palettes.size(), BuiltInPalettes().size());
  EXPECT_TRUE(listing.problems.isEmpty());
  EXPECT_EQ(ListPalettes({}).palettes.size(), BuiltInPalettes().size());
}

TEST_F(UserPalettes, ListedAfterTheBuiltInsByName) {
  Put(QStringLiteral("b.json"), QStringLiteral("zeta"), 1);
  Put(QStringLiteral("a.json"), QString(), 2);  // named by its file
  Put(QStringLiteral("c.json"), QStringLiteral("  My \n IR "), 3);
  Put(QStringLiteral("d.json"), QStringLiteral("Alpha"), 4);
  Put(QStringLiteral("notes.txt"), QStringLiteral("txt"), 5);  // not *.json
  Put(QStringLiteral(".hidden.json"), QStringLiteral("hidden"), 6);
  QDir(dir_.path()).mkdir(QStringLiteral("folder.json"));
  const PaletteListing listing = ListPalettes(dir_.path());
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"factory", "greyscale", "infrared-contrast", "colour-blind-safe",
                                                      "a", "Alpha", "My IR", "zeta"}));
  EXPECT_TRUE(listing.problems.isEmpty()) << listing.problems.join('\n').toStdString();
  const NamedPalette* zeta = FindPalette(listing, QStringLiteral("ZETA"));
  ASSERT_TRUE(zeta);
  EXPECT_EQ(zeta->palette, WithTail(1));
  EXPECT_EQ(zeta->file, dir_.filePath(QStringLiteral("b.json")));
  ASSERT_TRUE(FindPalette(listing, QStringLiteral("my ir")));
  EXPECT_EQ(FindPalette(listing, QStringLiteral("my ir"))->palette, WithTail(3));
  EXPECT_EQ(FindPalette(listing, QStringLiteral("Factory")), &listing.palettes.front());
  EXPECT_FALSE(FindPalette(listing, QStringLiteral("nothing")));
}

TEST_F(UserPalettes, FilesThatCannotBeListedAreReported) {
  const QString broken = Put(QStringLiteral("broken.json"), "{\"format\": \"palettor-palette\"");
  const QString shadow = Put(QStringLiteral("factory.json"), QString(), 40);
  const QString first = Put(QStringLiteral("a.json"), QStringLiteral("Storm"), 1);
  const QString second = Put(QStringLiteral("b.json"), QStringLiteral("STORM"), 2);
  const PaletteListing listing = ListPalettes(dir_.path());
  EXPECT_EQ(Names(listing).back(), "Storm");
  EXPECT_EQ(FindPalette(listing, QStringLiteral("storm"))->palette, WithTail(1));
  EXPECT_EQ(FindPalette(listing, QStringLiteral("factory"))->palette, WithTail(12));
  EXPECT_EQ(listing.problems,
            (QStringList{second + QStringLiteral(": left out, \"STORM\" is already the name of ") + first,
                         broken + QStringLiteral(": not valid JSON at line 1, column 30: expected ',' or '}'"),
                         shadow + QStringLiteral(": left out, \"factory\" is the name of a built-in palette")}));
}

TEST_F(UserPalettes, AFifoInTheFolderIsReportedNotWaitedFor) {
  Put(QStringLiteral("a.json"), QStringLiteral("Storm"), 1);
  const QString fifo = dir_.filePath(QStringLiteral("fifo")), link = dir_.filePath(QStringLiteral("b.json"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(fifo, link));
  PaletteFileCache cache;
  for (PaletteFileCache* listedWith : {static_cast<PaletteFileCache*>(nullptr), &cache}) {
    const PaletteListing listing = ListPalettes(dir_.path(), listedWith);
    EXPECT_EQ(Names(listing).back(), "Storm");
    EXPECT_EQ(listing.problems, QStringList{link + QStringLiteral(": is a FIFO, not a regular file")});
  }
}

TEST_F(UserPalettes, AFolderThatCannotBeReadIsOneProblem) {
  const QString file = Put(QStringLiteral("plain"), "x");
  const QString problem = file + QStringLiteral(": cannot read the palette folder: Not a directory");
  EXPECT_EQ(PaletteFolderProblem(file), problem);
  const PaletteListing listing = ListPalettes(file);
  EXPECT_EQ(listing.folderProblem, problem);
  EXPECT_TRUE(listing.problems.isEmpty());
  EXPECT_EQ(listing.palettes.size(), BuiltInPalettes().size());
  for (const QString& fine : {dir_.path(), dir_.filePath(QStringLiteral("none")), QString()})
    EXPECT_EQ(PaletteFolderProblem(fine), QString()) << fine.toStdString();
}

// A cached listing reads a file again only once its size, time or inode changed: a file whose
// bytes change behind an unchanged size and time still lists what was read first.
TEST_F(UserPalettes, ACachedListingReadsOnlyFilesThatChanged) {
  const QString path = Put(QStringLiteral("p.json"), QStringLiteral("Storm A"), 10);
  const auto stamp = std::filesystem::last_write_time(path.toStdString());
  PaletteFileCache cache;
  const auto listed = [&] {
    const PaletteListing listing = ListPalettes(dir_.path(), &cache);
    return listing.palettes.size() == BuiltInPalettes().size() ? std::string() : Names(listing).back();
  };
  EXPECT_EQ(listed(), "Storm A");
  Put(QStringLiteral("p.json"), QStringLiteral("Storm B"), 20);  // in place: the same inode and size
  std::filesystem::last_write_time(path.toStdString(), stamp);
  EXPECT_EQ(listed(), "Storm A");
  std::filesystem::last_write_time(path.toStdString(), stamp + std::chrono::seconds(1));
  EXPECT_EQ(listed(), "Storm B");
  Put(QStringLiteral("p.json"), QStringLiteral("Storm CC"), 20);
  std::filesystem::last_write_time(path.toStdString(), stamp + std::chrono::seconds(1));
  EXPECT_EQ(listed(), "Storm CC");
  QFile::remove(path);
  EXPECT_EQ(listed(), "");
  Put(QStringLiteral("p.json"), QStringLiteral("Storm DD"), 20);
  std::filesystem::last_write_time(path.toStdString(), stamp + std::chrono::seconds(1));
  EXPECT_EQ(listed(), "Storm DD");  // a removed file is forgotten, not brought back from the cache
}

TEST_F(UserPalettes, SaveCreatesTheFolderAndListsThePalette) {
  const QString folder = dir_.filePath(QStringLiteral("data/palettor/palettes"));
  const SavedPalette saved = SaveUserPalette(folder, QStringLiteral("  Storm   watch "), WithTail(30));
  ASSERT_TRUE(saved.file) << saved.error.Message().toStdString();
  EXPECT_EQ(saved.file, folder + QStringLiteral("/Storm watch.json"));
  const PaletteReadResult read = ReadPaletteFile(*saved.file);
  ASSERT_TRUE(read.document);
  EXPECT_EQ(*read.document, (PaletteDocument{WithTail(30), QStringLiteral("Storm watch")}));
  EXPECT_EQ(Names(ListPalettes(folder)).back(), "Storm watch");
}

TEST_F(UserPalettes, SavingUnderAnExistingNameReplacesThatFile) {
  const QString old = Put(QStringLiteral("old-file.json"), QStringLiteral("Storm"), 1);
  const SavedPalette saved = SaveUserPalette(dir_.path(), QStringLiteral("storm"), WithTail(2));
  ASSERT_TRUE(saved.file) << saved.error.Message().toStdString();
  EXPECT_EQ(saved.file, old);
  EXPECT_EQ(Files(), QStringList{QStringLiteral("old-file.json")});
  const PaletteListing listing = ListPalettes(dir_.path());
  EXPECT_EQ(Names(listing).back(), "storm");
  EXPECT_EQ(listing.palettes.back().palette, WithTail(2));
}

TEST_F(UserPalettes, SavingNeverOverwritesAnotherPalettesFile) {
  Put(QStringLiteral("Storm.json"), QStringLiteral("Other"), 1);
  Put(QStringLiteral("Storm (2).json"), "not a palette");
  const SavedPalette saved = SaveUserPalette(dir_.path(), QStringLiteral("Storm"), WithTail(2));
  ASSERT_TRUE(saved.file) << saved.error.Message().toStdString();
  EXPECT_EQ(saved.file, dir_.filePath(QStringLiteral("Storm (3).json")));
  const PaletteListing listing = ListPalettes(dir_.path());
  EXPECT_EQ(FindPalette(listing, QStringLiteral("Other"))->palette, WithTail(1));
  EXPECT_EQ(FindPalette(listing, QStringLiteral("Storm"))->palette, WithTail(2));
}

class RefusedNames : public testing::TestWithParam<std::string> {};

TEST_P(RefusedNames, WriteNothing) {
  QTemporaryDir dir;
  const SavedPalette saved = SaveUserPalette(dir.path(), QString::fromStdString(GetParam()), WithTail(12));
  EXPECT_FALSE(saved.file);
  EXPECT_FALSE(saved.error.reason.isEmpty());
  EXPECT_EQ(saved.error.Message(), TidyUserPaletteName(QString::fromStdString(GetParam())).error.Message());
  EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedNames,
                         testing::Values("", "  \n ", "factory", "GreyScale", "..", "../escape", "a/b", "a\\b",
                                         ".hidden", "bell\x07", "\xC3\xA9" + std::string(239, 'e')),
                         test::CaseName<std::string>);

TEST_F(UserPalettes, UsualNamesAreAccepted) {
  const std::string names[] = {"My IR", "Sturm über Köln", "a.b", "-60 to +40 °C", "factory 2", std::string(240, 'e')};
  for (const std::string& name : names) EXPECT_TRUE(TidyUserPaletteName(QString::fromStdString(name)).name) << name;
}

TEST_F(UserPalettes, SaveIntoAFileInsteadOfAFolderSaysWhy) {
  const QString file = Put(QStringLiteral("plain"), "x");
  const SavedPalette saved = SaveUserPalette(file + QStringLiteral("/palettes"), QStringLiteral("Storm"), WithTail(2));
  const QString message = saved.error.Message();
  EXPECT_TRUE(message.startsWith(file + QStringLiteral("/palettes: "))) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("Not a directory"))) << message.toStdString();
}

}  // namespace
}  // namespace palettor
