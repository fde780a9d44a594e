// palettor-cli colourise: a satellite scene (an infrared and a visible channel, or the built-in
// demo scene) coloured with the table, as the viewer colours it.
#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "DecimalNumber.h"
#include "DemoScene.h"
#include "GreyImageFile.h"
#include "LutTable.h"
#include "NativeFileName.h"
#include "SceneColouriser.h"
#include "SceneImage.h"
#include "SceneImageWriter.h"
#include "TableOptions.h"
#include "VisionSimulation.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

struct ColouriseRequest {
  std::optional<std::string> ir;
  std::optional<std::string> vis;
  bool demo = false;
  std::string out;
  SceneImageFormat format = SceneImageFormat::Png;
  IrScale scale;
  VisionSimulation simulation = VisionSimulation::Normal;
  TableOptions table;
};

// "BLACK,WHITE": two decimal temperatures.
IrScale ParseScale(const std::string& text) {
  const auto comma = text.find(',');
  const std::string expected = "--ir-scale '" + text + "': expected BLACK,WHITE, two temperatures in degrees Celsius";
  if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) throw UsageError(expected);
  const auto black = ParseDecimal(std::string_view(text).substr(0, comma));
  const auto white = ParseDecimal(std::string_view(text).substr(comma + 1));
  if (!black || !white) throw UsageError(expected + " written as decimal numbers (40,-60 or -5.5,12.25)");
  const IrScale scale{*black, *white};
  if (*black == *white) throw UsageError("--ir-scale '" + text + "': BLACK and WHITE must differ");
  if (!IsUsableScale(scale)) throw UsageError("--ir-scale '" + text + "': the two temperatures are too far apart");
  return scale;
}

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
    if (request.table.Take(arg)) continue;
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
    } else if (name == "--ir-scale") {
      request.scale = ParseScale(arg.TakeValue("--ir-scale needs BLACK,WHITE, two temperatures in degrees Celsius"));
    } else if (name == "--simulate") {
      const std::string text =
          arg.TakeValue("--simulate needs normal, protanopia, deuteranopia, tritanopia or greyscale");
      const auto simulation = VisionSimulationNamed(text);
      if (!simulation) {
        throw UsageError("--simulate '" + text +
                         "': expected normal, protanopia, deuteranopia, tritanopia or greyscale");
      }
      request.simulation = *simulation;
    } else {
      throw UsageError("colourise: unknown argument '" + arg.Raw() + "' (see palettor-cli colourise --help)");
    }
  }
  if (request.demo && (request.ir || request.vis))
    throw UsageError("colourise: --demo colours the built-in scene; it cannot go with --ir or --vis");
  if (!request.demo && !(request.ir && request.vis)) {
    throw UsageError(request.ir || request.vis ? "colourise: --ir and --vis go together: both channels are needed"
                                               : "colourise: --ir FILE --vis FILE (or --demo) is required");
  }
  if (!haveOut) throw UsageError("colourise: --out FILE (or --out - for standard output) is required");
  const auto format = SceneImageFormatOf(DecodeFileName(request.out));
  if (!format) {
    throw UsageError("--out '" + request.out +
                     "': unknown image format; the name must end in .png, .bmp, .tif or .tiff (or be - for PNG on "
                     "standard output)");
  }
  request.format = *format;
  return request;
}

GreyImage LoadChannel(const std::string& path, const char* channel) {
  GreyImageLoad load = LoadGreyImage(DecodeFileName(path));
  const std::string message = std::string(channel) + " image " + EncodeFileName(load.error).toStdString();
  switch (load.problem) {
    case GreyLoadProblem::None: break;
    case GreyLoadProblem::Unreadable: throw Failure("cannot read the " + message);
    case GreyLoadProblem::NotGrey: throw UsageError("the " + message);
  }
  return std::move(load.image);
}

std::string SizeOf(const GreyImage& image) {
  return std::to_string(image.Width()) + " x " + std::to_string(image.Height());
}

struct Scene {
  GreyImage ir, vis;
};

Scene LoadScene(const ColouriseRequest& request) {
  if (request.demo) {
    DemoScene demo = MakeDemoScene();
    return {std::move(demo.ir), std::move(demo.vis)};
  }
  Scene scene{LoadChannel(*request.ir, "infrared"), LoadChannel(*request.vis, "visible")};
  if (!SameSize(scene.ir, scene.vis)) {
    throw UsageError("the infrared image " + *request.ir + " is " + SizeOf(scene.ir) +
                     " pixels and the visible image " + *request.vis + " " + SizeOf(scene.vis) +
                     ": both channels must be the same size");
  }
  return scene;
}

