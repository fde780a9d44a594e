#pragma once
// Runs a program for a test and collects what it printed. Built on Spawn (ChildProcess.h), the
// one way the tests start a child.
#include <sys/types.h>

#include <string>
#include <vector>

namespace palettor::test {

struct ProcessResult {
  int exitStatus = -1;  // the exit status, or 128 + the signal that ended the process
  std::string out;
  std::string err;
};

struct ProcessOptions {
  std::vector<std::string> env;  // "NAME=value" entries added to (or replacing) the current environment
  bool unprivileged = false;     // when the tests run as root, the program runs as user 65534
};

// A program started and not yet waited for; its output goes to files, so a chatty program
// never blocks on a full pipe. Standard input is /dev/null.
class RunningProcess {
 public:
  RunningProcess(const std::string& program, const std::vector<std::string>& args, const ProcessOptions& options = {});
  ~RunningProcess();  // kills and reaps a process that was not finished
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // What it has written to standard output so far.
  std::string OutputSoFar() const;
  // Waits for the end of the process.
  ProcessResult Finish();
  // Sends `signal` (a server's cue to clean up and leave) and waits for the end.
  ProcessResult End(int signal);

 private:
  pid_t pid_ = -1;
  std::string outPath_;
  std::string errPath_;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

}  // namespace palettor::test
