// TVersionInfoResource and its helpers on the fixtures and on this program's own resource.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CaseName.h"
#include "FakeTargets.h"
#include "FixtureFiles.h"
#include "VersInfo.h"
#include "VersionStrings.h"

namespace palettor {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;
using test::FakeLabel;
using test::FakeListView;
using test::Fixture;

// Counts rereads of the file.
class CountingResource : public TVersionInfoResource {
 public:
  void ReadVersionInfo() override {
    ++reads;
    TVersionInfoResource::ReadVersionInfo();
  }
  int reads = 0;
};

std::unique_ptr<TVersionInfoResource> Loaded(const std::string& file) {
  auto info = std::make_unique<TVersionInfoResource>();
  info->SetFilename(file);
  return info;
}

TEST(VersionInfoResource, ReadsNothingUntilAskedTo) {
  TVersionInfoResource info;
  EXPECT_EQ(info.VersionDataSize(), 0u);
  EXPECT_FALSE(info.FileVersion().Valid);
  EXPECT_FALSE(info.ProductVersion().Valid);
  EXPECT_EQ(info.ShowResource().Bits(), 2047);
  EXPECT_EQ(info.Filename(), "");
  EXPECT_FALSE(info.ForceEXE());
  EXPECT_EQ(info.ProductName(), "");
  EXPECT_EQ(info.Version(), "TVersionInfoResource v2.35");
}

TEST(VersionInfoResource, ReadsTheRunningExecutableByDefault) {
  TVersionInfoResource info;
  info.Loaded();
  ASSERT_NE(info.VersionDataSize(), 0u);
  EXPECT_EQ(info.Translations(), std::vector<std::string>{"080904E4"});
  EXPECT_EQ(info.CompanyName(), "Quillon");
  EXPECT_EQ(info.ProductName(), "Palettor");
  EXPECT_EQ(info.InternalName(), "Palettor");
  EXPECT_EQ(info.OriginalFilename(), "Palettor.exe");
  EXPECT_EQ(info.Comments(), "2001 Dec 12");
  EXPECT_EQ(info.FileVersion().AsText(), "1.0.6.8");
  EXPECT_EQ(info.ProductVersion().AsText(), "1.0");
  EXPECT_EQ(info.FixedInfo().FileVersionMS(), 0x00010000u);
  EXPECT_EQ(info.FixedInfo().FileVersionLS(), 0x00060008u);
  EXPECT_EQ(info.BuildFlagsText(), "");
}

TEST(VersionInfoResource, ListsItsOwnResourceInRowOrder) {
  FakeListView view;
  TVersionInfoResource info;
  info.SetVersionListView(&view);
  info.Loaded();
  EXPECT_TRUE(view.reportStyle);
  EXPECT_EQ(view.columns, (std::vector<std::pair<std::string, int>>{{"Resource", -2}, {"Value", -2}}));
  EXPECT_EQ(view.rows, (Rows{{"Product Name", "Palettor"},
                             {"Product Version", "1.0"},
                             {"Company Name", "Quillon"},
                             {"Legal Copyright", "Copyright \xC2\xA9 2001 Quillon"},
                             {"Legal Trademarks", "Palettor and Skyreader are trademarks of Quillon"},
                             {"File Description", "Palettor for Skyreader - Colour look-up table maker"},
                             {"File Version", "1.0.6.8"},
                             {"Internal Name", "Palettor"},
                             {"Original Filename", "Palettor.exe"},
                             {"Comments", "2001 Dec 12"}}));
}

TEST(VersionInfoResource, ValuesComeFromTheFirstOfTwoTranslations) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("two_translations-64.exe"));
  EXPECT_EQ(info->Translations(), (std::vector<std::string>{"080904E4", "040704B0"}));
  EXPECT_EQ(info->TranslationIndex(), 0);
  EXPECT_EQ(info->CompanyName(), "Quillon Ltd");
  EXPECT_EQ(info->ValueByKey("web site"), "www.quillon.example");
  EXPECT_EQ(info->ValueByKey("Nonexistent"), "");
}

TEST(VersionInfoResource, NeutralTranslationReadsTheUsEnglishTable) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("neutral_translation-32.exe"));
  EXPECT_EQ(info->Translations(), std::vector<std::string>{"040904E4"});
  EXPECT_EQ(info->CompanyName(), "US English table");
}

TEST(VersionInfoResource, WithoutTranslationsLooksInTheUsEnglishTable) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("no_translation-64.exe"));
  EXPECT_TRUE(info->Translations().empty());
  EXPECT_EQ(info->ProductName(), "Fallback");
}

