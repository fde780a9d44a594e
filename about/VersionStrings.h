#pragma once
// The program's string table for the version component: row captions, file-flag names and the list
// view's column headings, each under its fixed identifier. Translating the program means changing the
// texts here, never the code that looks them up.
#include <cstdint>
#include <string>

namespace palettor {

// First identifiers of each group; the groups are contiguous.
inline constexpr std::uint32_t kFlagCaptionIds = 65520;      // six flag names, ffDebug ... ffSpecialBuild
inline constexpr std::uint32_t kResourceColumnId = 65526;    // "Resource"
inline constexpr std::uint32_t kValueColumnId = 65527;       // "Value"
inline constexpr std::uint32_t kItemCaptionIds = 65528;      // captions of items 0 ... 7
inline constexpr std::uint32_t kLateItemCaptionIds = 65504;  // captions of items 8 ... 10

// The text stored under `id`; empty when the table has none.
std::string LoadResString(std::uint32_t id);

}  // namespace palettor
