#include "RecoveryRecord.h"

#include "ProcessIdentity.h"
#include "Registry.h"
#include "RegistryTransaction.h"
#include "RegistryVariables.h"
#include "SettingsCatalogue.h"

namespace palettor {

namespace {

const char* SessionName() { return Setting(SettingId::RecoverySession).name; }

}  // namespace

std::string RecoveryKeyPath(const CurrentUserRegistry& registry) {
  return SettingsKeyPath(registry) + "\\" + kRecoverySubkey;
}

void WriteRecoveryRecord(const CurrentUserRegistry& registry, const Palette& palette) {
  RegistryTransaction batch(registry.Store(), RegistryTransactionMode::Write);
  TRegistry record(registry.Store());
  const std::string key = RecoveryKeyPath(registry);
  if (!record.OpenKey(key, true)) throw ERegistryException("cannot create the key " + key);
  record.WriteString(SessionName(), ThisProcessIdentity());
  for (const SettingId id : RecordedPalette()) record.WriteInteger(Setting(id).name, PaletteValue(palette, id));
  batch.Commit();
}

namespace {

std::optional<RecoveryRecord> ReadFrom(TRegistry& record, const std::string& key) {
  if (!record.KeyExists(key) || !record.OpenKey(key, false)) return std::nullopt;
  RecoveryRecord found;
  if (record.GetDataType(SessionName()) == RegDataType::String) found.session = record.ReadString(SessionName());
  Palette palette;
  for (const SettingId id : RecordedPalette()) {
    const char* name = Setting(id).name;
    if (record.GetDataType(name) != RegDataType::Dword) return found;
    const std::int32_t value = record.ReadInteger(name);
    if (value < Setting(id).min || value > Setting(id).max) return found;
    SetPaletteValue(palette, id, value);
  }
  palette.tailPercent = TailPositionOf(palette.tailPercent);
  found.palette = palette;
  return found;
}

}  // namespace

std::optional<RecoveryRecord> ReadRecoveryRecord(const CurrentUserRegistry& registry) {
  RegistryTransaction snapshot(registry.Store(), RegistryTransactionMode::Read);
  TRegistry record(registry.Store(), KEY_READ);
  auto found = ReadFrom(record, RecoveryKeyPath(registry));
  snapshot.Commit();
  return found;
}

bool LeftBehind(const RecoveryRecord& record) { return !ProcessRuns(record.session); }

void DropRecoveryRecord(const CurrentUserRegistry& registry, const std::string& session) {
  RegistryTransaction batch(registry.Store(), RegistryTransactionMode::Write);
  TRegistry record(registry.Store());
  const std::string key = RecoveryKeyPath(registry);
  const auto found = ReadRecoveryRecord(registry);
  if (found && found->session == session) record.DeleteKey(key);
  batch.Commit();
}

void DropOwnRecoveryRecord(const CurrentUserRegistry& registry) { DropRecoveryRecord(registry, ThisProcessIdentity()); }

}  // namespace palettor
