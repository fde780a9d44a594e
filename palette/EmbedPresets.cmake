# cmake -DOUTPUT=FILE.cpp -DPRESETS=a.json|b.json -P EmbedPresets.cmake
# Writes a C++ source that holds the given palette files byte for byte, named by their file
# names without ".json", in the order given.
string(REPLACE "|" ";" files "${PRESETS}")
set(entries "")
set(texts "")
set(n 0)
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME_WE)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # Every byte as a \xNN escape, so any file content is a valid literal.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(APPEND texts "const char kText${n}[] =\n    \"${escaped}\";\n")
  string(APPEND entries "    {\"${name}\", {kText${n}, ${size}}},\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from palette/presets/ by EmbedPresets.cmake; edit those files instead.
#include \"EmbeddedPresets.h\"

namespace palettor {

namespace {
${texts}}  // namespace

const std::vector<EmbeddedPreset>& EmbeddedPresets() {
  static const std::vector<EmbeddedPreset> presets = {
${entries}  };
  return presets;
}

}  // namespace palettor
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
