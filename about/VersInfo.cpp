#include "VersInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ExecutablePath.h"
#include "VersionStrings.h"

namespace palettor {

namespace {

// dwFileFlags bit of each TVersionFileFlag, in set order.
constexpr std::array<std::uint32_t, kVersionFileFlagCount> kFlagBits = {0x01, 0x10, 0x04, 0x02, 0x08, 0x20};

// Rows of the list view, top to bottom.
constexpr std::array<TPreDef, kPreDefCount> kListOrder = {
    pdProductName, pdProductVersion, pdCompanyName,      pdLegalCopyright, pdLegalTrademarks, pdFileDescription,
    pdFileVersion, pdInternalName,   pdOriginalFilename, pdBuildFlags,     pdComments};

constexpr const char* kFallbackTranslation = "040904E4";
constexpr std::uint16_t kNeutralLanguageReplacement = 0x0409;
constexpr std::uint16_t kNoCodePageReplacement = 0x04E4;

}  // namespace

const std::array<std::string, kPreDefCount>& VersionCaptions() {
  static const std::array<std::string, kPreDefCount> captions = [] {
    std::array<std::string, kPreDefCount> table;
    for (int i = 0; i < kPreDefCount; ++i) {
      const auto id = i <= pdProductName ? kItemCaptionIds + static_cast<std::uint32_t>(i)
                                         : kLateItemCaptionIds + static_cast<std::uint32_t>(i - pdProductVersion);
      table[static_cast<std::size_t>(i)] = LoadResString(id);
    }
    return table;
  }();
  return captions;
}

const std::array<std::string, kVersionFileFlagCount>& FlagCaptions() {
  static const std::array<std::string, kVersionFileFlagCount> captions = [] {
    std::array<std::string, kVersionFileFlagCount> table;
    for (std::size_t i = 0; i < table.size(); ++i) {
      table[i] = LoadResString(kFlagCaptionIds + static_cast<std::uint32_t>(i));
    }
    return table;
  }();
  return captions;
}

// ---- TFixedFileVersionInfo ----

std::uint32_t TFixedFileVersionInfo::Field(std::uint32_t VsFixedFileInfo::*field) const {
  if (FixedData == nullptr) return 0;
  // The record sits in a byte buffer; copy it out rather than read through a cast pointer.
  VsFixedFileInfo record;
  std::memcpy(&record, FixedData, sizeof record);
  return record.*field;
}

std::uint32_t TFixedFileVersionInfo::FileVersionMS() const { return Field(&VsFixedFileInfo::dwFileVersionMS); }
std::uint32_t TFixedFileVersionInfo::FileVersionLS() const { return Field(&VsFixedFileInfo::dwFileVersionLS); }
std::uint32_t TFixedFileVersionInfo::ProductVersionMS() const { return Field(&VsFixedFileInfo::dwProductVersionMS); }
std::uint32_t TFixedFileVersionInfo::ProductVersionLS() const { return Field(&VsFixedFileInfo::dwProductVersionLS); }

TVersionFileFlags TFixedFileVersionInfo::FileFlags() const {
  const std::uint32_t bits = Field(&VsFixedFileInfo::dwFileFlags);
  TVersionFileFlags flags = 0;
  for (std::size_t i = 0; i < kFlagBits.size(); ++i) {
    if ((bits & kFlagBits[i]) != 0) flags = static_cast<TVersionFileFlags>(flags | (1u << i));
  }
  return flags;
}

// ---- TVersionNumberInformation ----

std::uint16_t TVersionNumberInformation::Part(int index) const {
  if (!Valid) return 0;
  switch (index) {
    case 0: return static_cast<std::uint16_t>(MS >> 16);
    case 1: return static_cast<std::uint16_t>(MS & 0xFFFF);
    case 2: return static_cast<std::uint16_t>(LS >> 16);
    case 3: return static_cast<std::uint16_t>(LS & 0xFFFF);
    default: return 0;
  }
}

std::string TVersionNumberInformation::AsText() const {
  if (!Valid) return {};
  if (!Text.empty()) return Text;
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned{Part(0)}, unsigned{Part(1)}, unsigned{Part(2)},
                unsigned{Part(3)});
  return text;
}

// ---- TVersionInfoResource ----

TVersionInfoResource::TVersionInfoResource()
    : FFixedInfo(std::make_unique<TFixedFileVersionInfo>(this)),
      fileVersion_(std::make_unique<TVersionNumberInformation>(0, 0)),
      productVersion_(std::make_unique<TVersionNumberInformation>(0, 0)) {}

