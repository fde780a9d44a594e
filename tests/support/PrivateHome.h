#pragma once
// A home of the test process's own: HOME, the XDG folders and TMPDIR point into a fresh folder
// that goes again, with everything in it, when the process ends. No test reads or changes the
// real home (Qt's file dialogs, for one, keep their history under XDG_CONFIG_HOME), and what a
// test forgets in its temporary folders goes with the rest.
#include <sys/types.h>

#include <filesystem>

namespace palettor::test {

class PrivateHome {
 public:
  PrivateHome();   // before anything reads the environment
  ~PrivateHome();  // in the process that made it only, not in a child forked from it
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
  pid_t owner_;
};

}  // namespace palettor::test
