// palettor-cli version-info: the version resource of an executable, as the About box reads it.
#include "VersionInfoCommand.h"

#include <sys/stat.h>

#include <cstdio>
#include <optional>

#include "ArgumentParsing.h"
#include "ByteSource.h"
#include "CliCommand.h"
#include "ExecutablePath.h"
#include "Output.h"
#include "VersInfo.h"
#include "WindowExecutable.h"

namespace palettor::cli {

namespace {

// Collects the rows the component would show in a list view.
class RowCollector final : public TListViewTarget {
 public:
  void ClearColumns() override {}
  void ClearItems() override { rows.clear(); }
  void SetReportStyle() override {}
  void AddColumn(const std::string&, int) override {}
  void AddItem(const std::string& caption, const std::string& subItem) override { rows.emplace_back(caption, subItem); }
  std::vector<std::pair<std::string, std::string>> rows;
};

struct VersionInfoRequest {
  std::string file;
  std::optional<std::string> key;
};

VersionInfoRequest ParseVersionInfo(const Arguments& args) {
  VersionInfoRequest request;
  bool haveFile = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (arg.Name() == "--key") {
      request.key = arg.TakeValue("--key needs the name of a version key");
    } else if (arg.IsOption()) {
      throw UsageError("version-info: unknown argument '" + arg.Raw() + "' (see palettor-cli version-info --help)");
    } else if (haveFile) {
      throw UsageError("version-info: only one FILE may be given");
    } else {
      request.file = arg.Raw();
      haveFile = true;
    }
  }
  return request;
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
    "translation. FILE may be one of Palettor's own executables or a Windows executable or library;\n"
    "a FILE whose name starts with '-' goes after --.\n"
    "Control characters in the resource's text are shown escaped (\\n, \\t, \\x1b ...).\n"
    "\n"
    "  --key NAME   print only the value of NAME in the current translation (an empty line when the\n"
    "               resource has no such value); names match without regard to case\n"
    "\n"
    "Exit status: 0 shown, 1 the file is missing, unreadable or has no version resource,\n"
    "2 invalid arguments.\n";

void RunVersionInfo(const Arguments& args) {
  VersionInfoRequest request = ParseVersionInfo(args);
  if (request.file.empty()) {
    request.file = DefaultVersionInfoFile(RunningExecutablePath(), PALETTOR_WINDOW_EXECUTABLE);
    if (request.file.empty()) throw Failure("the palettor executable was not found; name the file to read");
  }
  // Tell the reasons apart here: the component itself only ever sees "no resource".
  FileByteSource probe;
  if (const std::string reason = probe.Open(request.file); !reason.empty()) {
    throw Failure("cannot read " + request.file + ": " + reason);
  }

  TVersionInfoResource info;
  RowCollector rows;
  info.SetShowResource(TPreDefs::All());
  info.SetVersionListView(&rows);
  info.SetFilename(request.file);
  info.SetVersionListView(nullptr);
  if (info.VersionDataSize() == 0) throw Failure(request.file + " has no version resource");
  if (request.key) {
    std::printf("%s\n", Untrusted(info.ValueByKey(*request.key)).c_str());
  } else {
    for (const auto& [caption, value] : rows.rows) {
      std::printf("%s: %s\n", Untrusted(caption).c_str(), Untrusted(value).c_str());
    }
    for (const auto& translation : info.Translations()) std::printf("Translation: %s\n", translation.c_str());
  }
  FinishOutput();
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

extern const CliCommand kVersionInfoCommand{"version-info", "version-info [FILE] [--key NAME]",
                                            "show an executable's version resource", [] { return kVersionInfoHelp; },
                                            &RunVersionInfo};

}  // namespace palettor::cli
