#pragma once
// Which process wrote something that outlives it (the window's recovery record), and whether
// that process still runs. A process number alone is reused; with the moment the process
// started and the boot it belongs to, it names one process for good.
#include <sys/types.h>
#include <string>

namespace palettor {

// "<boot id> <process number> <start time in clock ticks after boot>" of the process `pid`, or ""
// when there is no such process.
std::string ProcessIdentity(pid_t pid);
std::string ThisProcessIdentity();

// Whether the process an identity names still runs; one that has ended but was not yet waited
// for by its parent (a zombie) does not.
bool ProcessRuns(const std::string& identity);

}  // namespace palettor
