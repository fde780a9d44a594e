#include "RegistryVariables.h"

#include "ApplicationExe.h"
#include "FileNames.h"
#include "Registry.h"

namespace palettor {

const char* const kSettingsKeyPrefix = "\\Software\\Quillon\\";
const char* const kAppPathsKey = "\\Software\\Quillon\\App Paths";

std::string ProgramBaseName(const CurrentUserRegistry& registry) {
  return ChangeFileExt(ExtractFileName(GetExeName(registry)), "");
}

std::string SettingsKeyPath(const CurrentUserRegistry& registry) {
  return kSettingsKeyPrefix + ProgramBaseName(registry);
}

TRegistryVariable::TRegistryVariable(const CurrentUserRegistry& registry, std::string valueName)
    : KeyPath(SettingsKeyPath(registry)), ValueName(std::move(valueName)), store_(registry.Store()) {}

TRegistryVariable::~TRegistryVariable() {
  if (!DeleteOnFree) return;
  try {
    TRegistry registry(store_, KEY_READ | KEY_WRITE);
    if (registry.OpenKey(KeyPath, true)) registry.DeleteValue(ValueName);
  } catch (...) {
    // A value that cannot be removed stays; nobody is told.
  }
}

std::optional<std::int32_t> LoadRegistryInteger(RegistryBackend& store, const std::string& keyPath,
                                                const std::string& valueName) {
  TRegistry registry(store);
  // The key may have been removed between the two questions.
  if (!registry.KeyExists(keyPath) || !registry.OpenKey(keyPath, false)) return std::nullopt;
  if (registry.GetDataType(valueName) != RegDataType::Dword) return std::nullopt;
  return registry.ReadInteger(valueName);
}

namespace {

// A setting's own load: whatever goes wrong leaves the default.
std::optional<std::int32_t> LoadQuietly(RegistryBackend& store, const std::string& keyPath,
                                        const std::string& valueName) {
  try {
    return LoadRegistryInteger(store, keyPath, valueName);
  } catch (...) {
    return std::nullopt;
  }
}

// The storing step shared by both kinds: a value that cannot be written is not written.
void StoreInteger(RegistryBackend& store, const std::string& keyPath, const std::string& valueName,
                  std::int32_t value) {
  try {
    TRegistry registry(store);
    if (registry.OpenKey(keyPath, true)) registry.WriteInteger(valueName, value);
  } catch (...) {
  }
}

}  // namespace

TRegistryBoolean::TRegistryBoolean(const CurrentUserRegistry& registry, std::string valueName, bool defaultValue)
    : TRegistryVariable(registry, std::move(valueName)), Value(defaultValue) {
  if (const auto stored = LoadQuietly(Store(), KeyPath, ValueName)) Value = *stored != 0;
}

TRegistryBoolean::TRegistryBoolean(const CurrentUserRegistry& registry, std::string valueName, bool value,
                                   AlreadyLoaded)
    : TRegistryVariable(registry, std::move(valueName)), Value(value) {}

TRegistryBoolean::~TRegistryBoolean() {
  if (StoreOnFree) StoreInteger(Store(), KeyPath, ValueName, Value ? 1 : 0);
}

TRegistryInteger::TRegistryInteger(const CurrentUserRegistry& registry, std::string valueName,
                                   std::int32_t defaultValue)
    : TRegistryVariable(registry, std::move(valueName)), Value(defaultValue) {
  if (const auto stored = LoadQuietly(Store(), KeyPath, ValueName)) Value = *stored;
}

TRegistryInteger::TRegistryInteger(const CurrentUserRegistry& registry, std::string valueName, std::int32_t value,
                                   AlreadyLoaded)
    : TRegistryVariable(registry, std::move(valueName)), Value(value) {}

TRegistryInteger::~TRegistryInteger() {
  if (StoreOnFree) StoreInteger(Store(), KeyPath, ValueName, Value);
}

void WriteAppPath(const CurrentUserRegistry& registry) {
  const std::string exe = GetExeName(registry);
  const std::string name = ChangeFileExt(ExtractFileName(exe), "");
  TRegistry paths(registry.Store());
  if (paths.OpenKey(kAppPathsKey, true)) paths.WriteString(name, exe);
}

void RegisterAppPath(const CurrentUserRegistry& registry) {
  try {
    WriteAppPath(registry);
  } catch (...) {
  }
}

std::string ReadAppPath(const CurrentUserRegistry& registry, const std::string& name) {
  std::string result;
  try {
    TRegistry paths(registry.Store());
    if (paths.KeyExists(kAppPathsKey)) {
      paths.OpenKey(kAppPathsKey, false);
      if (paths.ValueExists(name)) result = paths.ReadString(name);
    }
  } catch (...) {
  }
  return result;
}

}  // namespace palettor
