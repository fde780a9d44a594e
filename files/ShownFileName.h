#pragma once
// A file name as a message shows it: the bytes that are not UTF-8 and the control characters
// written out (caf\xe9.bmp, a\nb), as palettor-cli writes them, so that every name can be read
// and told apart, and none can break the message's lines.
#include <QString>

namespace palettor {

// `name` as DecodeFileName gives it (NativeFileName.h), or any text that quotes one.
QString ShownFileName(const QString& name);

}  // namespace palettor