TEST(VersionInfoResource, FileVersionFromNumbersWhenTheTextIsMissing) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("no_file_version-64.exe"));
  EXPECT_EQ(info->FileVersion().AsText(), "1.0.6.8");
  EXPECT_EQ(info->ProductVersion().AsText(), "1.0");  // the text wins over 3.2.1.0
  EXPECT_EQ(info->ProductVersion().Part(0), 3);
  EXPECT_EQ(info->ProductVersion().Part(1), 2);
}

TEST(VersionInfoResource, NonAsciiTextArrivesAsUtf8) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("non_ascii-32.exe"));
  EXPECT_EQ(info->CompanyName(),
            "Stra\xC3\x9F"
            "e & S\xC3\xB6hne");
  EXPECT_EQ(info->FileVersion().AsText(), "65535.65535.65535.65535");
}

struct FlagsCase {
  const char* file;
  const char* text;
};

void PrintTo(const FlagsCase& c, std::ostream* os) { *os << c.file; }

class BuildFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(BuildFlags, NameThePresentFlagsInSetOrder) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeListView view;
  const auto info = Loaded(Fixture(GetParam().file));
  info->SetVersionListView(&view);
  EXPECT_EQ(info->BuildFlagsText(), GetParam().text);
  bool hasRow = false;
  for (const auto& [caption, value] : view.rows) {
    if (caption == "Build Flags") {
      hasRow = true;
      EXPECT_EQ(value, GetParam().text);
    }
  }
  EXPECT_EQ(hasRow, std::string(GetParam().text) != "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, BuildFlags,
    ::testing::Values(FlagsCase{"all_flags-64.exe", "Debug, Info Inferred, Patched, Pre-Release, Private, Special"},
                      FlagsCase{"all_flags-64.dll", "Debug, Info Inferred, Patched, Pre-Release, Private, Special"},
                      FlagsCase{"odd_flags-32.exe", "Info Inferred, Pre-Release"}, FlagsCase{"unknown_flag-64.exe", ""},
                      FlagsCase{"two_translations-32.exe", ""}),
    test::CaseName<FlagsCase>);

TEST(FixedFileVersionInfo, MapsEachBitToItsFlag) {
  // dwFileFlags bit → set position, the mapping the Windows headers define.
  const std::pair<std::uint32_t, TVersionFileFlag> kMapping[] = {{0x01, ffDebug},        {0x02, ffPreRelease},
                                                                 {0x04, ffPatched},      {0x08, ffPrivateBuild},
                                                                 {0x10, ffInfoInferred}, {0x20, ffSpecialBuild}};
  for (const auto& [bit, flag] : kMapping) {
    VsFixedFileInfo record{};
    record.dwFileFlags = bit;
    record.dwFileFlagsMask = 0;  // the mask is not applied
    TFixedFileVersionInfo fixed(nullptr);
    fixed.FixedData = &record;
    EXPECT_EQ(fixed.FileFlags(), FlagBit(flag)) << bit;
  }
  TFixedFileVersionInfo none(nullptr);
  EXPECT_EQ(none.FileFlags(), 0);
  EXPECT_EQ(none.FileVersionMS(), 0u);
  EXPECT_EQ(none.ProductVersionLS(), 0u);
}

class WithoutResource : public ::testing::TestWithParam<const char*> {};

TEST_P(WithoutResource, ShowsEverythingEmpty) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeLabel copyright, version;
  FakeListView view;
  TVersionInfoResource info;
  info.SetCopyrightLabel(&copyright);
  info.SetVersionLabel(&version);
  info.SetVersionListView(&view);
  info.SetFilename(Fixture(GetParam()));
  EXPECT_EQ(info.VersionDataSize(), 0u);
  EXPECT_FALSE(info.FileVersion().Valid);
  EXPECT_EQ(info.FileVersion().AsText(), "");
  EXPECT_EQ(info.ProductVersion().AsText(), "");
  EXPECT_EQ(info.ValueByKey("ProductName"), "");
  EXPECT_EQ(info.FixedInfo().FileFlags(), 0);
  EXPECT_EQ(copyright.text, "");
  EXPECT_EQ(version.text, "");
  EXPECT_EQ(view.columns.size(), 2u);
  EXPECT_TRUE(view.rows.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, WithoutResource,
                         ::testing::Values("wrong_id-64.exe", "truncated-64.exe", "missing.exe", "two_translations.rc"),
                         test::CaseName<const char*>);

