#pragma once
// File names as the system holds them: bytes, which need not be UTF-8 (a name written on
// another system, or by a program in another locale). Qt decodes such bytes to U+FFFD, and the
// file can no longer be named; these functions carry every name through a QString and back
// without loss. Well-formed UTF-8 becomes its characters, and each byte that is not part of a
// well-formed sequence becomes a lone surrogate U+DC80 ... U+DCFF, which no UTF-8 text decodes
// to, so EncodeFileName gives back exactly the bytes DecodeFileName was given.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace palettor {

QString DecodeFileName(QByteArrayView bytes);

// The bytes to hand the system. Any other lone surrogate, which no file name can hold, is
// written as U+FFFD.
QByteArray EncodeFileName(const QString& name);

}  // namespace palettor
