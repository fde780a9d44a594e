#pragma once
// Every palette the user can pick by name: the built-in ones, then the user's own, which are the
// *.json palette files in one folder (UserPaletteFolder()). A user palette is named by its "name"
// member, or else by its file name without ".json".
//
// Names match without regard to case and must be unique that way: a built-in name always means
// the built-in palette, and a user file whose name is already taken (by a built-in or by a file
// earlier in file-name order) is left out of the listing with a problem that says so. Hidden
// files and files that are not palette files are left out the same way.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "NamedPalette.h"
#include "PaletteFileCache.h"
#include "PaletteFileError.h"

namespace palettor {

// $XDG_DATA_HOME/palettor/palettes, or ~/.local/share/palettor/palettes when XDG_DATA_HOME is
// unset or not an absolute path; "" when not even the home folder is known.
QString UserPaletteFolder();

struct PaletteListing {
  std::vector<NamedPalette> palettes;  // built-ins in their own order, then user palettes by name
  QStringList problems;                // one line per file left out: "FILE: why"
  QString folderProblem;               // "FOLDER: why" when the folder exists but cannot be read
};

// `folder` "" or missing: the built-ins alone. With a cache, only files that changed since it
// last read them are read.
PaletteListing ListPalettes(const QString& folder, PaletteFileCache* cache = nullptr);

// "FOLDER: cannot read the palette folder: why" when `folder` is there (or may be) but cannot be
// listed; "" when it can, or does not exist. Costs one look at the folder, not a listing.
QString PaletteFolderProblem(const QString& folder);

// The palette called `name`, in any case and with its white space tidied as TidyUserPaletteName
// does, or nullptr. Points into `listing`.
const NamedPalette* FindPalette(const PaletteListing& listing, const QString& name);

struct UserPaletteName {
  std::optional<QString> name;
  PaletteFileError error;  // without a name: why not
};

// `name` trimmed, its inner runs of white space folded into one space, as a user palette is
// named; nothing when that cannot name a new user palette: empty, a built-in's name, a name with
// '/', '\\' or control characters, a name starting with '.', or one too long for a file name.
UserPaletteName TidyUserPaletteName(const QString& name);

struct SavedPalette {
  std::optional<QString> file;  // the file written
  PaletteFileError error;       // without a file: what went wrong, naming the file or folder
};

// Saves `palette` in `folder` (created when missing) under `name`, tidied as TidyUserPaletteName
// tidies it. A user palette of that name is replaced in its own
// file; otherwise the file is "NAME.json", or "NAME (2).json" ... when a file of that name exists
// but holds another palette or none. The file is written by PaletteFileWriter: an earlier file is
// replaced only once the new one is complete.
SavedPalette SaveUserPalette(const QString& folder, const QString& name, const Palette& palette);

}  // namespace palettor
