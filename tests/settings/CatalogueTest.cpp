#include <gtest/gtest.h>

#include <ostream>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CaseName.h"
#include "GoldenSettings.h"
#include "SettingsCatalogue.h"

namespace palettor {
namespace {

namespace golden = test::golden;

TEST(Catalogue, ListsTheTwentySevenValuesInLoadOrderWithTheirDefaults) {
  const auto& catalogue = SettingsCatalogue();
  ASSERT_EQ(catalogue.size(), golden::kLoadOrder.size());
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    EXPECT_EQ(catalogue[i].name, golden::kLoadOrder[i].first) << i;
    EXPECT_EQ(catalogue[i].defaultValue, golden::kLoadOrder[i].second) << golden::kLoadOrder[i].first;
  }
  EXPECT_EQ(catalogue[25].Kind(), SettingKind::Option);
  EXPECT_EQ(catalogue[26].Kind(), SettingKind::Option);
  EXPECT_EQ(catalogue[24].Kind(), SettingKind::Percent);
  EXPECT_EQ(catalogue[14].Anchor(), 0);
  EXPECT_EQ(catalogue[1].Kind(), SettingKind::Saturation);
}

TEST(Catalogue, StoreOrderPutsTheOptionsFirstThenTheAnchorsInLoadOrder) {
  std::vector<std::string> names;
  for (const std::size_t index : SettingsStoreOrder()) names.push_back(SettingsCatalogue()[index].name);
  EXPECT_EQ(names, golden::kShutdownOrder);
}

TEST(Catalogue, EachSettingReadsAndWritesItsOwnPartOfAPalette) {
  Palette palette;
  const auto& catalogue = SettingsCatalogue();
  for (std::size_t i = 0; i < kSettingCount; ++i)
    SetPaletteValue(palette, catalogue[i].id, static_cast<std::int32_t>(i) + 2);
  EXPECT_EQ(palette.anchors[AnchorSlot(-7)], (AnchorValue{2, 3}));
  EXPECT_EQ(palette.anchors[AnchorSlot(4)], (AnchorValue{24, 25}));
  EXPECT_EQ(palette.tailPercent, 26);
  EXPECT_TRUE(palette.whiteTop);
  EXPECT_TRUE(palette.smoothColours);
  palette.whiteTop = false;
  EXPECT_EQ(PaletteValue(palette, SettingId::WhiteTop), 0);
  EXPECT_EQ(PaletteValue(palette, SettingId::SmoothColours), 1);
  EXPECT_EQ(PaletteValue(palette, SaturationSetting(0)), 17);
  EXPECT_EQ(PaletteValue(palette, HueSetting(4)), 24);
}

TEST(Catalogue, RowsNameThePaletteFilesMembers) {
  const std::vector<std::pair<std::string, const char*>> members = {
      {golden::Hue("M70"), "anchors.M70.hue"},   {golden::Saturation("M70"), "anchors.M70.saturation"},
      {golden::Hue("O0"), "anchors.O0.hue"},     {golden::Saturation("P40"), "anchors.P40.saturation"},
      {golden::TailPercent(), "tailPercent"},    {golden::WhiteTop(), "whiteTop"},
      {golden::SmoothColours(), "smoothColours"}};
  for (const auto& [name, member] : members) {
    const auto id = FindSetting(name);
    ASSERT_TRUE(id) << name;
    EXPECT_STREQ(Setting(*id).fileMember, member);
  }
}

TEST(Catalogue, IdsNameTheirRowsAndAnchorsTheirHueAndSaturation) {
  EXPECT_EQ(HueSetting(-7), SettingId::HueM70);
  EXPECT_EQ(SaturationSetting(-7), SettingId::SaturationM70);
  EXPECT_EQ(HueSetting(0), SettingId::HueO0);
  EXPECT_EQ(SaturationSetting(4), SettingId::SaturationP40);
  EXPECT_EQ(AnchorOf(SettingId::SaturationM30), -3);
  for (std::size_t i = 0; i < kSettingCount + kPreviewValueCount + kAppPathValueCount + kTableValueCount + kRecoveryValueCount; ++i) {
    EXPECT_EQ(Position(Setting(static_cast<SettingId>(i)).id), i);
  }
  EXPECT_EQ(Setting(SettingId::TailPercent).name, golden::TailPercent());
  EXPECT_STREQ(Setting(SettingId::Zoom).name, "Zoom");
  EXPECT_STREQ(Setting(SettingId::ViewerAppPath).name, "Skyreader");
}

TEST(Catalogue, ThePreviewsValuesInTheirWriteOrderWithTypesAndDefaults) {
  struct Row {
    std::string name;
    RegDataType type;
    std::string defaultText;
  };
  const std::vector<Row> expected = {
      {"InfraredImage", RegDataType::String, ""}, {"VisibleImage", RegDataType::String, ""},
      {"ScaleBlack", RegDataType::String, "40"},  {"ScaleWhite", RegDataType::String, "-60"},
      {"Zoom", RegDataType::Dword, ""},           {"Simulation", RegDataType::String, "normal"}};
  const auto& rows = PreviewCatalogue();
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, expected[i].name);
    EXPECT_EQ(rows[i].type, expected[i].type) << expected[i].name;
    EXPECT_EQ(rows[i].defaultText, expected[i].defaultText) << expected[i].name;
    EXPECT_EQ(rows[i].storeRank, i) << expected[i].name;
  }
  const SettingEntry& zoom = Setting(SettingId::Zoom);
  EXPECT_EQ(zoom.defaultValue, 100);
  EXPECT_EQ(zoom.min, 5);
  EXPECT_EQ(zoom.max, 3200);
}

