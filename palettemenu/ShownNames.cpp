#include "ShownNames.h"

#include "ControlCharacters.h"

namespace palettor {

QString ShownName(const QString& name) { return QString::fromStdString(EscapeControlCharacters(name.toStdString())); }

QString MenuName(const QString& name) {
  const QString shown = ShownName(name);
  // Counted in code points, so that a character outside the BMP is never cut in half.
  qsizetype end = 0;
  for (int kept = 0; end < shown.size(); ++kept) {
    if (kept == kMenuNameCharacters - 1) {
      const qsizetype rest = shown.size() - end;
      const bool oneLeft = rest == 1 || (rest == 2 && shown[end].isHighSurrogate());
      return oneLeft ? shown : shown.left(end) + QChar(0x2026);
    }
    end += shown[end].isHighSurrogate() && end + 1 < shown.size() ? 2 : 1;
  }
  return shown;
}

}  // namespace palettor