TEST(VersionInfoResource, RereadingAfterAGoodFileForgetsIt) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("two_translations-64.exe"));
  ASSERT_FALSE(info->Translations().empty());
  info->SetFilename(Fixture("truncated-64.exe"));
  EXPECT_TRUE(info->Translations().empty());
  EXPECT_EQ(info->CompanyName(), "");
  EXPECT_EQ(info->FixedInfo().FileVersionMS(), 0u);
}

TEST(VersionInfoResource, IndexesOutsideThePredefinedItemsAreEmpty) {
  SKIP_WITHOUT_PE_FIXTURES();
  const auto info = Loaded(Fixture("two_translations-64.exe"));
  EXPECT_EQ(info->ValueByIndex(-1), "");
  EXPECT_EQ(info->ValueByIndex(11), "");
  EXPECT_EQ(info->ValueByIndex(pdCompanyName), "Quillon Ltd");
}

TEST(VersionNumberInformation, PartsAndText) {
  TVersionNumberInformation number(0x00010000, 0x00060008);
  EXPECT_EQ(number.Part(0), 0);  // not valid yet
  EXPECT_EQ(number.AsText(), "");
  number.Text = "set but not valid";
  EXPECT_EQ(number.AsText(), "");
  number.Valid = true;
  number.Text.clear();
  EXPECT_EQ(number.Part(0), 1);
  EXPECT_EQ(number.Part(1), 0);
  EXPECT_EQ(number.Part(2), 6);
  EXPECT_EQ(number.Part(3), 8);
  EXPECT_EQ(number.Part(4), 0);
  EXPECT_EQ(number.Part(-1), 0);
  EXPECT_EQ(number.AsText(), "1.0.6.8");
  number.Text = "1.0";
  EXPECT_EQ(number.AsText(), "1.0");
}

TEST(VersionInfoResource, LinkingALabelTakesItsItemOutOfTheList) {
  TVersionInfoResource info;
  FakeLabel label;
  info.SetCopyrightLabel(&label);
  EXPECT_FALSE(info.ShowResource().Contains(pdLegalCopyright));
  info.SetCopyrightLabel(nullptr);
  EXPECT_FALSE(info.ShowResource().Contains(pdLegalCopyright));
  EXPECT_EQ(info.CopyrightLabel(), nullptr);

  const std::pair<void (TVersionInfoResource::*)(TLabelTarget*), TPreDef> kLinks[] = {
      {&TVersionInfoResource::SetVersionLabel, pdFileVersion},
      {&TVersionInfoResource::SetDescriptionLabel, pdFileDescription},
      {&TVersionInfoResource::SetProductLabel, pdProductName}};
  for (const auto& [link, item] : kLinks) {
    EXPECT_TRUE(info.ShowResource().Contains(item));
    (info.*link)(&label);
    EXPECT_FALSE(info.ShowResource().Contains(item));
  }
  FakeListView view;
  const TPreDefs before = info.ShowResource();
  info.SetVersionListView(&view);
  EXPECT_EQ(info.ShowResource(), before);
}

TEST(VersionInfoResource, LabelsShowTheirItemsAndTheListTheRest) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeLabel version, copyright, product, description;
  FakeListView view;
  TVersionInfoResource info;
  info.SetVersionLabel(&version);
  info.SetCopyrightLabel(&copyright);
  info.SetProductLabel(&product);
  info.SetDescriptionLabel(&description);
  info.SetVersionListView(&view);
  info.SetFilename(Fixture("two_translations-32.exe"));
  EXPECT_EQ(version.text, "2.5.0.1");
  EXPECT_EQ(copyright.text, "");
  EXPECT_EQ(product.text, "Twin");
  EXPECT_EQ(description.text, "Two languages");
  EXPECT_EQ(view.rows, (Rows{{"Product Version", "2.5"}, {"Company Name", "Quillon Ltd"}}));
}

TEST(VersionInfoResource, EmptyShowResourceGivesOnlyTheColumns) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeListView view;
  TVersionInfoResource info;
  info.SetVersionListView(&view);
  info.SetShowResource(TPreDefs{});
  info.SetFilename(Fixture("two_translations-64.exe"));
  EXPECT_EQ(view.columns.size(), 2u);
  EXPECT_TRUE(view.rows.empty());
}

