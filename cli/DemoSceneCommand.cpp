// palettor-cli demo-scene: the built-in demo scene's two channels as 8-bit grey PNG files, to
// look at, to edit, or to give to colourise --ir/--vis.
#include <filesystem>
#include <string>
#include <system_error>

#include <QFileInfo>
#include <QString>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "DemoScene.h"
#include "NativeFileName.h"
#include "SceneImage.h"
#include "SceneImageWriter.h"
#include "WriteFailure.h"

namespace palettor::cli {

namespace {

struct DemoSceneRequest {
  std::string irOut;
  std::string visOut;
};

bool IsPngTarget(const std::string& target) {
  return target == "-" || QString::fromStdString(target).endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

bool SameFile(const std::string& a, const std::string& b) {
  if (QFileInfo(DecodeFileName(a)).absoluteFilePath() == QFileInfo(DecodeFileName(b)).absoluteFilePath()) return true;
  std::error_code error;
  const std::filesystem::path first = std::filesystem::canonical(a, error);
  if (error) return false;
  const std::filesystem::path second = std::filesystem::canonical(b, error);
  return !error && first == second;
}

DemoSceneRequest ParseDemoScene(const Arguments& args) {
  DemoSceneRequest request;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    const std::string& name = arg.Name();
    if (name != "--ir-out" && name != "--vis-out")
      throw UsageError("demo-scene: unknown argument '" + arg.Raw() + "' (see palettor-cli demo-scene --help)");
    const std::string missing = name + " needs a file name ending in .png, or - for standard output";
    std::string value = arg.TakeValue(missing);
    if (value.empty()) throw UsageError(missing);
    if (!IsPngTarget(value))
      throw UsageError(name + " '" + value + "': the channels are written as PNG, to a name ending in .png");
    (name == "--ir-out" ? request.irOut : request.visOut) = std::move(value);
  }
  if (request.irOut.empty() || request.visOut.empty())
    throw UsageError("demo-scene: both --ir-out FILE and --vis-out FILE are required");
  if (request.irOut == "-" && request.visOut == "-")
    throw UsageError("demo-scene: only one of the two channels can go to standard output");
  if (request.irOut != "-" && request.visOut != "-" && SameFile(request.irOut, request.visOut))
    throw UsageError("demo-scene: --ir-out and --vis-out name the same file");
  return request;
}

constexpr const char* kDemoSceneHelp =
    "Usage: palettor-cli demo-scene --ir-out FILE --vis-out FILE\n"
    "\n"
    "Writes the built-in demo scene, which colourise --demo and the window's preview show, as\n"
    "two 8-bit grey PNG files of 1024 x 768 pixels: the infrared channel to --ir-out, the\n"
    "visible channel to --vis-out. Both names end in .png and differ; one of them (not both)\n"
    "may be - for standard output. colourise --ir and --vis on these files gives the same\n"
    "image as colourise --demo, byte for byte.\n"
    "\n"
    "The scene is made by the program, the same on every run: warm dark sea, warmer brighter\n"
    "land behind a coastline, low warm bright cloud, high cold bright cloud tops, thin cold\n"
    "dim cirrus and a cold night-side storm. With the default scale (level 0 is +40, level\n"
    "255 is -60 degrees) its temperatures reach every column of the table and its brightness\n"
    "most rows, so that every anchor and the blue tail colour some part of it.\n"
    "\n"
    "Both files are encoded before either is written; each is replaced only once the new one\n"
    "is complete.\n"
    "\n"
    "Exit status: 0 written, 1 a file could not be written, 2 invalid arguments.\n";

void RunDemoScene(const Arguments& args) {
  const DemoSceneRequest request = ParseDemoScene(args);
  const DemoScene scene = MakeDemoScene();
  const SceneImageOutput channels[] = {{GreyToImage(scene.ir), DecodeFileName(request.irOut)},
                                       {GreyToImage(scene.vis), DecodeFileName(request.visOut)}};
  SceneImageWriter writer;
  if (writer.Write(channels)) return;
  if (writer.FailedTarget().isEmpty()) throw Failure("could not encode the demo scene as PNG");
  throw CannotWrite(EncodeFileName(writer.FailedTarget()).toStdString(), "", writer.ErrorString());
}

}  // namespace

extern const CliCommand kDemoSceneCommand{"demo-scene", "demo-scene --ir-out F --vis-out F",
                                          "write the demo scene's infrared and visible channels",
                                          [] { return kDemoSceneHelp; }, &RunDemoScene};

}  // namespace palettor::cli
