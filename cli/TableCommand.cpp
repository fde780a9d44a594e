#include "TableCommand.h"

namespace palettor::cli {

TableCommandRequest ParseTableCommand(const std::string& command, const Arguments& args,
                                      const std::function<bool(ArgumentCursor&)>& own) {
  TableCommandRequest request;
  bool haveOut = false;
  for (ArgumentCursor arg(args); !arg.AtEnd(); arg.Next()) {
    if (arg.IsOption() && (request.table.Take(arg) || (own && own(arg)))) continue;
    if (!arg.IsOption() || arg.Name() != "--out")
      throw UsageError(command + ": unknown argument '" + arg.Raw() + "' (see palettor-cli " + command + " --help)");
    request.out = arg.TakeValue("--out needs a file name, or - for standard output");
    if (request.out.empty()) throw UsageError("--out needs a file name, or - for standard output");
    haveOut = true;
  }
  if (!haveOut) throw UsageError(command + ": --out FILE (or --out - for standard output) is required");
  return request;
}

void DrawTable(const TableOptions& options, LutPixels& pixels) {
  GenerateTable(TableInputsOf(options.Resolve()), pixels);
}

}  // namespace palettor::cli
