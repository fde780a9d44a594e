#include "RunProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"

extern char** environ;

namespace palettor::test {

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath() {
  std::string name = (std::filesystem::temp_directory_path() / "palettor-run-XXXXXX").string();
  const int fd = ::mkstemp(name.data());
  if (fd >= 0) ::close(fd);
  return name;
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& added : extra) replaced = replaced || added.substr(0, added.find('=')) == name;
    if (!replaced) environment.push_back(entry);
  }
  environment.insert(environment.end(), extra.begin(), extra.end());
  return environment;
}

}  // namespace

RunningProcess::RunningProcess(const std::string& program, const std::vector<std::string>& args,
                               const ProcessOptions& options)
    : outPath_(TempPath()), errPath_(TempPath()) {
  // Everything the child needs is made here: between fork and exec it only makes system calls.
  std::vector<std::string> environment = Environment(options.env);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  const bool unprivileged = options.unprivileged;
  const char* out = outPath_.c_str();
  const char* err = errPath_.c_str();

  pid_ = Spawn([&]() -> int {
    const int in = ::open("/dev/null", O_RDONLY);
    const int outFd = ::open(out, O_WRONLY | O_TRUNC);
    const int errFd = ::open(err, O_WRONLY | O_TRUNC);
    if (in < 0 || outFd < 0 || errFd < 0 || ::dup2(in, 0) < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) {
      return 125;
    }
    for (const int fd : {in, outFd, errFd}) {
      if (fd > 2) ::close(fd);
    }
    if (unprivileged) DropPrivileges();
    ::execve(argv[0], argv.data(), envp.data());
    return 127;
  });
}

RunningProcess::~RunningProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    Wait(pid_);
  }
  std::remove(outPath_.c_str());
  std::remove(errPath_.c_str());
}

std::string RunningProcess::OutputSoFar() const { return ReadWhole(outPath_); }

ProcessResult RunningProcess::Finish() {
  ProcessResult result;
  if (pid_ > 0) result.exitStatus = Wait(pid_);
  pid_ = -1;
  result.out = ReadWhole(outPath_);
  result.err = ReadWhole(errPath_);
  return result;
}

ProcessResult RunningProcess::End(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
  return Finish();
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
  return RunningProcess(program, args, options).Finish();
}

}  // namespace palettor::test