TVersionInfoResource::~TVersionInfoResource() {
  for (TVersionTarget* target : notifiers_) target->RemoveFreeNotification(this);
  FFixedInfo->FixedData = nullptr;
}

void TVersionInfoResource::Loaded() {
  loading_ = false;
  ReadVersionInfo();
}

void TVersionInfoResource::Notification(TVersionTarget* target, TOperation operation) {
  if (operation != TOperation::opRemove || target == nullptr) return;
  notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), target), notifiers_.end());
  if (versionLabel_ == target) versionLabel_ = nullptr;
  if (copyrightLabel_ == target) copyrightLabel_ = nullptr;
  if (productLabel_ == target) productLabel_ = nullptr;
  if (descriptionLabel_ == target) descriptionLabel_ = nullptr;
  if (versionListView_ == target) versionListView_ = nullptr;
}

void TVersionInfoResource::SetFilename(const std::string& value) {
  filename_ = value;
  ReadVersionInfo();
}

void TVersionInfoResource::SetForceEXE(bool value) {
  if (value == forceExe_) return;
  forceExe_ = value;
  ReadVersionInfo();
}

void TVersionInfoResource::Link(TVersionTarget* target) {
  target->FreeNotification(this);
  if (std::find(notifiers_.begin(), notifiers_.end(), target) == notifiers_.end()) notifiers_.push_back(target);
}

void TVersionInfoResource::SetVersionLabel(TLabelTarget* label) {
  versionLabel_ = label;
  if (label == nullptr) return;
  Link(label);
  showResource_.Exclude(pdFileVersion);
  RefreshTargets();
}

void TVersionInfoResource::SetVersionListView(TListViewTarget* listView) {
  versionListView_ = listView;
  if (listView == nullptr) return;
  Link(listView);
  RefreshTargets();
}

void TVersionInfoResource::SetDescriptionLabel(TLabelTarget* label) {
  descriptionLabel_ = label;
  if (label == nullptr) return;
  Link(label);
  showResource_.Exclude(pdFileDescription);
  RefreshTargets();
}

void TVersionInfoResource::SetCopyrightLabel(TLabelTarget* label) {
  copyrightLabel_ = label;
  if (label == nullptr) return;
  Link(label);
  showResource_.Exclude(pdLegalCopyright);
  RefreshTargets();
}

void TVersionInfoResource::SetProductLabel(TLabelTarget* label) {
  productLabel_ = label;
  if (label == nullptr) return;
  Link(label);
  showResource_.Exclude(pdProductName);
  RefreshTargets();
}

void TVersionInfoResource::SetShowResource(TPreDefs value) {
  if (value == showResource_) return;
  showResource_ = value;
  RefreshTargets();
}

std::string TVersionInfoResource::ValueByKey(const std::string& key) const {
  const std::string translation =
      FTranslationIndex >= 0 && static_cast<std::size_t>(FTranslationIndex) < FTranslations.size()
          ? FTranslations[static_cast<std::size_t>(FTranslationIndex)]
          : kFallbackTranslation;
  if (!FVersionData) return {};
  const std::string path = "\\StringFileInfo\\" + translation + "\\" + key;
  void* text = nullptr;
  std::uint32_t length = 0;
  if (!VerQueryValueA(FVersionData.get(), path.c_str(), &text, &length)) return {};
  return static_cast<const char*>(text);
}

std::string TVersionInfoResource::ValueByIndex(int index) const {
  if (index < 0 || index >= kPreDefCount) return {};
  return ValueByKey(VersionKeys[static_cast<std::size_t>(index)]);
}

std::string TVersionInfoResource::ResolveFileName() const {
  if (!filename_.empty()) return filename_;
  // The component is linked into the executable itself, never into a loadable library, so the module
  // that holds it is the running executable whatever ForceEXE says. It is read through the process's
  // own link to it, which still opens it after a package upgrade has replaced the file.
  return kRunningExecutableFile;
}

