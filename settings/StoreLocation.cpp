#include "StoreLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace palettor {

namespace {
constexpr int kRegistryBusyTimeoutMs = 5000;
}  // namespace

std::string RegistryStorePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
      home = env;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/') {
      home = entry->pw_dir;
    }
    if (home.empty()) return {};
    base = home + "/.config";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/Quillon/registry.sqlite3";
}

int RegistryBusyTimeoutMs() {
  const char* text = std::getenv("PALETTOR_STORE_BUSY_TIMEOUT_MS");
  if (!text) return kRegistryBusyTimeoutMs;
  int ms = 0;
  const char* end = text + std::strlen(text);
  const auto [at, error] = std::from_chars(text, end, ms);
  return error == std::errc() && at == end && ms >= 0 ? ms : kRegistryBusyTimeoutMs;
}

}  // namespace palettor
