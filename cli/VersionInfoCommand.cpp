// palettor-cli version-info: the version resource of an executable, as the About box reads it.
#include "VersionInfoCommand.h"

#include <sys/stat.h>

#include <cstdio>
#include <optional>

#include "ArgumentParsing.h"
#include "ByteSource.h"
#include "ExecutablePath.h"
#include "VersInfo.h"

#ifndef PALETTOR_WINDOW_EXECUTABLE
#define PALETTOR_WINDOW_EXECUTABLE ""
#endif

namespace palettor::cli {

namespace {

constexpr const char* kWindowExecutableName = "palettor";

// Collects the rows the component would show in a list view.
class RowCollector final : public TListViewTarget {
 public:
  void ClearColumns() override {}
  void ClearItems() override { rows.clear(); }
  void SetReportStyle() override {}
  void AddColumn(const std::string&, int) override {}
  void AddItem(const std::string& caption, const std::string& subItem) override {
    rows.emplace_back(caption, subItem);
  }
  std::vector<std::pair<std::string, std::string>> rows;
};

struct VersionInfoRequest {
  std::string file;
  std::optional<std::string> key;
};

// Fills `request`; an empty message means success.
std::string ParseVersionInfo(const Arguments& args, VersionInfoRequest& request) {
  bool haveFile = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name, value;
    if (args[i].rfind("--", 0) == 0 && args[i] != "--" && SplitInlineValue(args[i], name, value)) {
      if (name != "--key") return "version-info: unknown argument '" + args[i] + "'";
      request.key = value;
    } else if (args[i] == "--key") {
      if (i + 1 >= args.size()) return "--key needs the name of a version key";
      request.key = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return "version-info: unknown argument '" + args[i] + "' (see palettor-cli version-info --help)";
    } else if (haveFile) {
      return "version-info: only one FILE may be given";
    } else {
      request.file = args[i];
      haveFile = true;
    }
  }
  return {};
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

constexpr const char* kVersionInfoHelp =
    "Usage: palettor-cli version-info [FILE] [--key NAME]\n"
    "\n"
    "Shows the version resource of FILE (default: the palettor executable) as the About box reads it:\n"
    "one 'Caption: value' line per item that has a value, then one 'Translation: LLLLCCCC' line per\n"
    "translation. FILE may be one of Palettor's own executables or a Windows executable or library.\n"
    "\n"
    "  --key NAME   print only the value of NAME in the current translation (an empty line when the\n"
    "               resource has no such value); names match without regard to case\n"
    "\n"
    "Exit status: 0 shown, 1 the file is missing, unreadable or has no version resource,\n"
    "2 invalid arguments.\n";

int RunVersionInfo(const Arguments& args) {
  if (PrintHelpIfAsked(args, kVersionInfoHelp)) return kExitOk;
  VersionInfoRequest request;
  if (auto message = ParseVersionInfo(args, request); !message.empty()) return UsageError(message);

  if (request.file.empty()) {
    request.file = DefaultVersionInfoFile(RunningExecutablePath(), PALETTOR_WINDOW_EXECUTABLE);
    if (request.file.empty()) {
      std::fprintf(stderr, "palettor-cli: the palettor executable was not found; name the file to read\n");
      return kExitFailure;
    }
  }
  // Tell the reasons apart here: the component itself only ever sees "no resource".
  FileByteSource probe;
  if (const std::string reason = probe.Open(request.file); !reason.empty()) {
    std::fprintf(stderr, "palettor-cli: cannot read %s: %s\n", request.file.c_str(), reason.c_str());
    return kExitFailure;
  }

  TVersionInfoResource info;
  RowCollector rows;
  info.SetShowResource(TPreDefs::All());
  info.SetVersionListView(&rows);
  info.SetFilename(request.file);
  info.SetVersionListView(nullptr);
  if (info.VersionDataSize() == 0) {
    std::fprintf(stderr, "palettor-cli: %s has no version resource\n", request.file.c_str());
    return kExitFailure;
  }
  if (request.key) {
    std::printf("%s\n", info.ValueByKey(*request.key).c_str());
  } else {
    for (const auto& [caption, value] : rows.rows) std::printf("%s: %s\n", caption.c_str(), value.c_str());
    for (const auto& translation : info.Translations()) std::printf("Translation: %s\n", translation.c_str());
  }
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "palettor-cli: could not write to standard output\n");
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

std::string DefaultVersionInfoFile(const std::string& cliPath, const std::string& buildTreePath) {
  const auto slash = cliPath.rfind('/');
  if (slash != std::string::npos) {
    const std::string beside = cliPath.substr(0, slash + 1) + kWindowExecutableName;
    if (IsRegularFile(beside)) return beside;
  }
  if (IsRegularFile(buildTreePath)) return buildTreePath;
  return {};
}

const CliCommand kVersionInfoCommand{"version-info",
                                     "version-info [FILE] [--key NAME]", "show an executable's version resource",
                                     &RunVersionInfo};

}  // namespace palettor::cli
