#include <gtest/gtest.h>

#include <ostream>

#include <set>

#include "CaseName.h"
#include "SettingsCatalogue.h"

namespace palettor {
namespace {

TEST(Catalogue, ListsTheTwentySevenValuesInLoadOrderWithTheirDefaults) {
  const std::vector<std::pair<std::string, std::int32_t>> expected = {
      {"LUThueM70", -1}, {"LUTsatM70", -1}, {"LUThueM60", 0}, {"LUTsatM60", 0}, {"LUThueM50", 0},
      {"LUTsatM50", 0},  {"LUThueM40", 0},  {"LUTsatM40", 0}, {"LUThueM30", 0}, {"LUTsatM30", 0},
      {"LUThueM20", 0},  {"LUTsatM20", 0},  {"LUThueM10", 0}, {"LUTsatM10", 0}, {"LUThueO0", 0},
      {"LUTsatO0", 0},   {"LUThueP10", 0},  {"LUTsatP10", 0}, {"LUThueP20", 0}, {"LUTsatP20", 0},
      {"LUThueP30", 0},  {"LUTsatP30", 0},  {"LUThueP40", 0}, {"LUTsatP40", 0}, {"LUTTailPercent", 12},
      {"LUTWhiteTop", 1}, {"LUTSmoothColours", 1}};
  const auto& catalogue = SettingsCatalogue();
  ASSERT_EQ(catalogue.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(catalogue[i].name, expected[i].first) << i;
    EXPECT_EQ(catalogue[i].defaultValue, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(catalogue[25].kind, SettingKind::Boolean);
  EXPECT_EQ(catalogue[26].kind, SettingKind::Boolean);
  EXPECT_EQ(catalogue[24].kind, SettingKind::Integer);
  EXPECT_EQ(catalogue[14].anchor, 0);
  EXPECT_EQ(catalogue[1].role, SettingRole::AnchorSat);
}

TEST(Catalogue, StoreOrderPutsTheOptionsFirstThenTheAnchorsInLoadOrder) {
  const auto& order = SettingsStoreOrder();
  const auto& catalogue = SettingsCatalogue();
  std::vector<std::string> names;
  for (const std::size_t index : order) names.push_back(catalogue[index].name);
  EXPECT_EQ(names[0], "LUTSmoothColours");
  EXPECT_EQ(names[1], "LUTTailPercent");
  EXPECT_EQ(names[2], "LUTWhiteTop");
  EXPECT_EQ(names[3], "LUThueM70");
  EXPECT_EQ(names[4], "LUTsatM70");
  EXPECT_EQ(names[5], "LUThueM60");
  EXPECT_EQ(names[25], "LUThueP40");
  EXPECT_EQ(names[26], "LUTsatP40");
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), kSettingCount);
}

struct RangeCase {
  const char* name;
  std::int32_t min, max;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class CatalogueRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(CatalogueRange, GivesWhatTheWindowsControlsAccept) {
  const auto index = FindSetting(GetParam().name);
  ASSERT_TRUE(index);
  EXPECT_EQ(SettingsCatalogue()[*index].min, GetParam().min);
  EXPECT_EQ(SettingsCatalogue()[*index].max, GetParam().max);
}

INSTANTIATE_TEST_SUITE_P(Values, CatalogueRange,
                         ::testing::Values(RangeCase{"LUThueM70", 0, 360}, RangeCase{"LUTsatM70", 0, 100},
                                           RangeCase{"LUThueO0", 0, 360}, RangeCase{"LUTsatP40", 0, 100},
                                           RangeCase{"LUTTailPercent", 0, 100}, RangeCase{"LUTWhiteTop", 0, 1},
                                           RangeCase{"lutsmoothcolours", 0, 1}), test::CaseName<CatalogueRange::ParamType>);

TEST(Catalogue, FindSettingIgnoresCaseAndRejectsOtherNames) {
  EXPECT_EQ(FindSetting("luthuem70"), std::optional<std::size_t>(0));
  EXPECT_EQ(FindSetting("LUTSATP40"), std::optional<std::size_t>(23));
  EXPECT_FALSE(FindSetting("LUThueM80"));
  EXPECT_FALSE(FindSetting("LUThue"));
  EXPECT_FALSE(FindSetting(""));
}

struct TailCase {
  std::int32_t loaded;
  std::int16_t position;
};

void PrintTo(const TailCase& c, std::ostream* os) { *os << c.loaded; }

class TailPosition : public ::testing::TestWithParam<TailCase> {};

TEST_P(TailPosition, IsTheLow16BitsHeldWithinTheSpinnersRange) {
  EXPECT_EQ(TailPositionOf(GetParam().loaded), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Numbers, TailPosition,
                         ::testing::Values(TailCase{12, 12}, TailCase{0, 0}, TailCase{100, 100}, TailCase{101, 100},
                                           TailCase{-1, 0}, TailCase{65536 + 30, 30}, TailCase{70000, 100},
                                           TailCase{32768, 0}, TailCase{-65536 + 5, 5}, TailCase{INT32_MIN, 0}), test::CaseName<TailPosition::ParamType>);

TEST(SourceName, SpellsTheThreeSources) {
  EXPECT_STREQ(SourceName(SettingSource::Stored), "stored");
  EXPECT_STREQ(SourceName(SettingSource::Default), "default");
  EXPECT_STREQ(SourceName(SettingSource::Factory), "factory");
}

}  // namespace
}  // namespace palettor