TEST(VersionInfoResource, RefreshesOnlyOnChangedShowResourceButRereadsOnEveryFilename) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeListView view;
  CountingResource info;
  info.SetVersionListView(&view);
  const int fillsAfterLink = view.fills;
  info.SetShowResource(info.ShowResource());
  EXPECT_EQ(view.fills, fillsAfterLink);
  info.SetShowResource(TPreDefs{pdCompanyName});
  EXPECT_EQ(view.fills, fillsAfterLink + 1);

  info.SetFilename(Fixture("two_translations-64.exe"));
  info.SetFilename(Fixture("two_translations-64.exe"));
  EXPECT_EQ(info.reads, 2);
  info.SetForceEXE(false);
  EXPECT_EQ(info.reads, 2);
  info.SetForceEXE(true);
  EXPECT_EQ(info.reads, 3);
  EXPECT_EQ(view.rows, (Rows{{"Company Name", "Quillon Ltd"}}));
}

TEST(VersionInfoResource, WhileLoadingReadsButLeavesTargetsAlone) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeLabel product;
  CountingResource info;
  info.BeginLoading();
  info.SetProductLabel(&product);
  info.SetFilename(Fixture("two_translations-64.exe"));
  EXPECT_EQ(info.reads, 1);
  EXPECT_EQ(product.writes, 0);
  info.Loaded();
  EXPECT_FALSE(info.Loading());
  EXPECT_EQ(info.reads, 2);
  EXPECT_EQ(product.text, "Twin");
}

TEST(VersionInfoResource, DestroyedLabelIsUnlinkedAndSkipped) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeLabel copyright;
  TVersionInfoResource info;
  info.SetCopyrightLabel(&copyright);
  {
    FakeLabel product;
    info.SetProductLabel(&product);
    info.SetVersionLabel(&product);
  }
  EXPECT_EQ(info.ProductLabel(), nullptr);
  EXPECT_EQ(info.VersionLabel(), nullptr);
  EXPECT_EQ(info.CopyrightLabel(), &copyright);
  info.SetFilename(Fixture("two_translations-64.exe"));  // would write to the freed label if still linked
  EXPECT_EQ(copyright.text, "");
}

TEST(VersionInfoResource, DestroyedListViewIsUnlinked) {
  SKIP_WITHOUT_PE_FIXTURES();
  TVersionInfoResource info;
  {
    FakeListView view;
    info.SetVersionListView(&view);
  }
  EXPECT_EQ(info.VersionListView(), nullptr);
  info.SetFilename(Fixture("two_translations-64.exe"));
}

TEST(VersionInfoResource, TargetOutlivingTheComponentDoesNotCallBack) {
  SKIP_WITHOUT_PE_FIXTURES();
  FakeLabel label;
  {
    TVersionInfoResource info;
    info.SetProductLabel(&label);
    info.SetFilename(Fixture("two_translations-64.exe"));
  }
  EXPECT_EQ(label.text, "Twin");  // and destroying it now must not reach the freed component
}

struct StringCase {
  std::uint32_t id;
  const char* text;
};

void PrintTo(const StringCase& c, std::ostream* os) { *os << c.id; }

class StringTable : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringTable, HoldsTheCaption) { EXPECT_EQ(LoadResString(GetParam().id), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Ids, StringTable,
                         ::testing::Values(StringCase{65520, "Debug"}, StringCase{65521, "Info Inferred"},
                                           StringCase{65522, "Patched"}, StringCase{65523, "Pre-Release"},
                                           StringCase{65524, "Private"}, StringCase{65525, "Special"},
                                           StringCase{65526, "Resource"}, StringCase{65527, "Value"},
                                           StringCase{65528, "Company Name"}, StringCase{65529, "File Description"},
                                           StringCase{65530, "File Version"}, StringCase{65531, "Internal Name"},
                                           StringCase{65532, "Legal Copyright"}, StringCase{65533, "Legal Trademarks"},
                                           StringCase{65534, "Original Filename"}, StringCase{65535, "Product Name"},
                                           StringCase{65504, "Product Version"}, StringCase{65505, "Comments"},
                                           StringCase{65506, "Build Flags"}, StringCase{65507, ""}, StringCase{0, ""}),
                         test::CaseName<StringCase>);

TEST(StringTable, CaptionTablesFollowTheItemOrder) {
  EXPECT_EQ(VersionCaptions()[pdCompanyName], "Company Name");
  EXPECT_EQ(VersionCaptions()[pdProductName], "Product Name");
  EXPECT_EQ(VersionCaptions()[pdProductVersion], "Product Version");
  EXPECT_EQ(VersionCaptions()[pdBuildFlags], "Build Flags");
  EXPECT_EQ(FlagCaptions()[ffDebug], "Debug");
  EXPECT_EQ(FlagCaptions()[ffSpecialBuild], "Special");
}

}  // namespace
}  // namespace palettor
