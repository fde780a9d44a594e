#pragma once
// The window's recovery record: while the window runs, the palette it shows is also kept in the
// subkey kRecoverySubkey of its settings key, with the session that wrote it, so that a window
// that ends without storing (a crash, a kill, a store held at close) does not take the session's
// palette with it. The values are those of RecoveryCatalogue() and RecordedPalette(); a clean
// close removes the record, and the next window offers back one that an ended session left.
// The window's 27 values themselves are stored at close only.
#include <optional>
#include <string>

#include "CurrentUserRegistry.h"
#include "Palette.h"

namespace palettor {

struct RecoveryRecord {
  std::string session;             // ThisProcessIdentity() of the window that wrote it
  std::optional<Palette> palette;  // empty when a value is missing or of another type
};

// SettingsKeyPath(registry) + "\Recovery".
std::string RecoveryKeyPath(const CurrentUserRegistry& registry);

// Replaces the record with `palette`, written by this process, in one transaction. Throws
// ERegistryException when the store cannot be written.
void WriteRecoveryRecord(const CurrentUserRegistry& registry, const Palette& palette);

// The record, or std::nullopt when there is none. Creates and writes nothing; throws
// ERegistryException when the store cannot be read.
std::optional<RecoveryRecord> ReadRecoveryRecord(const CurrentUserRegistry& registry);

// Whether the session that wrote the record has ended, so that it was left behind.
bool LeftBehind(const RecoveryRecord& record);

// Removes the record if `session` wrote it, in one transaction (inside the caller's, when one is
// open). Throws ERegistryException when the store cannot be written.
void DropRecoveryRecord(const CurrentUserRegistry& registry, const std::string& session);
// The same for the record this process wrote.
void DropOwnRecoveryRecord(const CurrentUserRegistry& registry);

}  // namespace palettor
