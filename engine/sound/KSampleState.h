// What one KSample holds, shared by its loads and plays (KSample.cpp) and the feeding of
// its music voice (KMusicFeeder.cpp).
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "KModuleMusic.h"
#include "KOggDecoder.h"
#include "KSoundDevice.h"

constexpr int16_t kMaxVoices = 9;
constexpr int32_t kDefaultVolume = 80;
// The music voice is a circular buffer refilled half by half.
constexpr size_t kMusicBufferSize = 32768;
constexpr size_t kMusicHalfSize = kMusicBufferSize / 2;

struct KSampleState {
  // False when the device could not be opened for this object: it stays silent and is
  // not counted among the objects sharing the device.
  bool holdsDevice = false;
  int16_t voiceCount = 1;
  std::atomic<int32_t> volume{kDefaultVolume};
  std::atomic<bool> looping{false};
  bool musicMode = false;
  int32_t nextVoice = 0;
  std::array<std::unique_ptr<KVoice>, kMaxVoices> voices;

  // The decoder, the module and the music voice's contents, shared with the feeder.
  std::mutex music;
  KOggDecoder decoder;
  std::unique_ptr<KModuleMusic> module;
  std::array<uint8_t, kMusicHalfSize> half{};

  std::thread feeder;
  // What the feeding keeps: the music master it applied last; the events set when the play
  // position reaches the start and the middle of the music voice, and the one whose turn
  // comes next.
  int32_t seenMaster = -1;
  std::array<KNotifyEvent, 2> halfEvents;
  size_t nextHalfEvent = 0;
  std::atomic<bool> stopRequest{false};
  std::atomic<bool> ready{false};
  std::atomic<bool> ended{false};
};

// Sets every voice's level from the object's volume and its master; music at level 0 is
// held.
void ApplyVolume(KSampleState& s);
// While listening, event is nudged whenever a master volume changes, so that a feeder
// waiting for its next half applies a new music master at once.
void AddLevelListener(KNotifyEvent& event);
void RemoveLevelListener(KNotifyEvent& event);
// Stops the music voice, silences it and rewinds both the voice and the track. The caller
// holds the music lock.
void StopMusic(KSampleState& s);
// Starts feeding the music voice (a thread, or a frame hook where there are none); returns
// once the feeding is ready. EndFeeder stops it.
void StartFeeder(KSampleState& s);
void EndFeeder(KSampleState& s);
