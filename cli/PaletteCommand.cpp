// palettor-cli palette: palette files in and out of the stored settings, and the palettes that
// can be picked by name.
#include <cstdio>
#include <optional>
#include <string>

#include <QFileInfo>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "FileNames.h"
#include "GimpPaletteWriter.h"
#include "NativeFileName.h"
#include "Output.h"
#include "PaletteArgument.h"
#include "PaletteFileWriter.h"
#include "PaletteLibrary.h"
#include "RegistryTransaction.h"
#include "SettingsCatalogue.h"
#include "StoreFailure.h"
#include "StoredPalette.h"
#include "TableOptions.h"
#include "WindowExecutable.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

const std::string kPaletteHelp =
    std::string(
        "Usage: palettor-cli palette export [--format json|gpl] [--name NAME] [table options] FILE|-\n"
        "       palettor-cli palette import FILE|-\n"
        "       palettor-cli palette list\n"
        "\n"
        "A palette is what the window keeps between runs: the twelve anchors (hue and saturation)\n"
        "and the options White top, Smooth colours and Blue tail percent. A palette file holds one\n"
        "as UTF-8 JSON:\n"
        "\n"
        "  { \"format\": \"palettor-palette\", \"version\": 1, \"name\": \"My IR\",\n"
        "    \"whiteTop\": true, \"smoothColours\": true, \"tailPercent\": 12,\n"
        "    \"anchors\": { \"M70\": {\"hue\": 220, \"saturation\": 70}, ... \"P40\": {...} } }\n"
        "\n"
        "All twelve anchors (M70 the blue tail, M60 ... M10, O0, P10 ... P40) and the three options\n"
        "are required: hues whole numbers ") +
    RangeText(SettingId::HueM70) + ", saturations and the tail percent " + RangeText(SettingId::TailPercent) +
    ", the\n"
    "options true or false. \"name\" is optional; unknown members are ignored. A file that is\n"
    "not such a palette is refused with the member at fault (anchors.M30.hue, tailPercent).\n"
    "\n"
    "  export FILE    writes the palette the table options give (by default the stored\n"
    "                 settings, as render reads them) to FILE, or to standard output for -.\n"
    "                 A file is replaced only once the new one is complete.\n"
    "    --format json   a palette file (the default)\n"
    "    --format gpl    a GIMP palette of the twelve anchor colours as the window's patches\n"
    "                    show them, each named by its temperature, for GIMP, Inkscape, Krita\n"
    "    --name NAME     the palette's name in the file; without it, FILE's name without its\n"
    "                    extension (none for -)\n"
    "  import FILE    stores the palette of FILE (- reads standard input) as the window's\n"
    "                 settings: all 27 values in one transaction, as a window session that\n"
    "                 changed them would. An invalid file changes nothing. A window that is\n"
    "                 open meanwhile stores what it shows when it closes: close it first.\n"
    "  list           the names --preset takes, one per line: the built-in palettes (factory,\n"
    "                 greyscale, infrared-contrast, colour-blind-safe), then the user's own,\n"
    "                 the *.json palette files in $XDG_DATA_HOME/palettor/palettes\n"
    "                 (~/.local/share/palettor/palettes), each named by its \"name\" or else\n"
    "                 its file name. Files left out (not palettes, or a name already taken)\n"
    "                 are named on standard error.\n"
    "\n"
    "Table options of export:\n" +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 done, 1 a file or the settings store could not be read or written,\n"
    "2 invalid arguments or an invalid palette file.\n";

struct ExportRequest {
  std::string file;
  bool gimp = false;
  std::optional<std::string> name;
  TableOptions table;
};

ExportRequest ParseExport(const Arguments& args) {
  ExportRequest request;
  bool haveFile = false;
  const Arguments rest(args.begin() + 1, args.end());  // after "export"; the cursor keeps a reference
  for (ArgumentCursor arg(rest); !arg.AtEnd(); arg.Next()) {
    if (!arg.IsOption()) {
      if (haveFile) throw UsageError("palette export: only one FILE may be given");
      if (arg.Raw().empty()) throw UsageError("palette export: the file name is empty");
      request.file = arg.Raw();
      haveFile = true;
    } else if (request.table.Take(arg)) {
      continue;
    } else if (arg.Name() == "--format") {
      const std::string format = arg.TakeValue("--format needs json or gpl");
      if (format != "json" && format != "gpl") throw UsageError("--format '" + format + "': expected json or gpl");
      request.gimp = format == "gpl";
    } else if (arg.Name() == "--name") {
      request.name = arg.TakeValue("--name needs the palette's name");
    } else {
      throw UsageError("palette export: unknown argument '" + arg.Raw() + "' (see palettor-cli palette --help)");
    }
  }
  if (!haveFile) throw UsageError("palette export: FILE (or - for standard output) is required");
  return request;
}

void Export(const Arguments& args) {
  const ExportRequest request = ParseExport(args);
  const Palette palette = request.table.Resolve();
  const QString target = DecodeFileName(request.file);
  QString name;
  if (request.name)
    name = QString::fromStdString(*request.name);
  else if (request.file != "-")  // as text: bytes of the name that are not UTF-8 become U+FFFD
    name = QString::fromUtf8(EncodeFileName(QFileInfo(target).completeBaseName()));
  const auto write = [&](auto writer) {
    if (!writer.Write(palette, name, target)) throw CannotWrite(request.file, "the palette", writer.ErrorString());
  };
  if (request.gimp)
    write(GimpPaletteWriter());
  else
    write(PaletteFileWriter());
}

void Import(const Arguments& args) {
  const Arguments files = Operands(Arguments(args.begin() + 1, args.end()));
  if (files.size() != 1) throw UsageError("palette import: expected one FILE, or - for standard input");
  // Read and checked before the store is opened: a file refused leaves the store untouched.
  const PaletteDocument document = ReadPaletteArgument(files[0]);
  WindowSettingsStore store(false);
  try {
    RegistryTransaction session(store.Store(), RegistryTransactionMode::Write);
    StorePalette(store.Registry(), document.palette);
    session.Commit();
  } catch (const ERegistryException& error) {
    throw CannotWriteStore(error);
  }
}

void List(const Arguments& args) {
  if (!Operands(Arguments(args.begin() + 1, args.end())).empty()) throw UsageError("palette list: takes no arguments");
  const PaletteListing listing = ListPalettes(UserPaletteFolder());
  for (const NamedPalette& palette : listing.palettes)
    std::printf("%s\n", Untrusted(palette.name.toStdString()).c_str());
  FinishOutput();
  if (!listing.folderProblem.isEmpty())
    std::fprintf(stderr, "palettor-cli: %s\n", Untrusted(listing.folderProblem.toStdString()).c_str());
  for (const QString& problem : listing.problems)
    std::fprintf(stderr, "palettor-cli: %s\n", Untrusted(problem.toStdString()).c_str());
}

void RunPalette(const Arguments& args) {
  if (args.empty()) throw UsageError("palette: expected export, import or list (see palettor-cli palette --help)");
  const std::string& verb = args[0];
  if (verb == "export") return Export(args);
  if (verb == "import") return Import(args);
  if (verb == "list") return List(args);
  throw UsageError("palette: unknown action '" + verb + "' (expected export, import or list)");
}

}  // namespace

extern const CliCommand kPaletteCommand{"palette", "palette export|import|list ...",
                                        "palette files in and out of the stored settings; named palettes",
                                        [] { return kPaletteHelp.c_str(); }, &RunPalette};

}  // namespace palettor::cli
