#pragma once
// Palette and file names as the window shows them. Names come from files anyone may write: their
// control characters and bidirectional controls are written out as palettor-cli writes them
// (\n, \x1b, \u202e ...), so a name can neither break a line nor reorder the text around it, and
// in a menu a name longer than kMenuNameCharacters is cut short with "…", so that one long name
// does not stretch the menu across the screen.
#include <QString>

namespace palettor {

inline constexpr int kMenuNameCharacters = 60;

QString ShownName(const QString& name);
// ShownName, at most kMenuNameCharacters characters (code points) long.
QString MenuName(const QString& name);

}  // namespace palettor