void TVersionInfoResource::ReadVersionInfo() {
  FTranslations.clear();
  FFixedInfo->FixedData = nullptr;
  FVersionData.reset();

  const std::string name = ResolveFileName();
  std::uint32_t handle = 0;
  FVersionDataSize = GetFileVersionInfoSizeA(name.c_str(), &handle);
  if (FVersionDataSize != 0) {
    FVersionData = std::make_unique<std::uint8_t[]>(FVersionDataSize);
    if (!GetFileVersionInfoA(name.c_str(), handle, FVersionDataSize, FVersionData.get())) {
      // The file changed between the two calls; it counts as having no resource.
      FVersionData.reset();
      FVersionDataSize = 0;
    }
  }
  if (FVersionDataSize == 0) {
    FileVersion().Valid = false;
    ProductVersion().Valid = false;
    RefreshTargets();
    return;
  }

  void* value = nullptr;
  std::uint32_t length = 0;
  if (VerQueryValueA(FVersionData.get(), "\\", &value, &length) && length >= sizeof(VsFixedFileInfo)) {
    FFixedInfo->FixedData = static_cast<const VsFixedFileInfo*>(value);
  }
  if (VerQueryValueA(FVersionData.get(), "\\VarFileInfo\\Translation", &value, &length)) {
    const auto* entries = static_cast<const std::uint8_t*>(value);
    for (std::uint32_t i = 0; i < length / 4; ++i) {
      const std::uint8_t* entry = entries + 4 * i;
      std::uint16_t language = static_cast<std::uint16_t>(entry[0] | (entry[1] << 8));
      std::uint16_t codePage = static_cast<std::uint16_t>(entry[2] | (entry[3] << 8));
      if (language == 0) language = kNeutralLanguageReplacement;
      if (codePage == 0) codePage = kNoCodePageReplacement;
      char text[9];
      std::snprintf(text, sizeof text, "%.4X%.4X", unsigned{language}, unsigned{codePage});
      FTranslations.emplace_back(text);
    }
  }
  if (FTranslationIndex < 0 || static_cast<std::size_t>(FTranslationIndex) >= FTranslations.size()) {
    FTranslationIndex = 0;
  }

  FileVersion().Valid = true;
  FileVersion().MS = FFixedInfo->FileVersionMS();
  FileVersion().LS = FFixedInfo->FileVersionLS();
  FileVersion().Text = ValueByIndex(pdFileVersion);
  ProductVersion().Valid = true;
  ProductVersion().MS = FFixedInfo->ProductVersionMS();
  ProductVersion().LS = FFixedInfo->ProductVersionLS();
  ProductVersion().Text = ValueByIndex(pdProductVersion);
  RefreshTargets();
}

std::string TVersionInfoResource::BuildFlagsText() const {
  const TVersionFileFlags flags = FFixedInfo->FileFlags();
  std::string text;
  for (int i = 0; i < kVersionFileFlagCount; ++i) {
    if ((flags & FlagBit(static_cast<TVersionFileFlag>(i))) == 0) continue;
    text += FlagCaptions()[static_cast<std::size_t>(i)];
    text += ", ";
  }
  if (!text.empty()) text.resize(text.size() - 2);
  return text;
}

void TVersionInfoResource::RefreshTargets() {
  if (loading_) return;
  if (versionLabel_ != nullptr) versionLabel_->SetText(FileVersion().AsText());
  if (copyrightLabel_ != nullptr) copyrightLabel_->SetText(ValueByIndex(pdLegalCopyright));
  if (productLabel_ != nullptr) productLabel_->SetText(ValueByIndex(pdProductName));
  if (descriptionLabel_ != nullptr) descriptionLabel_->SetText(ValueByIndex(pdFileDescription));
  if (versionListView_ != nullptr) FillListView();
}

std::string TVersionInfoResource::ValueShownFor(int index) const {
  switch (index) {
    case pdFileVersion: return FileVersion().AsText();
    case pdProductVersion: return ProductVersion().AsText();
    case pdBuildFlags: return BuildFlagsText();
    default: return ValueByIndex(index);
  }
}

void TVersionInfoResource::FillListView() {
  if (versionListView_ == nullptr) return;
  TListViewTarget& view = *versionListView_;
  view.ClearColumns();
  view.ClearItems();
  view.SetReportStyle();
  constexpr int kAutoWidth = -2;
  view.AddColumn(LoadResString(kResourceColumnId), kAutoWidth);
  view.AddColumn(LoadResString(kValueColumnId), kAutoWidth);
  for (const TPreDef item : kListOrder) {
    if (!showResource_.Contains(item)) continue;
    const std::string value = ValueShownFor(item);
    if (value.empty()) continue;
    view.AddItem(VersionCaptions()[static_cast<std::size_t>(item)], value);
  }
}

}  // namespace palettor
