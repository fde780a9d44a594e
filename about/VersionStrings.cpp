#include "VersionStrings.h"

#include <utility>

namespace palettor {

namespace {

const std::pair<std::uint32_t, const char*> kStringTable[] = {
    {65504, "Product Version"},  {65505, "Comments"},          {65506, "Build Flags"},   {65520, "Debug"},
    {65521, "Info Inferred"},    {65522, "Patched"},           {65523, "Pre-Release"},   {65524, "Private"},
    {65525, "Special"},          {65526, "Resource"},          {65527, "Value"},         {65528, "Company Name"},
    {65529, "File Description"}, {65530, "File Version"},      {65531, "Internal Name"}, {65532, "Legal Copyright"},
    {65533, "Legal Trademarks"}, {65534, "Original Filename"}, {65535, "Product Name"},
};

}  // namespace

std::string LoadResString(std::uint32_t id) {
  for (const auto& [key, text] : kStringTable) {
    if (key == id) return text;
  }
  return {};
}

}  // namespace palettor
