#include "SaveTarget.h"

#include <sys/stat.h>

#include "FileNames.h"
#include "NativeFileName.h"

namespace palettor {

QString HostFolderOf(const std::string& registeredPath) {
  if (registeredPath.empty() || registeredPath.front() != '/') return {};
  return DecodeFileName(ExtractFilePath(registeredPath));
}

bool EntryExists(const QString& path) {
  struct stat info {};
  return ::lstat(EncodeFileName(path).constData(), &info) == 0;
}

}  // namespace palettor
