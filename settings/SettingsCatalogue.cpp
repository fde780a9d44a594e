#include "SettingsCatalogue.h"

#include <algorithm>
#include <cctype>

#include "ColourRanges.h"

namespace palettor {

namespace {

using enum SettingId;
constexpr RegDataType kNumber = RegDataType::Dword;
constexpr RegDataType kText = RegDataType::String;

// Id, name, type, default (number, text), range, position in the shutdown write order and the
// palette file's member; the rows stand in the order the window loads them.
// clang-format off
constexpr std::array<SettingEntry, kSettingCount> kCatalogue = {{
    {HueM70,        "LUThueM70",        kNumber, kFirstRunMarker,       "", 0, kMaxHueDegrees, 3,  "anchors.M70.hue"},
    {SaturationM70, "LUTsatM70",        kNumber, kFirstRunMarker,       "", 0, kMaxPercent,    4,  "anchors.M70.saturation"},
    {HueM60,        "LUThueM60",        kNumber, 0,                     "", 0, kMaxHueDegrees, 5,  "anchors.M60.hue"},
    {SaturationM60, "LUTsatM60",        kNumber, 0,                     "", 0, kMaxPercent,    6,  "anchors.M60.saturation"},
    {HueM50,        "LUThueM50",        kNumber, 0,                     "", 0, kMaxHueDegrees, 7,  "anchors.M50.hue"},
    {SaturationM50, "LUTsatM50",        kNumber, 0,                     "", 0, kMaxPercent,    8,  "anchors.M50.saturation"},
    {HueM40,        "LUThueM40",        kNumber, 0,                     "", 0, kMaxHueDegrees, 9,  "anchors.M40.hue"},
    {SaturationM40, "LUTsatM40",        kNumber, 0,                     "", 0, kMaxPercent,    10, "anchors.M40.saturation"},
    {HueM30,        "LUThueM30",        kNumber, 0,                     "", 0, kMaxHueDegrees, 11, "anchors.M30.hue"},
    {SaturationM30, "LUTsatM30",        kNumber, 0,                     "", 0, kMaxPercent,    12, "anchors.M30.saturation"},
    {HueM20,        "LUThueM20",        kNumber, 0,                     "", 0, kMaxHueDegrees, 13, "anchors.M20.hue"},
    {SaturationM20, "LUTsatM20",        kNumber, 0,                     "", 0, kMaxPercent,    14, "anchors.M20.saturation"},
    {HueM10,        "LUThueM10",        kNumber, 0,                     "", 0, kMaxHueDegrees, 15, "anchors.M10.hue"},
    {SaturationM10, "LUTsatM10",        kNumber, 0,                     "", 0, kMaxPercent,    16, "anchors.M10.saturation"},
    {HueO0,         "LUThueO0",         kNumber, 0,                     "", 0, kMaxHueDegrees, 17, "anchors.O0.hue"},
    {SaturationO0,  "LUTsatO0",         kNumber, 0,                     "", 0, kMaxPercent,    18, "anchors.O0.saturation"},
    {HueP10,        "LUThueP10",        kNumber, 0,                     "", 0, kMaxHueDegrees, 19, "anchors.P10.hue"},
    {SaturationP10, "LUTsatP10",        kNumber, 0,                     "", 0, kMaxPercent,    20, "anchors.P10.saturation"},
    {HueP20,        "LUThueP20",        kNumber, 0,                     "", 0, kMaxHueDegrees, 21, "anchors.P20.hue"},
    {SaturationP20, "LUTsatP20",        kNumber, 0,                     "", 0, kMaxPercent,    22, "anchors.P20.saturation"},
    {HueP30,        "LUThueP30",        kNumber, 0,                     "", 0, kMaxHueDegrees, 23, "anchors.P30.hue"},
    {SaturationP30, "LUTsatP30",        kNumber, 0,                     "", 0, kMaxPercent,    24, "anchors.P30.saturation"},
    {HueP40,        "LUThueP40",        kNumber, 0,                     "", 0, kMaxHueDegrees, 25, "anchors.P40.hue"},
    {SaturationP40, "LUTsatP40",        kNumber, 0,                     "", 0, kMaxPercent,    26, "anchors.P40.saturation"},
    {TailPercent,   "LUTTailPercent",   kNumber, kDefaultTailPercent,   "", 0, kMaxPercent,    1,  "tailPercent"},
    {WhiteTop,      "LUTWhiteTop",      kNumber, kDefaultWhiteTop,      "", 0, 1,              2,  "whiteTop"},
    {SmoothColours, "LUTSmoothColours", kNumber, kDefaultSmoothColours, "", 0, 1,              0,  "smoothColours"},
}};

// The scale is stored as decimals, in degrees Celsius; a zoom of 0 fits the scene to the window.
constexpr std::array<SettingEntry, kPreviewValueCount> kPreviewCatalogue = {{
    {InfraredImage, "InfraredImage",    kText,   0,                     "",       0, 0,    0,  ""},
    {VisibleImage,  "VisibleImage",     kText,   0,                     "",       0, 0,    1,  ""},
    {ScaleBlack,    "ScaleBlack",       kText,   0,                     "40",     0, 0,    2,  ""},
    {ScaleWhite,    "ScaleWhite",       kText,   0,                     "-60",    0, 0,    3,  ""},
    {Zoom,          "Zoom",             kNumber, 100,                   "",       kMinZoomPercent, kMaxZoomPercent, 4, ""},
    {Simulation,    "Simulation",       kText,   0,                     "normal", 0, 0,    5,  ""},
}};

// Each entry holds an executable's full path.
constexpr std::array<SettingEntry, kAppPathValueCount> kAppPathCatalogue = {{
    {OwnAppPath,    "",                 kText,   0,                     "",       0, 0,    0,  ""},
    {ViewerAppPath, "Skyreader",        kText,   0,                     "",       0, 0,    1,  ""},
}};

// What a palette holds beyond the 27; absent values take their defaults, which leave the table
// as the 27 alone make it.
constexpr std::array<SettingEntry, kTableValueCount> kTableCatalogue = {{
    {NightFloorPercent, "NightFloorPercent", kNumber, kDefaultNightFloorPercent, "", 0, kMaxNightFloorPercent, 0, "nightFloorPercent"},
}};

// The session is the identity of the window's process (ThisProcessIdentity()), so that a record
// is known as left behind once that process has ended.
constexpr std::array<SettingEntry, kRecoveryValueCount> kRecoveryCatalogue = {{
    {RecoverySession, "Session",        kText,   0,                     "",       0, 0,    0,  ""},
}};
// clang-format on

// A table's rows stand in id order, from `first` on, and its write order names each row once.
template <std::size_t N>
constexpr bool IsTable(const std::array<SettingEntry, N>& rows, SettingId first) {
  std::array<bool, N> seen{};
  for (std::size_t i = 0; i < N; ++i) {
    if (Position(rows[i].id) != Position(first) + i) return false;
    if (rows[i].storeRank >= N || seen[rows[i].storeRank]) return false;
    seen[rows[i].storeRank] = true;
  }
  return true;
}
static_assert(IsTable(kCatalogue, HueM70));
static_assert(IsTable(kPreviewCatalogue, InfraredImage));
// The preview writes its rows as they stand.
static_assert(std::ranges::all_of(kPreviewCatalogue, [](const SettingEntry& row) {
  return row.storeRank == Position(row.id) - Position(InfraredImage);
}));
static_assert(IsTable(kAppPathCatalogue, OwnAppPath));
static_assert(IsTable(kTableCatalogue, NightFloorPercent));
// The table subkey's rows are written as they stand, after the 27.
static_assert(std::ranges::all_of(kTableCatalogue, [](const SettingEntry& row) {
  return row.storeRank == Position(row.id) - Position(NightFloorPercent);
}));
static_assert(IsTable(kRecoveryCatalogue, RecoverySession));

// The palette's rows name its members, the others none.
constexpr bool MembersNamedForThePaletteOnly() {
  for (const SettingEntry& entry : kCatalogue) {
    if (entry.fileMember[0] == '\0') return false;
  }
  for (const SettingEntry& entry : kTableCatalogue) {
    if (entry.fileMember[0] == '\0') return false;
  }
  for (const SettingEntry& entry : kPreviewCatalogue) {
    if (entry.fileMember[0] != '\0') return false;
  }
  return true;
}
static_assert(MembersNamedForThePaletteOnly());

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const std::array<SettingEntry, kSettingCount>& SettingsCatalogue() { return kCatalogue; }

const std::array<SettingEntry, kPreviewValueCount>& PreviewCatalogue() { return kPreviewCatalogue; }

const std::array<SettingEntry, kAppPathValueCount>& AppPathCatalogue() { return kAppPathCatalogue; }

const std::array<SettingEntry, kTableValueCount>& TableCatalogue() { return kTableCatalogue; }

const std::array<SettingEntry, kRecoveryValueCount>& RecoveryCatalogue() { return kRecoveryCatalogue; }

const std::array<SettingId, kSettingCount + kTableValueCount>& RecordedPalette() {
  static const auto ids = [] {
    std::array<SettingId, kSettingCount + kTableValueCount> palette{};
    for (std::size_t i = 0; i < kSettingCount; ++i) palette[i] = kCatalogue[i].id;
    for (std::size_t i = 0; i < kTableValueCount; ++i) palette[kSettingCount + i] = kTableCatalogue[i].id;
    return palette;
  }();
  return ids;
}

const SettingEntry& Setting(SettingId id) {
  std::size_t at = Position(id);
  if (at < kSettingCount) return kCatalogue[at];
  at -= kSettingCount;
  if (at < kPreviewValueCount) return kPreviewCatalogue[at];
  at -= kPreviewValueCount;
  if (at < kAppPathValueCount) return kAppPathCatalogue[at];
  at -= kAppPathValueCount;
  if (at < kTableValueCount) return kTableCatalogue[at];
  return kRecoveryCatalogue[at - kTableValueCount];
}

const std::array<std::size_t, kSettingCount>& SettingsStoreOrder() {
  static const auto order = [] {
    std::array<std::size_t, kSettingCount> positions{};
    for (std::size_t i = 0; i < kSettingCount; ++i) positions[kCatalogue[i].storeRank] = i;
    return positions;
  }();
  return order;
}

std::optional<SettingId> FindSetting(std::string_view name) {
  for (const SettingEntry& entry : kCatalogue) {
    if (SameName(entry.name, name)) return entry.id;
  }
  for (const SettingEntry& entry : kTableCatalogue) {
    if (SameName(entry.name, name)) return entry.id;
  }
  return std::nullopt;
}

std::int32_t PaletteValue(const Palette& palette, SettingId id) {
  switch (KindOf(id)) {
    case SettingKind::Percent: return palette.tailPercent;
    case SettingKind::Option: return (id == WhiteTop ? palette.whiteTop : palette.smoothColours) ? 1 : 0;
    case SettingKind::NightFloor: return palette.nightFloorPercent;
    case SettingKind::Other: return 0;
    default: break;
  }
  const AnchorValue& anchor = palette.anchors[AnchorSlot(AnchorOf(id))];
  return KindOf(id) == SettingKind::Hue ? anchor.hue : anchor.saturation;
}

void SetPaletteValue(Palette& palette, SettingId id, std::int32_t value) {
  switch (KindOf(id)) {
    case SettingKind::Percent: palette.tailPercent = value; return;
    case SettingKind::Option: (id == WhiteTop ? palette.whiteTop : palette.smoothColours) = value != 0; return;
    case SettingKind::NightFloor: palette.nightFloorPercent = value; return;
    case SettingKind::Other: return;
    default: break;
  }
  AnchorValue& anchor = palette.anchors[AnchorSlot(AnchorOf(id))];
  (KindOf(id) == SettingKind::Hue ? anchor.hue : anchor.saturation) = value;
}

std::string RangeText(SettingId id) {
  const SettingEntry& row = Setting(id);
  return std::to_string(row.min) + (KindOf(id) == SettingKind::Option ? " or " : " to ") + std::to_string(row.max);
}

std::int16_t TailPositionOf(std::int32_t stored) {
  const auto position = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(stored)));
  const SettingEntry& tail = kCatalogue[Position(TailPercent)];
  return std::clamp(position, static_cast<std::int16_t>(tail.min), static_cast<std::int16_t>(tail.max));
}

std::int32_t StoredTailPercentOf(std::int16_t position) { return position; }

const char* SourceName(SettingSource source) {
  switch (source) {
    case SettingSource::Stored: return "stored";
    case SettingSource::Default: return "default";
    case SettingSource::Factory: return "factory";
  }
  return "default";
}

}  // namespace palettor
