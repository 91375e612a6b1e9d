// The two volume curves and the two master volumes shared by every KSample.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <vector>

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

// The events of the feeders that follow the music master, nudged when it changes.
std::mutex listenerMutex;
std::vector<KNotifyEvent*> levelListeners;

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
  std::lock_guard<std::mutex> lock(listenerMutex);
  for (KNotifyEvent* event : levelListeners) event->Nudge();
}

void AddLevelListener(KNotifyEvent& event) {
  std::lock_guard<std::mutex> lock(listenerMutex);
  levelListeners.push_back(&event);
}

void RemoveLevelListener(KNotifyEvent& event) {
  std::lock_guard<std::mutex> lock(listenerMutex);
  levelListeners.erase(std::remove(levelListeners.begin(), levelListeners.end(), &event), levelListeners.end());
}

int32_t GetMusicMasterVolume() { return musicMaster; }
int32_t GetEffectsMasterVolume() { return effectsMaster; }
