#pragma once
// The file-system steps around the store file: folders, identity, syncing, time stamps.
#include <sys/types.h>

#include <optional>
#include <string>

namespace palettor {

std::string ErrnoText(int error);

// Which file a path names now (device and inode), or std::nullopt when nothing is there.
struct FileIdentity {
  dev_t device;
  ino_t inode;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);

bool FileExists(const std::string& path);

// Creates the folder and its missing parents, private to the user as configuration folders
// are. Throws ERegistryException naming the folder and the reason, or the file that stands
// where a folder should.
void MakeFolders(const std::string& folder);

// Throw ERegistryException with the reason when a file cannot be created in `folder`, or the
// file at `path` cannot be written.
void RequireWritableFolder(const std::string& folder);
void RequireWritableFile(const std::string& path);

// Makes a file created or renamed in the folder survive a crash.
void SyncFolder(const std::string& folder);

// "20240131T235959Z"
std::string UtcStamp();

}  // namespace palettor
