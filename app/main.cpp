// palettor: the main window, then the About box, then the message loop until the window closes.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__linux__)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "AboutLUT.h"
#include "CommandLine.h"
#include "CurrentUserRegistry.h"
#include "GuardedApplication.h"
#include "PaletteMenus.h"
#include "PalettorForm.h"
#include "ProgramVersion.h"
#include "RunningInstance.h"
#include "ShutdownRequests.h"
#include "SqliteRegistryStore.h"
#include "ViewMenu.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

#if defined(__linux__)
bool ConnectsTo(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() + 1 >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path + (abstract ? 1 : 0), path.data(), path.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + (abstract ? 1 : 0));
  const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
  close(fd);
  return connected;
}
#endif

// A local X display (":N" or "unix:N") whose server is not running makes Qt abort; any other
// display is left for Qt to try.
bool XDisplayReachable(std::string display) {
#if defined(__linux__)
  if (display.rfind("unix:", 0) == 0) display.erase(0, 4);
  if (display.empty() || display[0] != ':') return true;
  const std::string number =
      display.substr(1, display.find('.') == std::string::npos ? std::string::npos : display.find('.') - 1);
  const std::string socketPath = "/tmp/.X11-unix/X" + number;
  return ConnectsTo(socketPath, false) || ConnectsTo(socketPath, true);
#else
  (void)display;
  return true;
#endif
}

// Qt aborts when its platform plugin finds no display; say why in words instead. -platform and
// -display on the command line win over the environment, as they do for Qt.
bool DisplayAvailable(const palettor::WindowCommandLine& commandLine) {
  const char* platformVariable = std::getenv("QT_QPA_PLATFORM");
  const std::string platform = !commandLine.platform.isEmpty() ? commandLine.platform.toStdString()
                               : platformVariable              ? platformVariable
                                                               : "";
  const char* displayVariable = std::getenv("DISPLAY");
  const std::string display = !commandLine.display.isEmpty() ? commandLine.display.toStdString()
                              : displayVariable              ? displayVariable
                                                             : "";
  const bool x11 = !display.empty() && XDisplayReachable(display);
  if (!platform.empty()) {
    if (platform.rfind("xcb", 0) == 0) return x11;
    if (platform.rfind("wayland", 0) == 0) return Set("WAYLAND_DISPLAY");
    return true;  // offscreen, vnc, eglfs ... bring their own
  }
  return Set("WAYLAND_DISPLAY") || x11;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const palettor::WindowCommandLine commandLine = palettor::ReadWindowCommandLine(arguments);
  if (commandLine.exitStatus) return *commandLine.exitStatus;
  if (!DisplayAvailable(commandLine)) {
    std::fputs(
        "palettor: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset, or the X server\n"
        "named by DISPLAY is not running).\n"
        "Start it from a desktop session, or under a virtual display: xvfb-run -a palettor\n"
        "The table alone can be written without a window: palettor-cli render --factory --out FILE\n",
        stderr);
    return 1;
  }
  palettor::GuardedApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Palettor"));
  QApplication::setApplicationVersion(QString::fromLatin1(palettor::kProgramVersion));
  // Docks and task switchers group the window with its launcher, palettor.desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral("palettor"));
  // The controls sit at fixed pixel positions; one style looks right at those sizes on every
  // desktop, where the desktop's own styles may want larger controls.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QIcon icon;
  for (const char* size : {"32", "48", "256"})
    icon.addFile(QStringLiteral(":/palettor-%1.png").arg(QString::fromLatin1(size)));
  QApplication::setWindowIcon(icon);

  // A window already running for this user and executable is brought forward instead.
  palettor::RunningInstance instance(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  if (instance.AskRunningWindowForward()) return 0;

  // The settings store, opened once for the whole run; the window loads from it when created
  // and stores into it when destroyed, the preview likewise.
  palettor::SqliteRegistryStore registry(palettor::RegistryStorePath());
  const palettor::CurrentUserRegistry currentUser(registry);
  palettor::TFormPalettor FormPalettor(currentUser);  // its creation handler runs here
  // Undo and redo, palette files, palettes by name and the legend: the Edit menu and File items.
  palettor::InstallPaletteMenus(FormPalettor);
  // The scene preview: the View menu.
  palettor::InstallViewMenu(FormPalettor, currentUser);
  palettor::TAboutBoxKel1 AboutBoxKel1;  // owned by the program, not by the window
  FormPalettor.SetAboutBox(&AboutBoxKel1);
  palettor::ShutdownRequests shutdown(FormPalettor);  // signals and the session's end close the window
  FormPalettor.show();
  instance.Listen([&FormPalettor] {
    FormPalettor.setWindowState(FormPalettor.windowState() & ~Qt::WindowMinimized);
    FormPalettor.show();
    FormPalettor.raise();
    FormPalettor.activateWindow();
  });
  // A window that ended without storing its palette left it behind; it is offered back first.
  QTimer::singleShot(0, &FormPalettor, [&FormPalettor] { FormPalettor.OfferLeftBehindPalette(); });
  return QApplication::exec();  // closing the window stores the settings
}
