#pragma once
// palettor-cli works on the window's settings and reads the window's version resource.

namespace palettor::cli {

// The window's executable is named "palettor": its settings key and register entry follow that
// name, and version-info reads it by default.
constexpr const char* kWindowExecutableName = "palettor";

// From here on the settings layer acts for the window's executable beside this one, whatever
// this program's own file name is.
void ActAsWindowExecutable();

}  // namespace palettor::cli
