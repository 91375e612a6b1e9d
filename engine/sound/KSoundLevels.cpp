// The two volume curves and the two master volumes shared by every KSample.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "KSample.h"
#include "KSampleState.h"
#include "KSoundDevice.h"

namespace {

constexpr int32_t kMaxLevel = 100;
constexpr int32_t kMaxPan = 100;
// Each step of the volume curve is 8 % quieter, each step of the pan curve 4.5 %.
constexpr double kVolumeStep = 0.92;
constexpr double kPanStep = 0.954999;

std::atomic<int32_t> musicMaster{kMaxLevel};
std::atomic<int32_t> effectsMaster{kMaxLevel};

std::mutex levelMutex;
std::condition_variable levelChanged;
uint64_t levelChanges = 0;

std::array<int32_t, kMaxLevel + 1> MakeVolumeTable() {
  std::array<int32_t, kMaxLevel + 1> table{};
  table[0] = kVolumeSilent;
  for (int32_t c = 1; c <= kMaxLevel; ++c) {
    const double value = -100.0 * std::log(c * 0.01) / std::log(kVolumeStep);
    table[c] = std::max(static_cast<int32_t>(value), kVolumeSilent);
  }
  return table;
}

std::array<int32_t, 2 * kMaxPan + 1> MakePanTable() {
  std::array<int32_t, 2 * kMaxPan + 1> table{};
  for (int32_t k = 1; k < kMaxPan; ++k) {
    const double value = 100.0 * std::log((100.0 - k) / 100.0) / std::log(kPanStep);
    table[kMaxPan + k] = static_cast<int32_t>(value);
    table[kMaxPan - k] = -static_cast<int32_t>(value);
  }
  table[0] = -10000;
  table[2 * kMaxPan] = 10000;
  return table;
}

}  // namespace

int32_t VolumeTable(int32_t level) {
  static const std::array<int32_t, kMaxLevel + 1> table = MakeVolumeTable();
  return table[std::clamp(level, 0, kMaxLevel)];
}

int32_t PanTable(int32_t pan) {
  static const std::array<int32_t, 2 * kMaxPan + 1> table = MakePanTable();
  return table[std::clamp(pan, -kMaxPan, kMaxPan) + kMaxPan];
}

void SetMasterVolumes(int32_t musicVolume, int32_t effectsVolume) {
  if (musicVolume >= 0) musicMaster = std::min(musicVolume, kMaxLevel);
  if (effectsVolume >= 0) effectsMaster = std::min(effectsVolume, kMaxLevel);
  NoteSoundLevelChange();
}

uint64_t SoundLevelChanges() {
  std::lock_guard<std::mutex> lock(levelMutex);
  return levelChanges;
}

void NoteSoundLevelChange() {
  {
    std::lock_guard<std::mutex> lock(levelMutex);
    ++levelChanges;
  }
  levelChanged.notify_all();
}

void WaitForSoundLevelChange(uint64_t seen) {
  std::unique_lock<std::mutex> lock(levelMutex);
  levelChanged.wait(lock, [seen] { return levelChanges != seen; });
}

int32_t GetMusicMasterVolume() { return musicMaster; }
int32_t GetEffectsMasterVolume() { return effectsMaster; }
