#include "PaletteFileError.h"

namespace palettor {

QString PaletteFileError::Message() const {
  QString message;
  for (const QString* part : {&source, &member}) {
    if (!part->isEmpty()) message += *part + QStringLiteral(": ");
  }
  return message + reason;
}

}  // namespace palettor
