#pragma once
// How everything in palette/ that can fail says so, in one way: it returns a result holding what
// it made in a std::optional, and beside it the PaletteFileError that says why it holds nothing.
#include <QString>

namespace palettor {

struct PaletteFileError {
  enum class Kind {
    Invalid,     // the contents (or a name) are not what this program takes
    Unreadable,  // a file or folder could not be opened or read (or written)
  };
  Kind kind = Kind::Invalid;
  QString source;  // the file as the user named it; "" when there is none
  QString member;  // "anchors.M30.hue", "tailPercent", or "" for the document as a whole
  QString reason;

  // "SOURCE: MEMBER: REASON", leaving out the parts that are empty.
  QString Message() const;
};

}  // namespace palettor
