// The version component over any file: TVersionInfoResource reads the bytes as the executable
// whose version it shows, fills linked labels and a list view, and answers every question the
// About box and palettor-cli ask. The input lives in an anonymous memory file, named to the
// component by its /proc path.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "VersInfo.h"

namespace {

class Label final : public palettor::TLabelTarget {
 public:
  void SetText(const std::string& value) override { text = value; }
  std::string text;
};

class ListView final : public palettor::TListViewTarget {
 public:
  void ClearColumns() override { columns = 0; }
  void ClearItems() override { length = 0; }
  void SetReportStyle() override {}
  void AddColumn(const std::string& caption, int) override { columns += caption.size(); }
  void AddItem(const std::string& caption, const std::string& subItem) override {
    length += caption.size() + subItem.size();
  }
  std::size_t columns = 0;
  std::size_t length = 0;
};

const char* const kKeys[] = {"CompanyName", "productname", "Web site", "Author", "Comments", "", "\\", "x"};

volatile std::size_t sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = ::memfd_create("version-info-input", MFD_CLOEXEC);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ::ftruncate(fd, 0) != 0) return 0;
  if (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;

  Label version, description, copyright, product;
  ListView list;
  palettor::TVersionInfoResource info;
  info.SetShowResource(palettor::TPreDefs::FromBits(static_cast<std::uint16_t>(size & 0x07FF)));
  info.SetVersionListView(&list);
  info.SetVersionLabel(&version);
  info.SetDescriptionLabel(&description);
  info.SetCopyrightLabel(&copyright);
  info.SetProductLabel(&product);
  info.SetFilename(path);

  std::size_t total =
      list.length + version.text.size() + description.text.size() + copyright.text.size() + product.text.size();
  for (const char* key : kKeys) total += info.ValueByKey(key).size();
  for (int i = -1; i <= palettor::kPreDefCount; ++i) total += info.ValueByIndex(i).size();
  for (const auto& translation : info.Translations()) total += translation.size();
  total += info.FileVersion().AsText().size() + info.ProductVersion().AsText().size() + info.BuildFlagsText().size();
  total += info.FixedInfo().FileFlags() + info.FixedInfo().FileVersionMS() + info.FixedInfo().ProductVersionLS();
  sink = total;
  return 0;
}
