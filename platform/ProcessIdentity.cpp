#include "ProcessIdentity.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace palettor {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fields of /proc/PID/stat after the command name, which may itself hold spaces and
// parentheses: the state first, the start time twentieth.
std::vector<std::string> StatusFields(pid_t pid) {
  const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
  const auto nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return {};
  std::istringstream rest(stat.substr(nameEnd + 1));
  return {std::istream_iterator<std::string>(rest), std::istream_iterator<std::string>()};
}

constexpr std::size_t kState = 0;
constexpr std::size_t kStartTime = 19;

}  // namespace

std::string ProcessIdentity(pid_t pid) {
  const std::vector<std::string> fields = StatusFields(pid);
  if (fields.size() <= kStartTime) return {};
  std::string boot = ReadAll("/proc/sys/kernel/random/boot_id");
  while (!boot.empty() && (boot.back() == '\n' || boot.back() == ' ')) boot.pop_back();
  return boot + ' ' + std::to_string(pid) + ' ' + fields[kStartTime];
}

std::string ThisProcessIdentity() { return ProcessIdentity(::getpid()); }

bool ProcessRuns(const std::string& identity) {
  std::istringstream parts(identity);
  std::string boot, number;
  if (!(parts >> boot >> number)) return false;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), pid);
  if (error != std::errc() || end != number.data() + number.size() || pid <= 0) return false;
  const std::vector<std::string> fields = StatusFields(pid);
  if (fields.size() <= kStartTime || fields[kState] == "Z" || fields[kState] == "X") return false;
  return ProcessIdentity(pid) == identity;
}

}  // namespace palettor
