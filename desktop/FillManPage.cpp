// Fills in a manual page's template at build time, so that the page says what the programs do:
// @PALETTOR_VERSION@ from the command line, and the ranges and defaults of the settings, and the
// names `palettor-cli settings set` takes, from the settings catalogue.
//
//   palettor-fill-man-page TEMPLATE OUTPUT VERSION
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "SettingsCatalogue.h"

namespace palettor {
namespace {

const char* OnOff(SettingId id) { return Setting(id).defaultValue != 0 ? "on" : "off"; }

// One tagged paragraph per name, the anchors' hues and saturations each once.
std::string SettingsList() {
  std::string list;
  bool hueListed = false, saturationListed = false;
  const auto add = [&](const SettingEntry& row) {
    const SettingKind kind = row.Kind();
    std::string name = row.name;
    std::string text = RangeText(row.id);
    if (kind == SettingKind::Hue || kind == SettingKind::Saturation) {
      bool& listed = kind == SettingKind::Hue ? hueListed : saturationListed;
      if (listed) return;
      listed = true;
      name.resize(name.size() - AnchorSuffix(row.Anchor()).size());
      name = ".BI " + name + " anchor";
      if (kind == SettingKind::Hue)
        text += ", for the anchors\n.BR M70 \", \" M60 \" ... \" M10 \", \" O0 \", \" P10 \" ... \" P40 ";
    } else {
      name = ".B " + name;
    }
    if (!list.empty()) list += '\n';
    text += '.';
    if (row.Kind() == SettingKind::NightFloor)
      text += " The night floor, kept in the subkey\n.BR " + std::string(kTableSubkey) + " .";
    list += ".TP\n" + name + '\n' + text;
  };
  for (const SettingEntry& row : SettingsCatalogue()) add(row);
  for (const SettingEntry& row : TableCatalogue()) add(row);
  return list;
}

std::map<std::string, std::string> Values(const std::string& version) {
  using enum SettingId;
  return {
      {"PALETTOR_VERSION", version},
      {"HUE_RANGE", RangeText(HueM70)},
      {"SATURATION_RANGE", RangeText(SaturationM70)},
      {"TAIL_PERCENT_RANGE", RangeText(TailPercent)},
      {"TAIL_PERCENT_DEFAULT", std::to_string(Setting(TailPercent).defaultValue)},
      {"NIGHT_FLOOR_RANGE", RangeText(NightFloorPercent)},
      {"NIGHT_FLOOR_DEFAULT", std::to_string(Setting(NightFloorPercent).defaultValue)},
      {"WHITE_TOP_DEFAULT", OnOff(WhiteTop)},
      {"SMOOTH_DEFAULT", OnOff(SmoothColours)},
      {"SETTINGS_LIST", SettingsList()},
  };
}

}  // namespace
}  // namespace palettor

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: palettor-fill-man-page TEMPLATE OUTPUT VERSION\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in.is_open()) {
    std::cerr << "palettor-fill-man-page: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  const auto values = palettor::Values(argv[3]);
  const std::string page = text.str();
  std::string out;
  for (std::size_t at = 0;;) {
    const auto open = page.find('@', at);
    const auto close = open == std::string::npos ? open : page.find('@', open + 1);
    if (close == std::string::npos) {
      out += page.substr(at);
      break;
    }
    const auto value = values.find(page.substr(open + 1, close - open - 1));
    if (value == values.end()) {
      std::cerr << "palettor-fill-man-page: " << argv[1]
                << " names no known value: " << page.substr(open, close - open + 1) << "\n";
      return 1;
    }
    out += page.substr(at, open - at) + value->second;
    at = close + 1;
  }
  std::ofstream file(argv[2], std::ios::binary);
  file << out;
  file.close();
  if (!file) {
    std::cerr << "palettor-fill-man-page: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
