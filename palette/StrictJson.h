#pragma once
// A strict JSON reader for files that people edit and share. Beyond the grammar it refuses what
// readers disagree on, so a file means the same thing here as in any other tool:
// - a name given twice in one object (readers differ in which one they keep);
// - text that is not UTF-8, lone surrogates, control characters inside strings;
// - anything after the value, and nesting deeper than kMaxJsonDepth.
// One UTF-8 byte-order mark at the start is skipped, as many editors write one. A number too
// large or too small for a double is kept as NaN, so the caller can say which member it was.
#include <QByteArrayView>
#include <QJsonValue>
#include <QString>
#include <optional>

#include "PaletteFileError.h"

namespace palettor {

inline constexpr int kMaxJsonDepth = 64;

struct StrictJsonResult {
  std::optional<QJsonValue> value;
  // Without a value: why, with the dotted path of the member it is about ("anchors.M30.hue")
  // where there is one.
  PaletteFileError error;
};

StrictJsonResult ParseStrictJson(QByteArrayView text);

}  // namespace palettor
