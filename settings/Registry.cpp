#include "Registry.h"

namespace palettor {

TRegistry::TRegistry(RegistryBackend& store, std::uint32_t access) : Access(access), backend_(store) {}

TRegistry::~TRegistry() = default;

std::optional<std::string> TRegistry::Resolve(std::string_view key) const {
  std::string path;
  if (!key.empty() && key.front() == '\\') {
    key.remove_prefix(1);
  } else if (current_) {
    path = *current_;
  }
  if (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  if (key.empty()) return path;
  for (;;) {
    const auto end = key.find('\\');
    const std::string_view part = key.substr(0, end);
    // A key name is never empty and cannot hold the separator; a NUL would cut it short elsewhere.
    if (part.empty() || part.find('\0') != std::string_view::npos) return std::nullopt;
    if (!path.empty()) path += '\\';
    path += part;
    if (end == std::string_view::npos) return path;
    key.remove_prefix(end + 1);
  }
}

bool TRegistry::KeyExists(std::string_view key) {
  const auto path = Resolve(key);
  return path && Backend().KeyExists(*path);
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  const auto path = Resolve(key);
  CloseKey();
  if (!path) return false;
  if (canCreate) {
    Backend().CreateKey(*path);
  } else if (!Backend().KeyExists(*path)) {
    return false;
  }
  current_ = *path;
  return true;
}

void TRegistry::CloseKey() { current_.reset(); }

const std::string& TRegistry::RequireKey(std::uint32_t right, std::string_view operation, std::string_view name) const {
  if (!current_) throw ERegistryException(std::string(operation) + " '" + std::string(name) + "': no key is open");
  if ((Access & right) != right) {
    throw ERegistryException(std::string(operation) + " '" + std::string(name) + "': access denied by the access mask");
  }
  return *current_;
}

bool TRegistry::ValueExists(std::string_view name) {
  return current_ && Backend().ReadValue(*current_, std::string(name)).has_value();
}

std::optional<RegDataType> TRegistry::GetDataType(std::string_view name) {
  if (!current_) return std::nullopt;
  const auto data = Backend().ReadValue(*current_, std::string(name));
  if (!data) return std::nullopt;
  return data->type;
}

std::vector<std::string> TRegistry::GetValueNames() {
  const std::string& key = RequireKey(KEY_QUERY_VALUE, "list values", "");
  return Backend().ValueNames(key);
}

RegistryData TRegistry::ReadTyped(std::string_view name, RegDataType type) {
  const std::string& key = RequireKey(KEY_QUERY_VALUE, "read", name);
  auto data = Backend().ReadValue(key, std::string(name));
  if (!data) throw ERegistryException("read '" + std::string(name) + "': no such value");
  if (data->type != type) throw ERegistryException("read '" + std::string(name) + "': the value is of another type");
  return std::move(*data);
}

bool TRegistry::ReadBool(std::string_view name) { return ReadTyped(name, RegDataType::Dword).dword != 0; }

std::int32_t TRegistry::ReadInteger(std::string_view name) { return ReadTyped(name, RegDataType::Dword).dword; }

std::string TRegistry::ReadString(std::string_view name) { return ReadTyped(name, RegDataType::String).text; }

void TRegistry::Write(std::string_view name, RegistryData data) {
  const std::string& key = RequireKey(KEY_SET_VALUE, "write", name);
  if (name.find('\0') != std::string_view::npos) throw ERegistryException("write: a value name cannot hold NUL");
  Backend().WriteValue(key, std::string(name), data);
}

void TRegistry::WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteInteger(std::string_view name, std::int32_t value) {
  Write(name, RegistryData{RegDataType::Dword, value, {}});
}

void TRegistry::WriteString(std::string_view name, std::string_view value) {
  // The registry's strings end at the first NUL, so one inside could never be read back whole.
  if (value.find('\0') != std::string_view::npos) throw ERegistryException("write: a string value cannot hold NUL");
  Write(name, RegistryData{RegDataType::String, 0, std::string(value)});
}

bool TRegistry::DeleteValue(std::string_view name) {
  const std::string& key = RequireKey(KEY_SET_VALUE, "delete", name);
  return Backend().DeleteValue(key, std::string(name));
}

bool TRegistry::DeleteKey(std::string_view key) {
  const auto path = Resolve(key);
  if (!path || path->empty()) return false;
  if ((Access & KEY_SET_VALUE) != KEY_SET_VALUE) {
    throw ERegistryException("delete key '" + *path + "': access denied by the access mask");
  }
  if (!Backend().KeyExists(*path)) return false;
  const bool deleted = Backend().DeleteKey(*path);
  if (current_ && !Backend().KeyExists(*current_)) CloseKey();
  return deleted;
}

}  // namespace palettor
