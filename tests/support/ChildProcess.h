#pragma once
// Runs a test body in a child process: for real concurrency, for a process killed at an
// arbitrary point, and for file permissions that hold (a root test run gives up its rights).
// Programs are started through RunProcess.h, which builds on Spawn.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <grp.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace palettor::test {

constexpr uid_t kUnprivilegedId = 65534;

// Gives the tree to the unprivileged user when the tests run as root, so that a child that
// becomes that user meets the permission bits as any ordinary user would.
inline void HandOverToUnprivileged(const std::filesystem::path& root) {
  if (::geteuid() != 0) return;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    (void)::lchown(entry.path().c_str(), kUnprivilegedId, kUnprivilegedId);
  }
  (void)::chown(root.c_str(), kUnprivilegedId, kUnprivilegedId);
}

// In a child: becomes the unprivileged user when running as root; ends the child otherwise.
inline void DropPrivileges() {
  if (::geteuid() != 0) return;
  if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0) ::_exit(120);
}

// Starts `body` in a child; it ends with the body's result as exit status.
inline pid_t Spawn(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    int status = 121;
    try {
      status = body();
    } catch (...) {
      status = 122;
    }
    std::fflush(nullptr);
    ::_exit(status);
  }
  return pid;
}

// Exit status of the child, or 128 + signal number.
inline int Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return 255;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 255;
}

inline int RunInChild(const std::function<int()>& body) { return Wait(Spawn(body)); }

}  // namespace palettor::test
