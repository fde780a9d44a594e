#include "SaveTarget.h"

#include <sys/stat.h>

#include <QFile>

#include "FileNames.h"

namespace palettor {

QString HostFolderOf(const std::string& registeredPath) {
  if (registeredPath.empty() || registeredPath.front() != '/') return {};
  return QString::fromStdString(ExtractFilePath(registeredPath));
}

bool EntryExists(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

}  // namespace palettor
