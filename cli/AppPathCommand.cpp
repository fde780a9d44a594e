// palettor-cli app-path: the maker's shared register of program locations, so that a user can
// tell Palettor where the viewer lives when the viewer never registered itself.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "ArgumentParsing.h"
#include "CliCommand.h"
#include "ControlCharacters.h"
#include "Output.h"
#include "Registry.h"
#include "RegistryVariables.h"
#include "SqliteRegistryStore.h"
#include "StoreFailure.h"
#include "WindowExecutable.h"

namespace palettor::cli {

namespace {

constexpr const char* kAppPathHelp =
    "Usage: palettor-cli app-path list\n"
    "       palettor-cli app-path get NAME\n"
    "       palettor-cli app-path set NAME PATH\n"
    "\n"
    "The register where the maker's programs note where they are installed: one entry per\n"
    "program, named by its executable's name without extension, holding the executable's full\n"
    "path. Palettor saves the table into the folder of the entry \"Skyreader\".\n"
    "\n"
    "  list            one line per entry: NAME, a tab, PATH\n"
    "  get NAME        the path of that entry (names ignore case)\n"
    "  set NAME PATH   adds or replaces the entry; a relative local path is made absolute.\n"
    "                  Names and paths with control characters (newlines, tabs ...) are refused.\n"
    "\n"
    "Control characters in what the register holds are shown escaped (\\n, \\t, \\x1b ...).\n"
    "\n"
    "Exit status: 0 done, 1 not registered (get) or the store could not be read or written,\n"
    "2 invalid arguments.\n";

void List(RegistryBackend& store) {
  try {
    TRegistry registry(store, KEY_READ);
    if (!registry.KeyExists(kAppPathsKey)) return;
    registry.OpenKey(kAppPathsKey, false);
    for (const std::string& name : registry.GetValueNames()) {
      // Entries of another type name no location; ReadAppPath ignores them too.
      if (registry.GetDataType(name) != RegDataType::String) continue;
      std::printf("%s\t%s\n", Untrusted(name).c_str(), Untrusted(registry.ReadString(name)).c_str());
    }
  } catch (const ERegistryException& error) {
    throw CannotReadStore(error);
  }
  FinishOutput();
}

void Get(const CurrentUserRegistry& registry, const std::string& name) {
  const std::string path = ReadAppPath(registry, name);
  if (path.empty()) throw Failure("no program named '" + name + "' is registered");
  std::printf("%s\n", Untrusted(path).c_str());
  FinishOutput();
}

// A local relative path would name a different folder for the window, which runs elsewhere;
// paths in another platform's form (with '\' or a drive colon) are kept as given.
std::string AsRegisteredPath(const std::string& path) {
  if (path.front() == '/' || path.find_first_of("\\:") != std::string::npos) return path;
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

void Set(RegistryBackend& store, const std::string& name, const std::string& path) {
  if (name.empty()) throw UsageError("app-path set: the program name is empty");
  if (path.empty()) throw UsageError("app-path set: the path is empty");
  // Each entry is one line of `list`: a newline or tab in it would forge another.
  if (HasControlCharacters(name)) throw UsageError("app-path set: the program name holds a control character");
  if (HasControlCharacters(path)) throw UsageError("app-path set: the path holds a control character");
  const std::string registered = AsRegisteredPath(path);
  try {
    TRegistry registry(store);
    if (registry.OpenKey(kAppPathsKey, true)) registry.WriteString(name, registered);
  } catch (const ERegistryException& error) {
    throw CannotWriteStore(error);
  }
}

void RunAppPath(const Arguments& arguments) {
  // A PATH may start with '-' (put it after -- when it is --help or -h).
  const Arguments args = Operands(arguments);
  if (args.empty()) throw UsageError("app-path: expected list, get NAME or set NAME PATH");
  const std::string& verb = args[0];
  WindowSettingsStore store(verb != "set");
  if (verb == "list" && args.size() == 1) return List(store.Store());
  if (verb == "get" && args.size() == 2) return Get(store.Registry(), args[1]);
  if (verb == "set" && args.size() == 3) return Set(store.Store(), args[1], args[2]);
  if (verb == "list" || verb == "get" || verb == "set") {
    throw UsageError("app-path " + verb + ": wrong number of arguments (see palettor-cli app-path --help)");
  }
  throw UsageError("app-path: unknown action '" + verb + "' (expected list, get or set)");
}

}  // namespace

extern const CliCommand kAppPathCommand{"app-path", "app-path list|get NAME|set NAME PATH",
                                        "read or set the program-location register", [] { return kAppPathHelp; },
                                        &RunAppPath};

}  // namespace palettor::cli
