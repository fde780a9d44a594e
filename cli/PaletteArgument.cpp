#include "PaletteArgument.h"

#include <unistd.h>

#include <QFile>
#include <cstdio>

#include "CliCommand.h"
#include "NativeFileName.h"
#include "Output.h"
#include "PaletteLibrary.h"

namespace palettor::cli {

PaletteDocument ReadPaletteArgument(const std::string& file) {
  PaletteReadResult read;
  if (file == "-") {
    QFile in;
    if (!in.open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
      throw Failure("cannot read standard input: " + in.errorString().toStdString());
    read = ReadPalette(in, QStringLiteral("standard input"));
  } else {
    read = ReadPaletteFile(DecodeFileName(file));
  }
  if (read.document) return *read.document;
  // The file's name as it was given, bytes that are not UTF-8 included.
  const std::string message = EncodeFileName(read.error.Message()).toStdString();
  if (read.error.kind == PaletteFileError::Kind::Invalid) throw UsageError(message);
  throw Failure("cannot read " + message);
}

NamedPalette PaletteNamed(const std::string& name) {
  const PaletteListing listing = ListPalettes(UserPaletteFolder());
  if (const NamedPalette* found = FindPalette(listing, QString::fromStdString(name))) return *found;
  // The palette may be one of the user's that cannot be read: say so before saying it is missing.
  if (!listing.folderProblem.isEmpty())
    std::fprintf(stderr, "palettor-cli: %s\n", Untrusted(listing.folderProblem.toStdString()).c_str());
  throw UsageError("no palette is called '" + name + "' (palettor-cli palette list shows them)");
}

}  // namespace palettor::cli
