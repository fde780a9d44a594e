#pragma once
// TVersionInfoResource: reads the version-information block of a file (the running executable unless
// told otherwise), keeps it, and answers the fixed numbers, the text values of the current translation
// and a ready-made display of the predefined items, which it can also push into linked labels and a
// list view. Nothing is ever reported: whatever cannot be read shows as an empty value.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VersionApi.h"
#include "VersionTargets.h"

namespace palettor {

enum TPreDef : int {
  pdCompanyName,
  pdFileDescription,
  pdFileVersion,
  pdInternalName,
  pdLegalCopyright,
  pdLegalTrademarks,
  pdOriginalFilename,
  pdProductName,
  pdProductVersion,
  pdComments,
  pdBuildFlags,
};
inline constexpr int kPreDefCount = 11;

// A set of TPreDef, bit n for value n.
class TPreDefs {
 public:
  constexpr TPreDefs() = default;
  constexpr TPreDefs(std::initializer_list<TPreDef> items) {
    for (TPreDef item : items) bits_ = static_cast<std::uint16_t>(bits_ | Bit(item));
  }
  static constexpr TPreDefs All() { return FromBits(0x07FF); }
  static constexpr TPreDefs FromBits(std::uint16_t bits) {
    TPreDefs set;
    set.bits_ = bits;
    return set;
  }
  constexpr std::uint16_t Bits() const { return bits_; }
  constexpr bool Contains(TPreDef item) const { return (bits_ & Bit(item)) != 0; }
  constexpr void Exclude(TPreDef item) { bits_ = static_cast<std::uint16_t>(bits_ & ~Bit(item)); }
  constexpr bool operator==(const TPreDefs&) const = default;

 private:
  static constexpr std::uint16_t Bit(TPreDef item) { return static_cast<std::uint16_t>(1u << item); }
  std::uint16_t bits_ = 0;
};

enum TVersionFileFlag : int { ffDebug, ffInfoInferred, ffPatched, ffPreRelease, ffPrivateBuild, ffSpecialBuild };
inline constexpr int kVersionFileFlagCount = 6;
using TVersionFileFlags = std::uint8_t;  // bit n for TVersionFileFlag n
constexpr TVersionFileFlags FlagBit(TVersionFileFlag flag) { return static_cast<TVersionFileFlags>(1u << flag); }

// Key names of the predefined items, by TPreDef.
inline constexpr std::array<const char*, kPreDefCount> VersionKeys = {
    "CompanyName",      "FileDescription", "FileVersion",    "InternalName", "LegalCopyright", "LegalTrademarks",
    "OriginalFilename", "ProductName",     "ProductVersion", "Comments",     "BuildFlags"};
// Row captions and flag names, taken from the string table the first time they are needed.
const std::array<std::string, kPreDefCount>& VersionCaptions();
const std::array<std::string, kVersionFileFlagCount>& FlagCaptions();

class TVersionInfoResource;

// A view over the fixed-information record inside the component's block.
class TFixedFileVersionInfo {
 public:
  explicit TFixedFileVersionInfo(TVersionInfoResource* owner) : Owner(owner) {}

  std::uint32_t FileVersionMS() const;
  std::uint32_t FileVersionLS() const;
  std::uint32_t ProductVersionMS() const;
  std::uint32_t ProductVersionLS() const;
  TVersionFileFlags FileFlags() const;

  TVersionInfoResource* Owner;
  const VsFixedFileInfo* FixedData = nullptr;  // never owned; null without a complete record

 private:
  std::uint32_t Field(std::uint32_t VsFixedFileInfo::*field) const;
};

// A four-part version number; a non-empty Text replaces the numbers in AsText.
class TVersionNumberInformation {
 public:
  TVersionNumberInformation(std::uint32_t ms, std::uint32_t ls) : MS(ms), LS(ls) {}
  std::uint16_t Part(int index) const;
  std::string AsText() const;

  bool Valid = false;
  std::uint32_t MS;
  std::uint32_t LS;
  std::string Text;
};

class TVersionInfoResource : public TFreeNotifiable {
 public:
  TVersionInfoResource();
  virtual ~TVersionInfoResource();
  TVersionInfoResource(const TVersionInfoResource&) = delete;
  TVersionInfoResource& operator=(const TVersionInfoResource&) = delete;

