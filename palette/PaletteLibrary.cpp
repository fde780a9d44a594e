#include "PaletteLibrary.h"

#include <dirent.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "BuiltInPalettes.h"
#include "NativeFileName.h"
#include "PaletteFile.h"
#include "PaletteFileWriter.h"

namespace palettor {

namespace {

const QString kExtension = QStringLiteral(".json");

// Room for " (NNN)" and ".json" within the usual 255-byte limit of a file name.
constexpr qsizetype kMaxNameBytes = 240;

QString HomeFolder() {
  const QString home = qEnvironmentVariable("HOME");
  if (QDir::isAbsolutePath(home)) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
    return QString::fromLocal8Bit(entry->pw_dir);
  return {};
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString NameOfFile(const PaletteDocument& document, const QFileInfo& file) {
  const QString name = document.name.simplified();
  if (!name.isEmpty()) return name;
  return file.fileName().chopped(kExtension.size());
}

std::vector<NamedPalette> UserPalettes(const QString& folder, const std::vector<NamedPalette>& builtIns,
                                       PaletteFileCache* cache, QStringList& problems) {
  std::vector<NamedPalette> found;
  if (folder.isEmpty()) return found;
  QFileInfoList files =
      QDir(folder).entryInfoList({QLatin1Char('*') + kExtension}, QDir::Files | QDir::CaseSensitive, QDir::NoSort);
  // Plain code-point order, the same in every locale: it decides which of two files claiming one
  // name is listed.
  std::sort(files.begin(), files.end(),
            [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
  for (const QFileInfo& file : files) {
    const PaletteReadResult read =
        cache ? cache->Read(file.filePath()) : ReadPaletteFile(file.filePath(), SpecialFiles::Refuse);
    if (!read.document) {
      problems.append(read.error.Message());
      continue;
    }
    const QString name = NameOfFile(*read.document, file);
    const auto taken = [&](const NamedPalette& other) { return SameName(other.name, name); };
    if (const auto builtIn = std::find_if(builtIns.begin(), builtIns.end(), taken); builtIn != builtIns.end()) {
      problems.append(
          QStringLiteral("%1: left out, \"%2\" is the name of a built-in palette").arg(file.filePath(), name));
    } else if (const auto earlier = std::find_if(found.begin(), found.end(), taken); earlier != found.end()) {
      problems.append(
          QStringLiteral("%1: left out, \"%2\" is already the name of %3").arg(file.filePath(), name, earlier->file));
    } else {
      found.push_back({name, read.document->palette, file.filePath()});
    }
  }
  if (cache) cache->ForgetUnread();
  std::sort(found.begin(), found.end(), [](const NamedPalette& a, const NamedPalette& b) {
    const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.name < b.name;
  });
  return found;
}

// A file for a palette that has none yet: NAME.json unless something is there already.
QString FreeFileFor(const QString& folder, const QString& name) {
  const QDir dir(folder);
  QString path = dir.filePath(name + kExtension);
  for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
    path = dir.filePath(QStringLiteral("%1 (%2)%3").arg(name).arg(n).arg(kExtension));
  return path;
}

}  // namespace

QString UserPaletteFolder() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (!QDir::isAbsolutePath(base)) {
    const QString home = HomeFolder();
    if (home.isEmpty()) return {};
    base = home + QStringLiteral("/.local/share");
  }
  return QDir::cleanPath(base + QStringLiteral("/palettor/palettes"));
}

QString PaletteFolderProblem(const QString& folder) {
  if (folder.isEmpty()) return {};
  DIR* listing = ::opendir(EncodeFileName(folder).constData());
  if (listing) {
    ::closedir(listing);
    return {};
  }
  if (errno == ENOENT) return {};
  return QStringLiteral("%1: cannot read the palette folder: %2")
      .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
}

PaletteListing ListPalettes(const QString& folder, PaletteFileCache* cache) {
  PaletteListing listing;
  listing.palettes = BuiltInPalettes();
  listing.folderProblem = PaletteFolderProblem(folder);
  std::vector<NamedPalette> user = UserPalettes(folder, listing.palettes, cache, listing.problems);
  listing.palettes.insert(listing.palettes.end(), user.begin(), user.end());
  return listing;
}

const NamedPalette* FindPalette(const PaletteListing& listing, const QString& name) {
  const QString wanted = name.simplified();
  for (const NamedPalette& palette : listing.palettes) {
    if (SameName(palette.name, wanted)) return &palette;
  }
  return nullptr;
}

UserPaletteName TidyUserPaletteName(const QString& name) {
  const QString tidy = name.simplified();
  const auto refused = [](const QString& reason) {
    return UserPaletteName{std::nullopt, {PaletteFileError::Kind::Invalid, {}, {}, reason}};
  };
  if (tidy.isEmpty()) return refused(QStringLiteral("a palette needs a name"));
  for (const NamedPalette& builtIn : BuiltInPalettes()) {
    if (SameName(builtIn.name, tidy))
      return refused(QStringLiteral("\"%1\" is the name of a built-in palette").arg(builtIn.name));
  }
  if (tidy.startsWith(QLatin1Char('.'))) return refused(QStringLiteral("a palette name cannot start with '.'"));
  for (const QChar c : tidy) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
      return refused(QStringLiteral("a palette name cannot contain '/' or '\\'"));
    if (c.category() == QChar::Other_Control)
      return refused(QStringLiteral("a palette name cannot contain control characters"));
  }
  if (tidy.toUtf8().size() > kMaxNameBytes) return refused(QStringLiteral("the name is too long for a file name"));
  return {tidy, {}};
}

SavedPalette SaveUserPalette(const QString& folder, const QString& name, const Palette& palette) {
  const UserPaletteName tidy = TidyUserPaletteName(name);
  if (!tidy.name) return {std::nullopt, tidy.error};
  const auto unwritable = [](const QString& file, const QString& reason) {
    return SavedPalette{std::nullopt, {PaletteFileError::Kind::Unreadable, file, {}, reason}};
  };
  if (folder.isEmpty())
    return unwritable({}, QStringLiteral("no folder for user palettes: the home folder is unknown"));
  std::error_code error;
  std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
  if (error) return unwritable(folder, QString::fromLocal8Bit(error.message()));

  const PaletteListing listing = ListPalettes(folder);
  const NamedPalette* existing = FindPalette(listing, *tidy.name);
  const QString path = existing ? existing->file : FreeFileFor(folder, *tidy.name);
  if (PaletteFileWriter writer; !writer.Write(palette, *tidy.name, path)) return unwritable(path, writer.ErrorString());
  return {path, {}};
}

}  // namespace palettor
