#pragma once
// What the window reads by name must be a regular file: opening a FIFO waits for a writer, and
// the window with it, for good; opening a device may do more than read it. Each is refused with
// a reason before it is opened.
#include <sys/types.h>

#include <QString>

namespace palettor {

// "" for a regular file; else "is a folder", "is a FIFO, not a regular file", "is a device, not
// a regular file" ...
QString NotRegularFileReason(mode_t mode);

// The same for the file `path` names (DecodeFileName's form), symlinks followed; "" too when it
// cannot be looked at, which its reader then reports.
QString NotRegularFileReason(const QString& path);

}  // namespace palettor