TEST(Catalogue, TheTableSubkeyHoldsTheNightFloorAsAnOptionalPaletteMember) {
  ASSERT_EQ(TableCatalogue().size(), 1u);
  const SettingEntry& row = TableCatalogue()[0];
  EXPECT_STREQ(row.name, "NightFloorPercent");
  EXPECT_EQ(row.type, RegDataType::Dword);
  EXPECT_EQ(row.defaultValue, 0);
  EXPECT_EQ(RangeText(row.id), "0 to 50");
  EXPECT_STREQ(row.fileMember, "nightFloorPercent");
  EXPECT_STREQ(kTableSubkey, "Table");
  EXPECT_EQ(FindSetting("nightfloorpercent"), SettingId::NightFloorPercent);
  Palette palette;
  SetPaletteValue(palette, row.id, 30);
  EXPECT_EQ(palette.nightFloorPercent, 30);
  EXPECT_EQ(PaletteValue(palette, row.id), 30);
}

TEST(Catalogue, RangeTextSaysWhatTheControlsTake) {
  EXPECT_EQ(RangeText(SettingId::HueP10), "0 to 360");
  EXPECT_EQ(RangeText(SettingId::SaturationM70), "0 to 100");
  EXPECT_EQ(RangeText(SettingId::TailPercent), "0 to 100");
  EXPECT_EQ(RangeText(SettingId::SmoothColours), "0 or 1");
}

struct RangeCase {
  std::string name;
  std::int32_t min, max;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class CatalogueRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(CatalogueRange, GivesWhatTheWindowsControlsAccept) {
  const auto id = FindSetting(GetParam().name);
  ASSERT_TRUE(id);
  EXPECT_EQ(Setting(*id).min, GetParam().min);
  EXPECT_EQ(Setting(*id).max, GetParam().max);
}

INSTANTIATE_TEST_SUITE_P(Values, CatalogueRange,
                         ::testing::Values(RangeCase{golden::Hue("M70"), 0, 360},
                                           RangeCase{golden::Saturation("M70"), 0, 100},
                                           RangeCase{golden::Hue("O0"), 0, 360},
                                           RangeCase{golden::Saturation("P40"), 0, 100},
                                           RangeCase{golden::TailPercent(), 0, 100},
                                           RangeCase{golden::WhiteTop(), 0, 1}, RangeCase{"lutsmoothcolours", 0, 1}),
                         test::CaseName<CatalogueRange::ParamType>);

TEST(Catalogue, FindSettingIgnoresCaseAndRejectsOtherNames) {
  EXPECT_EQ(FindSetting("luthuem70"), SettingId::HueM70);
  EXPECT_EQ(FindSetting("LUTSATP40"), SettingId::SaturationP40);
  EXPECT_FALSE(FindSetting("Zoom"));
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
