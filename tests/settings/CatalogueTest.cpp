#include <gtest/gtest.h>

#include <ostream>

#include <set>

#include "CaseName.h"
#include "GoldenSettings.h"
#include "SettingsCatalogue.h"

namespace palettor {
namespace {

TEST(Catalogue, ListsTheTwentySevenValuesInLoadOrderWithTheirDefaults) {
  const auto& catalogue = SettingsCatalogue();
  ASSERT_EQ(catalogue.size(), test::golden::kLoadOrder.size());
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    EXPECT_EQ(catalogue[i].name, test::golden::kLoadOrder[i].first) << i;
    EXPECT_EQ(catalogue[i].defaultValue, test::golden::kLoadOrder[i].second) << test::golden::kLoadOrder[i].first;
  }
  EXPECT_EQ(catalogue[25].kind, SettingKind::Option);
  EXPECT_EQ(catalogue[26].kind, SettingKind::Option);
  EXPECT_EQ(catalogue[24].kind, SettingKind::Percent);
  EXPECT_EQ(catalogue[14].anchor, 0);
  EXPECT_EQ(catalogue[1].kind, SettingKind::Saturation);
}

TEST(Catalogue, StoreOrderPutsTheOptionsFirstThenTheAnchorsInLoadOrder) {
  std::vector<std::string> names;
  for (const std::size_t index : SettingsStoreOrder()) names.push_back(SettingsCatalogue()[index].name);
  EXPECT_EQ(names, test::golden::kShutdownOrder);
}

TEST(Catalogue, EachSettingReadsAndWritesItsOwnPartOfAPalette) {
  Palette palette;
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i)
    SetPaletteValue(palette, catalogue[i], static_cast<std::int32_t>(i) + 2);
  EXPECT_EQ(palette.anchors[AnchorSlot(-7)], (AnchorValue{2, 3}));
  EXPECT_EQ(palette.anchors[AnchorSlot(4)], (AnchorValue{24, 25}));
  EXPECT_EQ(palette.tailPercent, 26);
  EXPECT_TRUE(palette.whiteTop);
  EXPECT_TRUE(palette.smoothColours);
  palette.whiteTop = false;
  EXPECT_EQ(PaletteValue(palette, catalogue[*FindSetting("LUTWhiteTop")]), 0);
  EXPECT_EQ(PaletteValue(palette, catalogue[*FindSetting("LUTSmoothColours")]), 1);
  EXPECT_EQ(PaletteValue(palette, catalogue[*FindSetting("LUTsatO0")]), 17);
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
                                           RangeCase{"lutsmoothcolours", 0, 1}),
                         test::CaseName<CatalogueRange::ParamType>);

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
                                           TailCase{32768, 0}, TailCase{-65536 + 5, 5}, TailCase{INT32_MIN, 0}),
                         test::CaseName<TailPosition::ParamType>);

TEST(SourceName, SpellsTheThreeSources) {
  EXPECT_STREQ(SourceName(SettingSource::Stored), "stored");
  EXPECT_STREQ(SourceName(SettingSource::Default), "default");
  EXPECT_STREQ(SourceName(SettingSource::Factory), "factory");
}

}  // namespace
}  // namespace palettor
