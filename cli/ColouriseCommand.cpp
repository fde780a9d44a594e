// palettor-cli colourise: a satellite scene (an infrared and a visible channel, or the built-in
// demo scene) coloured with the table, as the viewer colours it.
#include <memory>
#include <optional>
#include <string>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "ColourisePairs.h"
#include "ColouriseScene.h"
#include "DemoScene.h"

namespace palettor::cli {

namespace {

struct ColouriseRequest {
  std::optional<std::string> ir;
  std::optional<std::string> vis;
  bool demo = false;
  std::string out;
  std::string driver;
  std::optional<std::string> pairs;
  SceneSettings settings;
};

std::string NonEmptyFile(ArgumentCursor& arg, const std::string& what) {
  const std::string missing = arg.Name() + " needs " + what;
  std::string value = arg.TakeValue(missing);
  if (value.empty()) throw UsageError(missing);
  return value;
}

ColouriseRequest ParseColourise(const Arguments& args) {
  ColouriseRequest request;
  bool haveOut = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (TakeSceneOption(arg, request.settings)) continue;
    const std::string& name = arg.Name();
    if (name == "--ir") {
      request.ir = NonEmptyFile(arg, "the infrared image's file name");
    } else if (name == "--vis") {
      request.vis = NonEmptyFile(arg, "the visible image's file name");
    } else if (name == "--demo") {
      arg.ExpectNoValue();
      request.demo = true;
    } else if (name == "--out") {
      request.out = NonEmptyFile(arg, "a file name, or - for standard output");
      haveOut = true;
    } else if (name == "--pairs") {
      request.pairs = NonEmptyFile(arg, "a file of lines IR<TAB>VIS<TAB>OUT, or - for standard input");
    } else {
      throw UsageError("colourise: unknown argument '" + arg.Raw() + "' (see palettor-cli colourise --help)");
    }
  }
  const SceneSettings& settings = request.settings;
  if (settings.compare.has_value() != settings.split.has_value()) {
    throw UsageError(
        settings.split
            ? "colourise: --split X needs the other table: --compare-palette FILE or --compare-preset NAME"
            : "colourise: --compare-palette and --compare-preset need --split X, the first column of the other table");
  }
  if (settings.compare && settings.compare->paletteFile && settings.compare->name == "-" &&
      settings.table.source == TableOptions::Source::PaletteFile && settings.table.sourceName == "-") {
    throw UsageError("colourise: --palette - and --compare-palette - cannot both read standard input");
  }
  if (request.pairs) {
    if (settings.compare) {
      throw UsageError(
          "colourise: --pairs colours every scene with one table; it cannot go with --compare-palette, "
          "--compare-preset or --split");
    }
    if (request.demo || request.ir || request.vis || haveOut) {
      throw UsageError(
          "colourise: --pairs names the channels and outputs of every scene; it cannot go with --ir, "
          "--vis, --demo or --out");
    }
    return request;
  }
  if (request.demo && (request.ir || request.vis))
    throw UsageError("colourise: --demo colours the built-in scene; it cannot go with --ir or --vis");
  if (!request.demo && !(request.ir && request.vis)) {
    throw UsageError(request.ir || request.vis ? "colourise: --ir and --vis go together: both channels are needed"
                                               : "colourise: --ir FILE --vis FILE (or --demo) is required");
  }
  if (!haveOut) throw UsageError("colourise: --out FILE (or --out - for standard output) is required");
  request.driver = DriverFor(request.out, request.settings);
  return request;
}

const std::string kColouriseHelp =
    std::string(
        "Usage: palettor-cli colourise (--ir FILE --vis FILE | --demo) --out FILE|-\n"
        "       palettor-cli colourise --pairs FILE|-\n"
        "                              [--ir-band N] [--vis-band N] [--ir-unit K|C] [--vis-unit 1|%]\n"
        "                              [--ir-scale BLACK,WHITE] [--vis-gamma G] [--nodata-colour R,G,B]\n"
        "                              [--format DRIVER] [--simulate MODE] [table options]\n"
        "                              [--compare-palette FILE | --compare-preset NAME --split X]\n"
        "\n"
        "Colours a satellite scene with the look-up table as the viewer does: every pixel takes\n"
        "the table's colour in the column of its infrared temperature and the row of its visible\n"
        "brightness.\n"
        "\n"
        "  --ir FILE            the infrared channel and\n"
        "  --vis FILE           the visible channel: anything GDAL reads (GeoTIFF, NetCDF, HDF5,\n"
        "                       PNG, BMP, PGM ...), a file or a subdataset as GDAL names it\n"
        "                       (NETCDF:\"file.nc\":CMI, HDF5:\"file.h5\"://group/var). Grey images\n"
        "                       of 8 bits (levels 0 to 255) or 16 bits (0 to 65535) read as\n"
        "                       always; a pixel whose red, green and blue differ is refused.\n"
        "  --ir-band N          the band of a file of several (default 1; an RGB image's three\n"
        "  --vis-band N         together)\n"
        "  --demo               the built-in demo scene (1024 x 768) instead; palettor-cli\n"
        "                       demo-scene writes its two channels\n"
        "  --out FILE|-         the coloured scene, 24-bit RGB, the size of the larger channel, in\n"
        "                       the format of FILE's extension: .png, .bmp, .tif or .tiff\n"
        "                       (GeoTIFF, LZW, with the infrared channel's georeferencing), .webp,\n"
        "                       .jpg or .jpeg; - writes PNG to standard output. A file is replaced\n"
        "                       only once the new one is complete; a device or FIFO is written\n"
        "                       into, never replaced.\n"
        "  --pairs FILE|-       many scenes in one run: each line of FILE (- reads standard\n"
        "                       input) names IR, VIS and OUT separated by tabs; the scenes are\n"
        "                       coloured side by side on every core with the options given, a\n"
        "                       line that fails is reported by its number and the rest go on\n"
        "  --format DRIVER      write with this GDAL driver whatever FILE's name (GTiff, COG, PNG\n"
        "                       ...; gdalinfo --formats lists them)\n"
        "  --ir-unit K|C        the infrared channel's unit, for a band that states none or a\n"
        "                       wrong one: K (kelvin) or C (degrees Celsius)\n"
        "  --vis-unit 1|%       the visible channel's unit, likewise: 1 (a reflectance from 0 to\n"
        "                       1) or % (0 to 100)\n"
        "  --ir-scale BLACK,WHITE\n"
        "                       for an infrared channel of levels (8 or 16 bits, no unit): the\n"
        "                       temperatures, in degrees Celsius, of level 0 and of the top level\n"
        "                       (255 or 65535), decimal numbers that differ. Default 40,-60\n"
        "                       (cold clouds white). Both at 150 or above is refused: kelvin.\n"
        "  --vis-gamma G        brightens a visible channel of reflectances: r^(1/G), G above 0\n"
        "                       (default 1)\n"
        "  --nodata-colour R,G,B\n"
        "                       the colour of a pixel with no data in either channel (the band's\n"
        "                       no-data value, or NaN): three whole numbers 0 to 255 (default\n"
        "                       0,0,0)\n"
        "  --simulate MODE      shows the result as a person with a colour-vision deficiency, or\n"
        "                       a greyscale print, sees it: normal (the default), protanopia,\n"
        "                       deuteranopia, tritanopia or greyscale\n"
        "  --compare-palette FILE\n"
        "  --compare-preset NAME\n"
        "  --split X            two tables side by side on one scene: the columns left of X (0 to\n"
        "                       the scene's width) coloured with the table of the table options,\n"
        "                       the rest with the one of a palette file (- reads standard input)\n"
        "                       or a built-in or saved palette (palettor-cli palette list); that\n"
        "                       one is taken as it is, the table options do not change it.\n"
        "                       Not with --pairs.\n"
        "\n"
        "A value is the band's raw value x its scale + its offset (CF scale_factor, add_offset).\n"
        "Infrared: a band in K or kelvin is T = value - 273.15; in C, degC, deg_C, celsius or\n"
        "\u00b0C, T = value. A band of levels without a unit: level L stands for\n"
        "BLACK + (WHITE - BLACK) x L / top level. The column is T rounded to a whole degree (a\n"
        "half rounds up), -60 to +39. Visible: in %, r = value / 100; in 1, reflectance or\n"
        "albedo, r = value; the row is 255 x r^(1/G), r held to 0 ... 1, rounded. A band of\n"
        "levels without a unit gives the level (8-bit) or its top 8 bits (16-bit) as the row,\n"
        "0 the darkest, the table's bottom row.\n"
        "\n"
        "Channels of different sizes (a visible channel at 2 or 4 times the infrared resolution)\n"
        "make a scene the size of the larger; the smaller is sampled by nearest neighbour. Their\n"
        "aspect ratios must agree within 1 % and, when both are georeferenced, they must cover\n"
        "the same area within half a pixel of the coarser one.\n"
        "\n"
        "The table is the one palettor-cli render writes with the same options: the window's\n"
        "stored settings (the store is only read), or the factory palette, with these applied:\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written; 1 an image could not be read (missing, unreadable, damaged or not\n"
    "an image), the output could not be written, or the settings store could not be read; 2\n"
    "invalid arguments: an unknown option or format, a bad scale, an image that is not grey, a\n"
    "band without a unit the rules know, channels that do not make one scene. Nothing is\n"
    "written when the status is not 0. With --pairs: 1 when any line failed, the others\n"
    "written.\n";

void RunColourise(const Arguments& args) {
  const ColouriseRequest request = ParseColourise(args);
  const SceneSettings& settings = request.settings;
  if (request.pairs) {
    ColourisePairs(*request.pairs, settings);
    return;
  }
  RunChannels channels = OpenRunChannels(request.demo, request.ir, request.vis, settings);
  auto colouriser = std::make_unique<SceneColouriser>();
  ColouredScene scene = MakeScene(std::move(*channels.ir), std::move(*channels.vis), settings, *colouriser);
  // The table is read after the channels, so that a missing image is reported before a
  // palette file or a store that cannot be read.
  SetUpColouriser(settings, *colouriser);
  std::unique_ptr<SceneColouriser> compared;
  if (settings.compare) {
    if (*settings.split > scene.Width()) {
      throw UsageError("--split " + std::to_string(*settings.split) + ": the scene is " +
                       std::to_string(scene.Width()) + " pixels wide; the split is a column from 0 to " +
                       std::to_string(scene.Width()));
    }
    compared = std::make_unique<SceneColouriser>();
    SetUpColouriser(settings, ComparedPalette(*settings.compare), *compared);
    scene.SplitAt(*settings.split, *compared);
  }
  WriteScene(scene, request.driver, request.out);
}

}  // namespace

extern const CliCommand kColouriseCommand{"colourise", "colourise (--ir/--vis|--demo) --out F",
                                          "colour a satellite scene with the table",
                                          [] { return kColouriseHelp.c_str(); }, &RunColourise};

}  // namespace palettor::cli
