#include "RegistryVariables.h"

#include "ApplicationExe.h"
#include "FileNames.h"
#include "Registry.h"

namespace palettor {

const char* const kSettingsKeyPrefix = "\\Software\\Quillon\\";
const char* const kAppPathsKey = "\\Software\\Quillon\\App Paths";

std::string ProgramBaseName() { return ChangeFileExt(ExtractFileName(GetExeName()), ""); }

std::string SettingsKeyPath() { return kSettingsKeyPrefix + ProgramBaseName(); }

TRegistryVariable::TRegistryVariable(std::string valueName)
    : KeyPath(SettingsKeyPath()), ValueName(std::move(valueName)) {}

TRegistryVariable::~TRegistryVariable() {
  if (!DeleteOnFree) return;
  try {
    TRegistry registry;
    registry.Access = KEY_READ | KEY_WRITE;
    if (registry.OpenKey(KeyPath, true)) registry.DeleteValue(ValueName);
  } catch (...) {
    // A value that cannot be removed stays; nobody is told.
  }
}

std::optional<std::int32_t> LoadRegistryInteger(const std::string& keyPath, const std::string& valueName) {
  TRegistry registry;
  // The key may have been removed between the two questions.
  if (!registry.KeyExists(keyPath) || !registry.OpenKey(keyPath, false)) return std::nullopt;
  if (registry.GetDataType(valueName) != RegDataType::Dword) return std::nullopt;
  return registry.ReadInteger(valueName);
}

namespace {

// A setting's own load: whatever goes wrong leaves the default.
std::optional<std::int32_t> LoadQuietly(const std::string& keyPath, const std::string& valueName) {
  try {
    return LoadRegistryInteger(keyPath, valueName);
  } catch (...) {
    return std::nullopt;
  }
}

// The storing step shared by both kinds: a value that cannot be written is not written.
void StoreInteger(const std::string& keyPath, const std::string& valueName, std::int32_t value) {
  try {
    TRegistry registry;
    if (registry.OpenKey(keyPath, true)) registry.WriteInteger(valueName, value);
  } catch (...) {
  }
}

}  // namespace

TRegistryBoolean::TRegistryBoolean(std::string valueName, bool defaultValue)
    : TRegistryVariable(std::move(valueName)), Value(defaultValue) {
  if (const auto stored = LoadQuietly(KeyPath, ValueName)) Value = *stored != 0;
}

TRegistryBoolean::TRegistryBoolean(std::string valueName, bool value, AlreadyLoaded)
    : TRegistryVariable(std::move(valueName)), Value(value) {}

TRegistryBoolean::~TRegistryBoolean() {
  if (StoreOnFree) StoreInteger(KeyPath, ValueName, Value ? 1 : 0);
}

TRegistryInteger::TRegistryInteger(std::string valueName, std::int32_t defaultValue)
    : TRegistryVariable(std::move(valueName)), Value(defaultValue) {
  if (const auto stored = LoadQuietly(KeyPath, ValueName)) Value = *stored;
}

TRegistryInteger::TRegistryInteger(std::string valueName, std::int32_t value, AlreadyLoaded)
    : TRegistryVariable(std::move(valueName)), Value(value) {}

TRegistryInteger::~TRegistryInteger() {
  if (StoreOnFree) StoreInteger(KeyPath, ValueName, Value);
}

void RegisterAppPath() {
  try {
    const std::string exe = GetExeName();
    const std::string name = ChangeFileExt(ExtractFileName(exe), "");
    TRegistry registry;
    if (registry.OpenKey(kAppPathsKey, true)) registry.WriteString(name, exe);
  } catch (...) {
  }
}

std::string ReadAppPath(const std::string& name) {
  std::string result;
  try {
    TRegistry registry;
    if (registry.KeyExists(kAppPathsKey)) {
      registry.OpenKey(kAppPathsKey, false);
      if (registry.ValueExists(name)) result = registry.ReadString(name);
    }
  } catch (...) {
  }
  return result;
}

}  // namespace palettor
