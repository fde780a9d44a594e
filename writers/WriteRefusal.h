#pragma once
// Why a file takes no more bytes, asked of the file itself after a library's write failed with
// a reason of its own (GDAL's drivers word a full disk as a codec's complaint).
#include <QString>
#include <optional>

namespace palettor {

// "File too large" when the file has reached the process's size limit, "No space left on
// device" when its file system cannot give it another block; nothing when it could grow.
std::optional<QString> WriteRefusal(int fd);

}  // namespace palettor
