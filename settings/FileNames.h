#pragma once
// File-name splitting as the settings key and the program-location register need it. Paths may
// come from another platform (an entry another program registered), so '/', '\\' and ':' all
// count as separators.
#include <string>
#include <string_view>

namespace palettor {

// The part after the last separator; the whole path when there is none.
std::string ExtractFileName(std::string_view path);

// Everything up to and including the last separator, or "" when there is none.
std::string ExtractFilePath(std::string_view path);

// Replaces the last extension of the file-name part (from its last '.') with `ext`, or appends
// `ext` when the file name has no '.'. An empty `ext` strips the extension.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

}  // namespace palettor
