// palettor: the main window, then the About box, then the message loop until the window closes.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PalettorForm.h"
#ifdef PALETTOR_HAVE_ABOUTBOX
#include "AboutLUT.h"
#endif

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// Qt aborts when its platform plugin finds no display; say why in words instead.
bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) {
    if (std::strncmp(platform, "xcb", 3) == 0) return Set("DISPLAY");
    if (std::strncmp(platform, "wayland", 7) == 0) return Set("WAYLAND_DISPLAY");
    return true;  // offscreen, vnc, eglfs ... bring their own
  }
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fputs(
        "palettor: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
        "Start it from a desktop session, or under a virtual display: xvfb-run -a palettor\n"
        "The table alone can be written without a window: palettor-cli render --factory --out FILE\n",
        stderr);
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Palettor"));
  QIcon icon;
  for (const char* size : {"32", "48", "256"})
    icon.addFile(QStringLiteral(":/palettor-%1.png").arg(QString::fromLatin1(size)));
  QApplication::setWindowIcon(icon);

  palettor::TFormPalettor FormPalettor;  // its creation handler runs here
#ifdef PALETTOR_HAVE_ABOUTBOX
  palettor::TAboutBoxKel1 AboutBoxKel1;  // owned by the program, not by the window
  FormPalettor.SetAboutBox(&AboutBoxKel1);
#endif
  FormPalettor.show();
  return QApplication::exec();  // leaving main destroys the window, which stores the settings
}