  // The owner is building the component from its description: property writes are kept, but the
  // targets are left alone until Loaded, which then reads the file.
  void BeginLoading() { loading_ = true; }
  virtual void Loaded();
  bool Loading() const { return loading_; }

  void Notification(TVersionTarget* target, TOperation operation) override;

  std::string Version() const { return "TVersionInfoResource v2.35"; }
  void SetVersion(const std::string&) {}

  const std::string& Filename() const { return filename_; }
  void SetFilename(const std::string& value);  // rereads even when unchanged
  bool ForceEXE() const { return forceExe_; }
  void SetForceEXE(bool value);

  std::string CompanyName() const { return ValueByIndex(pdCompanyName); }
  std::string FileDescription() const { return ValueByIndex(pdFileDescription); }
  std::string InternalName() const { return ValueByIndex(pdInternalName); }
  std::string LegalCopyright() const { return ValueByIndex(pdLegalCopyright); }
  std::string LegalTrademarks() const { return ValueByIndex(pdLegalTrademarks); }
  std::string OriginalFilename() const { return ValueByIndex(pdOriginalFilename); }
  std::string ProductName() const { return ValueByIndex(pdProductName); }
  std::string Comments() const { return ValueByIndex(pdComments); }

  // Linking a target takes its item out of ShowResource (the label shows it instead of the list) and
  // refreshes; linking null only forgets the link.
  TLabelTarget* VersionLabel() const { return versionLabel_; }
  void SetVersionLabel(TLabelTarget* label);
  TListViewTarget* VersionListView() const { return versionListView_; }
  void SetVersionListView(TListViewTarget* listView);
  TLabelTarget* DescriptionLabel() const { return descriptionLabel_; }
  void SetDescriptionLabel(TLabelTarget* label);
  TLabelTarget* CopyrightLabel() const { return copyrightLabel_; }
  void SetCopyrightLabel(TLabelTarget* label);
  TLabelTarget* ProductLabel() const { return productLabel_; }
  void SetProductLabel(TLabelTarget* label);

  TPreDefs ShowResource() const { return showResource_; }
  void SetShowResource(TPreDefs value);

  TVersionNumberInformation& FileVersion() { return *fileVersion_; }
  const TVersionNumberInformation& FileVersion() const { return *fileVersion_; }
  TVersionNumberInformation& ProductVersion() { return *productVersion_; }
  const TVersionNumberInformation& ProductVersion() const { return *productVersion_; }
  const TFixedFileVersionInfo& FixedInfo() const { return *FFixedInfo; }

  // Translations of the block, "LLLLCCCC" in upper-case hexadecimal, language 0 read as 0409 and code
  // page 0 as 04E4.
  const std::vector<std::string>& Translations() const { return FTranslations; }
  int TranslationIndex() const { return FTranslationIndex; }
  // Size of the block buffer; 0 when the file has no readable version resource.
  std::uint32_t VersionDataSize() const { return FVersionDataSize; }

  std::string ValueByKey(const std::string& key) const;
  std::string ValueByIndex(int index) const;

  virtual std::string ResolveFileName() const;
  virtual void RefreshTargets();
  virtual void FillListView();
  virtual std::string BuildFlagsText() const;
  virtual void ReadVersionInfo();

 protected:
  std::unique_ptr<std::uint8_t[]> FVersionData;
  std::uint32_t FVersionDataSize = 0;
  std::vector<std::string> FTranslations;
  int FTranslationIndex = 0;
  std::unique_ptr<TFixedFileVersionInfo> FFixedInfo;

 private:
  void Link(TVersionTarget* target);
  std::string ValueShownFor(int index) const;

  std::string filename_;
  bool forceExe_ = false;
  std::unique_ptr<TVersionNumberInformation> fileVersion_;
  std::unique_ptr<TVersionNumberInformation> productVersion_;
  TLabelTarget* versionLabel_ = nullptr;
  TLabelTarget* copyrightLabel_ = nullptr;
  TListViewTarget* versionListView_ = nullptr;
  TLabelTarget* descriptionLabel_ = nullptr;
  TLabelTarget* productLabel_ = nullptr;
  TPreDefs showResource_ = TPreDefs::All();
  bool loading_ = false;
  std::vector<TVersionTarget*> notifiers_;  // targets that will tell us when they are destroyed
};

}  // namespace palettor
