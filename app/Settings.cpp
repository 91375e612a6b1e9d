#include "app/Settings.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "services/KPaths.h"

Settings CurrentSettings;
RunOverrides CurrentOverrides;

namespace {

constexpr const char* kSettingsName = "options.raw";
constexpr const char* kSaveTempName = "options.raw.tmp";
constexpr size_t kWindowedOffset = 0;
constexpr size_t kPaddingOffset = 1;
constexpr size_t kMusicOffset = 4;
constexpr size_t kEffectsOffset = 8;

void PutInt32(SettingsBytes& bytes, size_t offset, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const SettingsBytes& bytes, size_t offset) {
  uint32_t bits = 0;
  for (size_t i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

// Writes the bytes to a new file at path and flushes them to the disk; false on any failure.
bool WriteWholeFile(const std::string& path, const SettingsBytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = written && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

}  // namespace

Settings SettingsShown() {
  Settings settings = CurrentSettings;
  settings.musicVolume = CurrentOverrides.musicVolume.value_or(settings.musicVolume);
  settings.effectsVolume = CurrentOverrides.effectsVolume.value_or(settings.effectsVolume);
  return settings;
}

Settings SettingsInEffect() {
  Settings settings = SettingsShown();
  if (CurrentOverrides.windowed) settings.windowed = *CurrentOverrides.windowed;
  if (CurrentOverrides.mute) settings.musicVolume = settings.effectsVolume = 0;
  return settings;
}

SettingsBytes EncodeSettings(const Settings& settings) {
  SettingsBytes bytes{};
  bytes[kWindowedOffset] = settings.windowed;
  for (size_t i = 0; i < settings.padding.size(); ++i) bytes[kPaddingOffset + i] = settings.padding[i];
  PutInt32(bytes, kMusicOffset, settings.musicVolume);
  PutInt32(bytes, kEffectsOffset, settings.effectsVolume);
  return bytes;
}

Settings DecodeSettings(const Settings& settings, const uint8_t* bytes, size_t count) {
  SettingsBytes image = EncodeSettings(settings);
  for (size_t i = 0; i < count && i < image.size(); ++i) image[i] = bytes[i];
  Settings decoded;
  decoded.windowed = image[kWindowedOffset];
  for (size_t i = 0; i < decoded.padding.size(); ++i) decoded.padding[i] = image[kPaddingOffset + i];
  decoded.musicVolume = GetInt32(image, kMusicOffset);
  decoded.effectsVolume = GetInt32(image, kEffectsOffset);
  return decoded;
}

void LoadSettings() {
  std::FILE* file = std::fopen(MakeUserPath(kSettingsName).c_str(), "rb");
  if (!file) {
    CurrentSettings.windowed = kDefaultWindowed;
    CurrentSettings.musicVolume = kDefaultVolume;
    CurrentSettings.effectsVolume = kDefaultVolume;
    return;
  }
  SettingsBytes bytes{};
  const size_t count = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  CurrentSettings = DecodeSettings(CurrentSettings, bytes.data(), count);
}

void SaveSettings() {
  const std::string temporary = MakeUserPath(kSaveTempName);
  if (!WriteWholeFile(temporary, EncodeSettings(CurrentSettings)) ||
      std::rename(temporary.c_str(), MakeUserPath(kSettingsName).c_str()) != 0) {
    std::remove(temporary.c_str());
    return;
  }
  MakeFolderLasting(GetUserFolder());
}