const std::string kColouriseHelp =
    std::string(
        "Usage: palettor-cli colourise (--ir FILE --vis FILE | --demo) --out FILE|-\n"
        "                              [--ir-scale BLACK,WHITE] [--simulate MODE] [table options]\n"
        "\n"
        "Colours a satellite scene with the look-up table as the viewer does: every pixel takes\n"
        "the table's colour in the column of its infrared temperature and the row of its visible\n"
        "brightness.\n"
        "\n"
        "  --ir FILE            the infrared channel and\n"
        "  --vis FILE           the visible channel, the same size: grey images in any format Qt\n"
        "                       reads (PNG, TIFF, BMP, PGM ...), each 8-bit (levels 0 to 255) or\n"
        "                       16-bit (0 to 65535). A pixel whose red, green and blue differ is\n"
        "                       refused.\n"
        "  --demo               the built-in demo scene (1024 x 768) instead; palettor-cli\n"
        "                       demo-scene writes its two channels\n"
        "  --out FILE|-         the coloured scene, 24-bit RGB, the size of the channels, as PNG,\n"
        "                       BMP or TIFF by FILE's extension (.png .bmp .tif .tiff); - writes\n"
        "                       PNG to standard output. A file is replaced only once the new one\n"
        "                       is complete; a device or FIFO is written into, never replaced.\n"
        "  --ir-scale BLACK,WHITE\n"
        "                       the temperatures, in degrees Celsius, of infrared level 0 and of\n"
        "                       the top level (255 or 65535): decimal numbers, negative or with a\n"
        "                       fraction if need be, that differ. Default 40,-60 (cold clouds\n"
        "                       white).\n"
        "  --simulate MODE      shows the result as a person with a colour-vision deficiency, or\n"
        "                       a greyscale print, sees it: normal (the default), protanopia,\n"
        "                       deuteranopia, tritanopia or greyscale\n"
        "\n"
        "A level L of the infrared image stands for BLACK + (WHITE - BLACK) x L / top level and\n"
        "takes the column of that temperature rounded to a whole degree (a half rounds up),\n"
        "-60 to +39 degrees. The row is the visible level (8-bit) or its top 8 bits (16-bit),\n"
        "0 the darkest, the table's bottom row.\n"
        "\n"
        "The table is the one palettor-cli render writes with the same options: the window's\n"
        "stored settings (the store is only read), or the factory palette, with these applied:\n") +
    TableOptionsHelp() +
    "\n"
    "Exit status: 0 written; 1 an image could not be read (missing, unreadable or not an\n"
    "image), the output could not be written, or the settings store could not be read; 2\n"
    "invalid arguments: an unknown option or format, a bad scale, an image that is not grey,\n"
    "channels of different sizes. Nothing is written when the status is not 0.\n";

void RunColourise(const Arguments& args) {
  const ColouriseRequest request = ParseColourise(args);
  const Scene scene = LoadScene(request);
  auto table = std::make_unique<LutPixels>();
  GenerateTable(TableInputsOf(request.table.Resolve()), *table);
  if (request.simulation != VisionSimulation::Normal) {
    auto simulated = std::make_unique<LutPixels>();
    SimulateVision(*table, request.simulation, *simulated);
    table = std::move(simulated);
  }
  const auto colouriser = std::make_unique<SceneColouriser>();
  colouriser->SetTable(*table);
  colouriser->SetScale(request.scale);
  const QImage coloured = ColouriseToImage(*colouriser, scene.ir, scene.vis);
  if (coloured.isNull()) throw Failure("not enough memory for a " + SizeOf(scene.ir) + " coloured scene");
  SceneImageWriter writer;
  if (!writer.Write(coloured, request.format, DecodeFileName(request.out)))
    throw CannotWrite(request.out, "the coloured scene", writer.ErrorString());
}

}  // namespace

extern const CliCommand kColouriseCommand{"colourise", "colourise (--ir/--vis|--demo) --out F",
                                          "colour a satellite scene with the table",
                                          [] { return kColouriseHelp.c_str(); }, &RunColourise};

}  // namespace palettor::cli
