#pragma once
// The 27 stored values as the program must keep them, written out by hand: the tests' own
// record, checked against what the program does, never taken from its catalogue.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace palettor::test::golden {

// In the order the window loads them, each with its default.
inline const std::vector<std::pair<std::string, std::int32_t>> kLoadOrder = {
    {"LUThueM70", -1},  {"LUTsatM70", -1},      {"LUThueM60", 0}, {"LUTsatM60", 0}, {"LUThueM50", 0},
    {"LUTsatM50", 0},   {"LUThueM40", 0},       {"LUTsatM40", 0}, {"LUThueM30", 0}, {"LUTsatM30", 0},
    {"LUThueM20", 0},   {"LUTsatM20", 0},       {"LUThueM10", 0}, {"LUTsatM10", 0}, {"LUThueO0", 0},
    {"LUTsatO0", 0},    {"LUThueP10", 0},       {"LUTsatP10", 0}, {"LUThueP20", 0}, {"LUTsatP20", 0},
    {"LUThueP30", 0},   {"LUTsatP30", 0},       {"LUThueP40", 0}, {"LUTsatP40", 0}, {"LUTTailPercent", 12},
    {"LUTWhiteTop", 1}, {"LUTSmoothColours", 1}};

inline std::vector<std::string> LoadOrderNames() {
  std::vector<std::string> names;
  for (const auto& [name, value] : kLoadOrder) names.push_back(name);
  return names;
}

// Where the window loads `name` (and palettor-cli settings lists it).
inline std::size_t LoadPosition(const std::string& name) {
  for (std::size_t i = 0; i < kLoadOrder.size(); ++i) {
    if (kLoadOrder[i].first == name) return i;
  }
  throw std::out_of_range("not one of the 27 stored values: " + name);
}

// One value's name from the list, for a test that stores, sets or reads that value.
inline const std::string& Named(const std::string& name) { return kLoadOrder[LoadPosition(name)].first; }
inline const std::string& Hue(const std::string& anchor) { return Named("LUThue" + anchor); }  // "M70" ... "P40"
inline const std::string& Saturation(const std::string& anchor) { return Named("LUTsat" + anchor); }
inline const std::string& TailPercent() { return Named("LUTTailPercent"); }
inline const std::string& WhiteTop() { return Named("LUTWhiteTop"); }
inline const std::string& SmoothColours() { return Named("LUTSmoothColours"); }

// The order of the writes when the window closes.
inline const std::vector<std::string> kShutdownOrder = {
    "LUTSmoothColours", "LUTTailPercent", "LUTWhiteTop", "LUThueM70", "LUTsatM70", "LUThueM60", "LUTsatM60",
    "LUThueM50",        "LUTsatM50",      "LUThueM40",   "LUTsatM40", "LUThueM30", "LUTsatM30", "LUThueM20",
    "LUTsatM20",        "LUThueM10",      "LUTsatM10",   "LUThueO0",  "LUTsatO0",  "LUThueP10", "LUTsatP10",
    "LUThueP20",        "LUTsatP20",      "LUThueP30",   "LUTsatP30", "LUThueP40", "LUTsatP40"};

// The night floor, kept beside the 27 in the subkey "Table" of the window's key (never among
// them) and written after them.
inline const std::string kNightFloor = "NightFloorPercent";
inline const std::string kTableKeyPath = "Software\\Quillon\\palettor\\Table";

// Every write that stores the window's palette (a close, settings set, palette import): the 27
// in the shutdown order, then the night floor.
inline const std::vector<std::string> kPaletteWrites = [] {
  std::vector<std::string> names = kShutdownOrder;
  names.push_back(kNightFloor);
  return names;
}();

// `palettor-cli settings` on a first run: the factory anchors, the default options and no night
// floor.
inline const std::vector<std::string> kFirstRunListing = {
    "LUThueM70 220 factory",     "LUTsatM70 70 factory",  "LUThueM60 310 factory",      "LUTsatM60 7 factory",
    "LUThueM50 270 factory",     "LUTsatM50 12 factory",  "LUThueM40 250 factory",      "LUTsatM40 14 factory",
    "LUThueM30 225 factory",     "LUTsatM30 14 factory",  "LUThueM20 205 factory",      "LUTsatM20 12 factory",
    "LUThueM10 185 factory",     "LUTsatM10 9 factory",   "LUThueO0 100 factory",       "LUTsatO0 0 factory",
    "LUThueP10 85 factory",      "LUTsatP10 12 factory",  "LUThueP20 55 factory",       "LUTsatP20 19 factory",
    "LUThueP30 35 factory",      "LUTsatP30 25 factory",  "LUThueP40 15 factory",       "LUTsatP40 25 factory",
    "LUTTailPercent 12 default", "LUTWhiteTop 1 default", "LUTSmoothColours 1 default", "NightFloorPercent 0 default"};

}  // namespace palettor::test::golden
