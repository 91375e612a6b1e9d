#include "KPaths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "KClock.h"
#include "platform/KPlatform.h"

namespace fs = std::filesystem;

namespace {

std::string& ModuleFolder() {
  static std::string folder;
  return folder;
}

std::string& UserFolder() {
  static std::string folder;
  return folder;
}

std::string TrimSlashes(const std::string& folder) {
  std::string trimmed = folder;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  return trimmed;
}

// Joins a game name such as "draw\big\1.tga" to a folder.
std::string JoinGameName(const std::string& folder, const std::string& name) {
  std::string native = name;
  std::replace(native.begin(), native.end(), '\\', '/');
  const bool absolute = !name.empty() && name[0] == '/';
  const bool driveLetter = native.size() > 1 && native[1] == ':';
  if (absolute || driveLetter) return native;
  if (!native.empty() && (native[0] == '/' || native[0] == ':')) native.erase(0, 1);
  return folder + "/" + native;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

std::string UserFolder(const char* variable, const std::string& fallbackBelowHome) {
  const char* value = std::getenv(variable);
  const std::string folder = value && *value ? std::string(value) : HomeFolder() + "/" + fallbackBelowHome;
  if (CreateFolders(folder)) return folder;
  return MakePath("");
}

}  // namespace

void InitPaths() {
  PrepareFiles();
  if (ModuleFolder().empty()) ModuleFolder() = ProgramFolder();
  InitClock();
}

const std::string& GetModuleFolder() {
  if (ModuleFolder().empty()) ModuleFolder() = ProgramFolder();
  return ModuleFolder();
}

void SetModuleFolder(const std::string& folder) { ModuleFolder() = TrimSlashes(folder); }

std::string MakePath(const std::string& name) { return JoinGameName(GetModuleFolder(), name); }

const std::string& GetUserFolder() { return UserFolder().empty() ? GetModuleFolder() : UserFolder(); }

void SetUserFolder(const std::string& folder) { UserFolder() = TrimSlashes(folder); }

std::string MakeUserPath(const std::string& name) { return JoinGameName(GetUserFolder(), name); }

std::string MakePathIn(const std::string& folder, const std::string& name) {
  return JoinGameName(TrimSlashes(folder), name);
}

bool IsFolderWritable(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

bool CreateFolders(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return fs::is_directory(folder, error);
}

std::string GetAppDataFolder() { return UserFolder("XDG_DATA_HOME", ".local/share"); }

std::string GetConfigFolder() {
  const char* value = std::getenv("XDG_CONFIG_HOME");
  return value && *value ? std::string(value) : HomeFolder() + "/.config";
}

std::string GetDocumentsFolder() { return UserFolder("XDG_DOCUMENTS_DIR", "Documents"); }

