// The player's saved choices: window or full screen, music volume and effects volume,
// kept in "options.raw" in the user folder as a 12-byte little-endian image:
//
//   offset 0  windowed flag (1 byte)
//   offset 1  three spare bytes, written back exactly as they were read
//   offset 4  music volume, signed 32-bit
//   offset 8  effects volume, signed 32-bit
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

struct Settings {
  uint8_t windowed = 0;
  std::array<uint8_t, 3> padding{};
  int32_t musicVolume = 0;
  int32_t effectsVolume = 0;
};

constexpr size_t kSettingsFileSize = 12;
using SettingsBytes = std::array<uint8_t, kSettingsFileSize>;

constexpr uint8_t kDefaultWindowed = 1;
constexpr int32_t kDefaultVolume = 50;

// The settings of this run; every field is 0 until LoadSettings.
extern Settings CurrentSettings;

// What the command line and the grown-ups' settings files change for this run only. The
// options screen saves CurrentSettings, never these, so the player's own choices stay as
// they were. The volumes are start values: the options screen drops one once it sets that
// volume.
struct RunOverrides {
  std::optional<uint8_t> windowed;
  bool mute = false;
  std::optional<int32_t> musicVolume;
  std::optional<int32_t> effectsVolume;
};
extern RunOverrides CurrentOverrides;

// CurrentSettings with this run's overrides laid over: what the window and the sound use.
Settings SettingsInEffect();
// CurrentSettings with this run's start volumes laid over, but not muted: what the options
// screen shows.
Settings SettingsShown();

SettingsBytes EncodeSettings(const Settings& settings);
// Lays the first count bytes (at most 12) over the image of settings: the fields the
// bytes do not reach keep their values.
Settings DecodeSettings(const Settings& settings, const uint8_t* bytes, size_t count);

// Reads "options.raw". Without the file: windowed, both volumes 50, and nothing is
// written. A short file sets only what its bytes cover.
void LoadSettings();
// Writes "options.raw" through a temporary file in the same folder that then replaces
// it, so an interrupted save leaves the earlier file whole. A file that cannot be written
// leaves the settings in effect for this run only, silently.
void SaveSettings();
