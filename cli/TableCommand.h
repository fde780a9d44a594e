#pragma once
// What the commands that write a table in some form (render, export-csv, legend) share: the
// output "--out FILE|-" and the table options.
#include <functional>
#include <string>

#include "ArgumentParsing.h"
#include "LutTable.h"
#include "TableOptions.h"

namespace palettor::cli {

struct TableCommandRequest {
  std::string out;  // a file, or "-" for standard output
  TableOptions table;
};

// Reads the arguments of `command`: --out (required) and the table options. `own` is offered
// every other argument first and returns whether it took it. Throws UsageError for the rest.
TableCommandRequest ParseTableCommand(const std::string& command, const Arguments& args,
                                      const std::function<bool(ArgumentCursor&)>& own = nullptr);

// The table the options give (reads the store or a palette file; see TableOptions::Resolve).
void DrawTable(const TableOptions& options, LutPixels& pixels);

}  // namespace palettor::cli
