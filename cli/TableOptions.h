#pragma once
// The options that shape a table, shared by every command that draws one:
//   --factory | --palette FILE | --preset NAME     where the palette starts (one at most;
//                                                  without any, the stored settings)
//   --white-top on|off  --smooth on|off  --tail-percent N  --night-floor N
//   --anchor SUFFIX=HUE,SAT                        changes to it
// A command reads its own options and hands each argument it does not know to Take().
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "AnchorPalette.h"
#include "ArgumentParsing.h"
#include "Palette.h"

namespace palettor::cli {

struct TableOptions {
  enum class Source { Stored, Factory, PaletteFile, Preset };
  Source source = Source::Stored;
  std::string sourceName;  // the file (or "-") of --palette, the name of --preset
  std::optional<bool> whiteTop;
  std::optional<bool> smooth;
  std::optional<std::int32_t> tailPercent;
  std::optional<std::int32_t> nightFloor;
  // Per anchor slot; the last --anchor for a suffix wins.
  std::array<std::optional<AnchorValue>, kAnchorCount> anchors{};

  // When the cursor stands on one of the options above, reads it (and its value) and returns
  // true; false for any other argument. Throws UsageError for a value it cannot accept.
  bool Take(ArgumentCursor& args);

  // `start` with every option that was given applied.
  Palette AppliedTo(Palette start) const;

  // The palette these options give: the factory palette with default options (--factory), the
  // palette of a file (--palette, "-" for standard input) or a named one (--preset), or else the
  // window's stored settings as the window would load them (the store only read); with every
  // change applied. Throws UsageError for a palette file that is not valid or a name that names
  // no palette, Failure when the file or the store cannot be read.
  Palette Resolve() const;
};

// The lines of --help that describe the options, indented as the commands' help texts are, with
// the ranges and defaults of the settings they change.
const std::string& TableOptionsHelp();

}  // namespace palettor::cli
