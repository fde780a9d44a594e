#include "ShownFileName.h"

#include "ControlCharacters.h"
#include "NativeFileName.h"

namespace palettor {

QString ShownFileName(const QString& name) {
  return QString::fromStdString(EscapeControlCharacters(EncodeFileName(name).toStdString()));
}

}  // namespace palettor
