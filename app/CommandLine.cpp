#include "CommandLine.h"

#include <QCommandLineParser>
#include <cerrno>
#include <cstring>

#include "ControlCharacters.h"
#include "ProgramVersion.h"

namespace palettor {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kHelp =
    "Usage: palettor [OPTION]...\n"
    "Opens the Palettor window, which makes the colour look-up table of the Skyreader\n"
    "weather-satellite image viewer and saves it as TempToColourUser.bmp.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options (-style, -platform, -display ...) are passed on to Qt. The window takes\n"
    "no files; palettor-cli writes the table and changes the settings without a window.\n"
    "\n"
    "Exit status: 0 the window was closed, 1 no display to open it on, 2 invalid arguments.\n";

// Options QApplication reads from the command line itself, each also written with "--" or,
// for those with a value, "=value". They are accepted here and left in place for it.
const char* const kQtValueOptions[] = {"style",         "stylesheet", "platform",        "platformpluginpath",
                                       "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon",
                                       "qwindowtitle",  "session",    "display",         "geometry",
                                       "qmljsdebugger", "dialogs",    "fontengine"};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount"};

bool Write(const char* text, std::FILE* out, std::FILE* err) {
  if (std::fputs(text, out) >= 0 && std::fflush(out) == 0 && !std::ferror(out)) return true;
  const int reason = errno;
  std::fprintf(err, "palettor: cannot write to standard output: %s\n",
               reason != 0 ? std::strerror(reason) : "write error");
  return false;
}

}  // namespace

WindowCommandLine ReadWindowCommandLine(const QStringList& arguments, std::FILE* out, std::FILE* err) {
  QCommandLineParser parser;
  // Qt's options are written with one dash (-style fusion); -h and -v still work.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
  parser.addOption(help);
  parser.addOption(version);
  for (const char* name : kQtValueOptions) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : kQtFlagOptions) {
    QCommandLineOption option(QString::fromLatin1(name), QString());
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  WindowCommandLine result;
  const bool parsed = parser.parse(arguments);
  // --help and --version answer even beside something wrong, as GNU programs do.
  if (parser.isSet(help)) {
    result.exitStatus = Write(kHelp, out, err) ? kExitOk : kExitFailure;
    return result;
  }
  if (parser.isSet(version)) {
    const QByteArray line = QByteArrayLiteral("palettor ") + kProgramVersion + '\n';
    result.exitStatus = Write(line.constData(), out, err) ? kExitOk : kExitFailure;
    return result;
  }
  QString problem;
  if (!parsed) {
    problem = parser.errorText();
  } else if (!parser.positionalArguments().isEmpty()) {
    problem =
        QStringLiteral("unexpected argument '%1': the window opens no files").arg(parser.positionalArguments()[0]);
  }
  if (!problem.isEmpty()) {
    std::fprintf(err, "palettor: %s\nTry 'palettor --help' for more information.\n",
                 EscapeControlCharacters(problem.toStdString()).c_str());
    result.exitStatus = kExitUsage;
    return result;
  }
  result.platform = parser.value(QStringLiteral("platform"));
  result.display = parser.value(QStringLiteral("display"));
  return result;
}

}  // namespace palettor
