#pragma once
// A store file that is not a store, or is damaged, is kept aside under a new name so that
// nothing in it is lost and a fresh store can take its place.
#include <string>

namespace palettor {

struct SetAsideOutcome {
  bool pathIsFree;     // a fresh store may now be created at the path
  std::string notice;  // the one line to tell the user, "" when another process did the work
};

// Moves `path` (and any journal of it) to "<path>.damaged-<UTC time>" unless, by the time the
// store's folder is locked, the file there is no longer damaged (another process already moved
// it and started afresh). `reason` says what is wrong with it.
SetAsideOutcome SetAsideDamagedStore(const std::string& path, const std::string& reason);

}  // namespace palettor
