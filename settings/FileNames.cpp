#include "FileNames.h"

namespace palettor {

namespace {

constexpr std::string_view kSeparators = "/\\:";

std::size_t AfterLastSeparator(std::string_view path) {
  const auto at = path.find_last_of(kSeparators);
  return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(AfterLastSeparator(path))); }

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, AfterLastSeparator(path))); }

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const std::size_t nameStart = AfterLastSeparator(path);
  const auto dot = path.find_last_of('.');
  std::string result(path);
  if (dot != std::string_view::npos && dot >= nameStart) result.resize(dot);
  result += ext;
  return result;
}

}  // namespace palettor
