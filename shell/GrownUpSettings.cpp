#include "shell/GrownUpSettings.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "services/KKeyValueFile.h"
#include "services/KPdf.h"
#include "services/KPaths.h"

namespace {

constexpr const char* kSystemSettingsPath = "/etc/tafu/tafu.conf";
constexpr const char* kSystemSettingsVariable = "TAFU_SYSTEM_CONFIG";
constexpr const char* kUserSettingsName = "/tafu/tafu.conf";
constexpr int32_t kLowestVolume = 0;
constexpr int32_t kHighestVolume = 100;
// A scan step quicker than a child can react, or so slow the game seems stopped, is refused.
constexpr double kQuickestScan = 0.2;
constexpr double kSlowestScan = 60;
constexpr int32_t kMsPerSecond = 1000;
constexpr int32_t kDefaultScanMs = 1500;

const std::vector<SettingKey> kKeys = {
    {"fullscreen", SettingKind::YesNo},   {"mute", SettingKind::YesNo},
    {"music-volume", SettingKind::Volume}, {"effects-volume", SettingKind::Volume},
    {"kiosk", SettingKind::YesNo},        {"lock-options", SettingKind::YesNo},
    {"paintings", SettingKind::Folder},    {"players", SettingKind::YesNo},
    {"scanning", SettingKind::YesNo},      {"scan-seconds", SettingKind::Seconds},
    {"paper-size", SettingKind::Paper},
};

std::optional<bool> YesOrNo(const std::string& value) {
  if (value == "yes") return true;
  if (value == "no") return false;
  return std::nullopt;
}

std::optional<int32_t> Volume(const std::string& value) {
  int32_t volume = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), volume);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  if (volume < kLowestVolume || volume > kHighestVolume) return std::nullopt;
  return volume;
}

// Seconds as digits with a decimal point ("1.5"); the game never changes the C library's locale.
std::optional<int32_t> ScanMs(const std::string& value) {
  if (value.empty() || !std::isdigit(static_cast<unsigned char>(value.front()))) return std::nullopt;
  char* end = nullptr;
  const double seconds = std::strtod(value.c_str(), &end);
  if (end != value.c_str() + value.size()) return std::nullopt;
  if (!(seconds >= kQuickestScan && seconds <= kSlowestScan)) return std::nullopt;
  return static_cast<int32_t>(seconds * kMsPerSecond + 0.5);
}

const char* ValuesOf(SettingKind kind) {
  switch (kind) {
    case SettingKind::YesNo: return "yes or no";
    case SettingKind::Volume: return "a number from 0 to 100";
    case SettingKind::Folder: return "a folder";
    case SettingKind::Seconds: return "seconds from 0.2 to 60";
    case SettingKind::Paper: return "a paper size such as a4 or letter";
  }
  return "";
}

// The user's login name, for "$USER".
std::string UserName() {
  if (const char* user = std::getenv("USER"); user && *user) return user;
  const passwd* entry = getpwuid(getuid());
  return entry ? entry->pw_name : "";
}

struct Problem {
  int32_t line;
  std::string what;
};

// Lays the file's values over settings; returns, in the order of the lines, what could not
// be taken.
std::vector<Problem> LayFileOver(const KKeyValueFile& file, GrownUpSettings& settings) {
  std::vector<Problem> problems;
  for (const int32_t line : file.unreadableLines) problems.push_back({line, "not a \"key = value\" line"});
  for (const KKeyValue& value : file.values) {
    switch (ChangeSetting(settings, value.key, value.value)) {
      case SettingChangeResult::Taken: break;
      case SettingChangeResult::UnknownKey: problems.push_back({value.line, "unknown key '" + value.key + "'"}); break;
      case SettingChangeResult::BadValue:
        problems.push_back({value.line, "'" + value.key + "' takes " + ValuesOf(FindSettingKey(value.key)->kind) +
                                            ", not '" + value.value + "'"});
        break;
    }
  }
  std::stable_sort(problems.begin(), problems.end(),
                   [](const Problem& a, const Problem& b) { return a.line < b.line; });
  return problems;
}

}  // namespace

const std::vector<SettingKey>& SettingKeys() { return kKeys; }

std::optional<SettingKey> FindSettingKey(const std::string& name) {
  for (const SettingKey& key : kKeys)
    if (name == key.name) return key;
  return std::nullopt;
}

SettingChangeResult ChangeSetting(GrownUpSettings& settings, const std::string& key,
                                  const std::optional<std::string>& value) {
  const std::optional<SettingKey> known = FindSettingKey(key);
  if (!known) return SettingChangeResult::UnknownKey;
  const std::string text = value.value_or("");
  const std::optional<bool> yes = YesOrNo(text);
  const std::optional<int32_t> volume = Volume(text);
  const std::optional<int32_t> scanMs = ScanMs(text);
  if (value && known->kind == SettingKind::YesNo && !yes) return SettingChangeResult::BadValue;
  if (value && known->kind == SettingKind::Volume && !volume) return SettingChangeResult::BadValue;
  if (value && known->kind == SettingKind::Folder && text.empty()) return SettingChangeResult::BadValue;
  if (value && known->kind == SettingKind::Seconds && !scanMs) return SettingChangeResult::BadValue;
  if (value && known->kind == SettingKind::Paper && !IsPaperName(text)) return SettingChangeResult::BadValue;

  if (key == "fullscreen") settings.fullscreen = yes;
  if (key == "mute") settings.mute = yes.value_or(false);
  if (key == "music-volume") settings.musicVolume = volume;
  if (key == "effects-volume") settings.effectsVolume = volume;
  if (key == "kiosk") settings.kiosk = yes.value_or(false);
  if (key == "lock-options") settings.lockOptions = yes.value_or(false);
  if (key == "paintings") settings.paintings = text;
  if (key == "players") settings.players = yes.value_or(false);
  if (key == "scanning") settings.scanning = yes.value_or(false);
  if (key == "scan-seconds") settings.scanMs = scanMs.value_or(kDefaultScanMs);
  if (key == "paper-size") settings.paperSize = text;
  return SettingChangeResult::Taken;
}

void ReadSettingsFile(const std::string& path, GrownUpSettings& settings) {
  const KKeyValueFile file = ReadKeyValueFile(path);
  if (file.found && !file.readable) {
    std::fprintf(stderr, "tafu: %s: cannot be read; its settings are left out\n", path.c_str());
    return;
  }
  for (const Problem& problem : LayFileOver(file, settings))
    std::fprintf(stderr, "tafu: %s:%d: %s; left out\n", path.c_str(), problem.line, problem.what.c_str());
}

std::string SystemSettingsPath() {
  const char* chosen = std::getenv(kSystemSettingsVariable);
  return chosen && *chosen ? chosen : kSystemSettingsPath;
}

std::string UserSettingsPath() { return GetConfigFolder() + kUserSettingsName; }

std::string ExpandFolder(const std::string& folder) {
  std::string expanded = folder;
  if (expanded == "~" || expanded.starts_with("~/")) {
    const char* home = std::getenv("HOME");
    expanded.replace(0, 1, home ? home : "");
  }
  const std::string variable = "$USER";
  const std::string name = UserName();
  for (size_t at = expanded.find(variable); at != std::string::npos; at = expanded.find(variable, at + name.size()))
    expanded.replace(at, variable.size(), name);
  return expanded;
}
