#pragma once
// Where Save puts the table, and when it must not.
#include <QString>
#include <string>

namespace palettor {

// The folder of the viewer's registered executable, with its trailing separator; empty (the
// current folder) when nothing is registered or when the registered path is no absolute path
// on this system: a relative path written by another program, or a Windows path such as
// C:\Sky\Skyreader.exe, would otherwise name a folder relative to wherever the window started,
// or a file literally called "C:\Sky\TempToColourUser.bmp".
QString HostFolderOf(const std::string& registeredPath);

// True when the folder holds an entry of that name of any kind: a symlink counts even when it
// leads nowhere, since writing through it would create a file the user did not ask for.
bool EntryExists(const QString& path);

}  // namespace palettor
