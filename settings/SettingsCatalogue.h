#pragma once
// The one list of everything Palettor keeps between runs, as three tables of the same rows:
//   - the window's palette, 27 values in the settings key (SettingsKeyPath), in the order the
//     window loads them;
//   - the preview's six values in its subkey kPreviewSubkey, in the order it writes them;
//   - the program-location register (kAppPathsKey): the running program's own entry and the
//     viewer's, whose folder the table is saved into;
//   - the rest of the palette in the table's subkey kTableSubkey, beside (never among) the 27:
//     the night floor.
//   - the window's recovery record in its subkey kRecoverySubkey: the session that wrote it,
//     then the palette it shows under the palette's own names and types (RecordedPalette()).
// Each row gives a value's name, registry type, default, range, its place in its table's write
// order and, for the palette, the palette file's member that holds it. Everything that loads,
// stores, lists, changes, shows or checks one of these values reads its row.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Palette.h"
#include "RegistryBackend.h"

namespace palettor {

constexpr std::size_t kSettingCount = 2 * kAnchorCount + 3;
constexpr std::size_t kPreviewValueCount = 6;
constexpr std::size_t kAppPathValueCount = 2;
constexpr std::size_t kTableValueCount = 1;
constexpr std::size_t kRecoveryValueCount = 1;

// A blue-tail hue of this value means nothing was stored yet: the first-run rule.
constexpr std::int32_t kFirstRunMarker = -1;

// The preview's key below the settings key.
inline constexpr const char* kPreviewSubkey = "Preview";
// The key below the settings key of the palette's values that came after the 27.
inline constexpr const char* kTableSubkey = "Table";

// The recovery record's key below the settings key.
inline constexpr const char* kRecoverySubkey = "Recovery";
// The preview's zoom in percent of the scene's size, or kZoomToFit.
constexpr int kZoomToFit = 0;
constexpr int kMinZoomPercent = 5;
constexpr int kMaxZoomPercent = 3200;

// Every value Palettor keeps. The window's 27 come first, in their load order, so that an id
// of one of them is also its position in SettingsCatalogue().
// clang-format off
enum class SettingId : std::uint8_t {
  HueM70, SaturationM70, HueM60, SaturationM60, HueM50, SaturationM50,
  HueM40, SaturationM40, HueM30, SaturationM30, HueM20, SaturationM20,
  HueM10, SaturationM10, HueO0, SaturationO0, HueP10, SaturationP10,
  HueP20, SaturationP20, HueP30, SaturationP30, HueP40, SaturationP40,
  TailPercent, WhiteTop, SmoothColours,
  // The preview's.
  InfraredImage, VisibleImage, ScaleBlack, ScaleWhite, Zoom, Simulation,
  // The register's.
  OwnAppPath, ViewerAppPath,
  // The table subkey's.
  NightFloorPercent,
  // The recovery record's own.
  RecoverySession,
};
// clang-format on

constexpr std::size_t Position(SettingId id) { return static_cast<std::size_t>(id); }

// The hue and saturation settings of an anchor index -7 ... 4.
constexpr SettingId HueSetting(int anchor) { return static_cast<SettingId>(2 * AnchorSlot(anchor)); }
constexpr SettingId SaturationSetting(int anchor) { return static_cast<SettingId>(2 * AnchorSlot(anchor) + 1); }

enum class SettingKind {
  Hue,         // an anchor's hue in degrees (TRegistryInteger)
  Saturation,  // an anchor's saturation in percent (TRegistryInteger)
  Percent,     // the tail percent (TRegistryInteger), taken as the tail spinner takes it
  Option,      // a switch (TRegistryBoolean), 0 or 1
  NightFloor,  // the night floor in percent (TRegistryInteger), in the table subkey
  Other,       // a value outside the palette: the preview's, the register's
};

constexpr SettingKind KindOf(SettingId id) {
  if (Position(id) < 2 * kAnchorCount) return Position(id) % 2 == 0 ? SettingKind::Hue : SettingKind::Saturation;
  if (id == SettingId::TailPercent) return SettingKind::Percent;
  if (id == SettingId::WhiteTop || id == SettingId::SmoothColours) return SettingKind::Option;
  if (id == SettingId::NightFloorPercent) return SettingKind::NightFloor;
  return SettingKind::Other;
}

// The anchor index of a hue or saturation setting.
constexpr int AnchorOf(SettingId id) { return static_cast<int>(Position(id) / 2) + kFirstAnchor; }

struct SettingEntry {
  SettingId id;
  const char* name;           // registry value name; "" for the running program's own entry
  RegDataType type;           // REG_DWORD or REG_SZ
  std::int32_t defaultValue;  // REG_DWORD: what the value is when nothing usable is stored
  const char* defaultText;    // REG_SZ: likewise
  std::int32_t min, max;      // REG_DWORD: what the program lets the user set
  std::size_t storeRank;      // 0 is written first when the table is stored
  const char* fileMember;     // the palette file's member ("anchors.M70.hue"); "" outside the palette

  constexpr SettingKind Kind() const { return KindOf(id); }
  constexpr int Anchor() const { return AnchorOf(id); }
};

// In load order: hue and saturation of -7, of -6 ... 4, then the tail percent, White top and
// Smooth colours.
const std::array<SettingEntry, kSettingCount>& SettingsCatalogue();
// In the order they are written: the images, the scale, the zoom, the simulation.
const std::array<SettingEntry, kPreviewValueCount>& PreviewCatalogue();
// The running program's entry (named by its base name), then the viewer's.
const std::array<SettingEntry, kAppPathValueCount>& AppPathCatalogue();
// In the order they are written: the night floor.
const std::array<SettingEntry, kTableValueCount>& TableCatalogue();
// The recovery record's own values, written before the palette's.
const std::array<SettingEntry, kRecoveryValueCount>& RecoveryCatalogue();
// The palette's values a recovery record holds, in the order it writes them: every value of a
// palette, so that the record brings back all of it (the 27, then the table subkey's).
const std::array<SettingId, kSettingCount + kTableValueCount>& RecordedPalette();

const SettingEntry& Setting(SettingId id);

// Catalogue positions in the order the window writes them at shutdown.
const std::array<std::size_t, kSettingCount>& SettingsStoreOrder();

// The palette's setting of that name (ignoring case, as the registry does), one of the window's
// 27 or of the table subkey's values, if it is one.
std::optional<SettingId> FindSetting(std::string_view name);

// The value a palette holds for one of the window's settings (switches as 0 or 1), and the
// other way round; nothing for a value outside the palette.
std::int32_t PaletteValue(const Palette& palette, SettingId id);
void SetPaletteValue(Palette& palette, SettingId id, std::int32_t value);

// The range as help texts and messages give it: "MIN to MAX", or "MIN or MAX" for a switch.
std::string RangeText(SettingId id);

// The tail percent has three forms, converted here and nowhere else. Stored, it is a 32-bit
// number any program may have written; the window's spinner shows it as a 16-bit position
// within the row's range, which is what a Palette holds; the table takes that position as its
// percent as it is (TableInputsOf). Loading takes the stored number's low 16 bits as a signed
// position brought within the range; storing widens the position with its sign.
std::int16_t TailPositionOf(std::int32_t stored);
std::int32_t StoredTailPercentOf(std::int16_t position);

enum class SettingSource { Stored, Default, Factory };
const char* SourceName(SettingSource source);  // "stored", "default", "factory"

}  // namespace palettor
