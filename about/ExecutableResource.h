#pragma once
// Finds the version-information block inside an executable file:
// - Windows PE32 and PE32+ executables and libraries: the RT_VERSION resource with identifier 1 in the
//   resource directory (the first language entry under it);
// - this project's ELF executables (32- and 64-bit, little-endian): the section kVersionSectionName,
//   which the build fills from the version description (see about/CMakeLists.txt).
// Headers, tables and directory entries are read through ByteSource with every offset and count checked,
// so a truncated or hostile file simply has no block.
#include <cstdint>
#include <optional>
#include <vector>

#include "ByteSource.h"

namespace palettor {

inline constexpr const char* kVersionSectionName = ".versioninfo";

// The block's bytes: exactly its wLength, which must fit inside the resource or section holding it.
std::optional<std::vector<std::uint8_t>> ReadVersionBlock(const ByteSource& file);

}  // namespace palettor
