#pragma once
// Text from the settings store or from a file is untrusted: a name holding a newline could
// forge a second line of a listing, and an escape sequence could take over the terminal.
#include <string>
#include <string_view>

namespace palettor {

// True when `text` holds a C0 control character, DEL, or a C1 control character (U+0080 to
// U+009F, as UTF-8).
bool HasControlCharacters(std::string_view text);

// `text` with every control character written out: \n, \r and \t as such, other C0 controls
// and DEL as \xNN, C1 controls as \u00NN, and bytes that are not UTF-8 as \xNN. The
// bidirectional embeddings, overrides and isolates (U+202A to U+202E, U+2066 to U+2069) are
// written out too, as \u202a ...: they reorder what follows them, so a name could show another
// name or hide a file's extension. Everything else, other UTF-8 text included, is kept as it is.
std::string EscapeControlCharacters(std::string_view text);

}  // namespace palettor
