#pragma once
// Targets that record what the version component writes to them.
#include <string>
#include <utility>
#include <vector>

#include "VersionTargets.h"

namespace palettor::test {

class FakeLabel final : public TLabelTarget {
 public:
  void SetText(const std::string& value) override {
    text = value;
    ++writes;
  }
  std::string text = "untouched";
  int writes = 0;
};

class FakeListView final : public TListViewTarget {
 public:
  void ClearColumns() override {
    columns.clear();
    ++fills;
  }
  void ClearItems() override { rows.clear(); }
  void SetReportStyle() override { reportStyle = true; }
  void AddColumn(const std::string& caption, int width) override { columns.emplace_back(caption, width); }
  void AddItem(const std::string& caption, const std::string& subItem) override { rows.emplace_back(caption, subItem); }
  std::vector<std::pair<std::string, int>> columns;
  std::vector<std::pair<std::string, std::string>> rows;
  bool reportStyle = false;
  int fills = 0;
};

}  // namespace palettor::test
