#pragma once
// palettor's command line. The window takes no files and no options of its own but --help and
// --version, which are answered without a window and without a display; the options Qt reads
// itself (-style, -platform, -display ...) are let through for QApplication. Anything else is
// a usage error (exit status 2), reported before any display is needed.
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace palettor {

struct WindowCommandLine {
  std::optional<int> exitStatus;  // set when the program ends here, without a window
  QString platform;               // -platform NAME, when given
  QString display;                // -display NAME, when given
};

// Reads `arguments` (the program's name first). Help and the version go to `out`, a usage error
// to `err`; a failed write to `out` is reported on `err` and ends the program with status 1.
WindowCommandLine ReadWindowCommandLine(const QStringList& arguments, std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace palettor
