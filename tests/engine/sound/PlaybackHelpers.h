// Waiting on sounds in real time, for the playback tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

#include "sound/KSample.h"

namespace tafutest {

inline void SleepMs(int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits until the sample stops playing; false when it still plays after timeoutMs.
inline bool WaitWhilePlaying(const KSample& sample, int32_t timeoutMs = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (sample.IsPlaying()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    SleepMs(2);
  }
  return true;
}

}  // namespace tafutest
