#include "KSample.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "KModuleMusic.h"
#include "KOggDecoder.h"
#include "KSoundDevice.h"
#include "KWaveFile.h"
#include "services/KFile.h"
#include "services/KMessage.h"

namespace {

constexpr int16_t kMaxVoices = 9;
constexpr int32_t kDefaultVolume = 80;
constexpr int32_t kMaxVolume = 100;
// The loudest level the volume curve is asked for: full volume plays at -0.12 dB.
constexpr int32_t kLoudestLevel = 99;
constexpr int32_t kMaxPan = 100;
// The music voice is a circular buffer refilled half by half.
constexpr size_t kMusicBufferSize = 32768;
constexpr size_t kMusicHalfSize = kMusicBufferSize / 2;
constexpr size_t kModuleHalfFrames = kMusicHalfSize / 4;
#ifdef __EMSCRIPTEN__
constexpr int32_t kNoWait = 0;
#else
constexpr int32_t kFeederWaitMs = 50;
#endif

// Objects alive that share the device; the device is open while it is above 0.
int32_t liveObjects = 0;

}  // namespace

bool IsSoundDeviceOpen() { return liveObjects > 0; }

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

#ifndef __EMSCRIPTEN__
  std::thread feeder;
#endif
  // Set when the play position reaches the start and the middle of the music voice.
  std::array<KNotifyEvent, 2> halfEvents;
  std::atomic<bool> stopRequest{false};
  std::atomic<bool> ready{false};
  std::atomic<bool> ended{false};
};

namespace {

void ApplyVolume(KSampleState& s) {
  const int32_t master = s.musicMode ? GetMusicMasterVolume() : GetEffectsMasterVolume();
  const int32_t level = std::clamp(s.volume * master / kMaxVolume, 0, kLoudestLevel);
  for (const std::unique_ptr<KVoice>& voice : s.voices) {
    if (!voice) break;
    voice->SetVolume(VolumeTable(level));
  }
}

void ApplyPan(KSampleState& s, int32_t pan) {
  for (const std::unique_ptr<KVoice>& voice : s.voices) {
    if (!voice) break;
    voice->SetPan(PanTable(pan));
  }
}

// Stops the music voice, silences it and rewinds both the voice and the track.
// The caller holds the music lock.
void StopMusic(KSampleState& s) {
  KVoice* voice = s.voices[0].get();
  if (!voice) return;
  voice->Stop();
  voice->Clear(0, voice->Size());
  s.decoder.Rewind();
  if (s.module) s.module->Rewind();
  voice->SetPosition(0);
}

void ReleaseAll(KSampleState& s) {
  s.module.reset();
  for (std::unique_ptr<KVoice>& voice : s.voices) voice.reset();
  s.decoder.Close();
}

// Decodes into half h until it is full. A looping track goes on from its start within the
// same half, so its loop point has no gap; any other track stops at its end, the rest of the
// half silent. A hole in the data (a lost page) is passed over; another decoding error counts
// as the end of the track.
void FillOggHalf(KSampleState& s, size_t h) {
  uint8_t* buffer = s.half.data();
  std::memset(buffer, 0, kMusicHalfSize);
  size_t filled = 0;
  // A track that gives nothing right after a rewind would be rewound for ever.
  bool justRewound = false;
  while (filled < kMusicHalfSize && !s.ended && !s.stopRequest) {
    const long got = s.decoder.Read(buffer + filled, kMusicHalfSize - filled);
    if (got > 0) {
      filled += static_cast<size_t>(got);
      justRewound = false;
    } else if (got == OV_HOLE) {
      continue;
    } else if (s.looping && !justRewound) {
      s.decoder.Rewind();
      justRewound = true;
    } else {
      s.ended = true;
    }
  }
  s.voices[0]->Write(h * kMusicHalfSize, buffer, kMusicHalfSize);
  if (s.ended) StopMusic(s);
}

void FillModuleHalf(KSampleState& s, size_t h) {
  int16_t* frames = reinterpret_cast<int16_t*>(s.half.data());
  std::memset(frames, 0, kMusicHalfSize);
  if (!s.ended && !s.stopRequest) {
    const size_t rendered = s.module->Render(frames, kModuleHalfFrames, kSoundDeviceRate);
    if (rendered < kModuleHalfFrames && !s.looping) s.ended = true;
  }
  s.voices[0]->Write(h * kMusicHalfSize, frames, kMusicHalfSize);
  if (s.ended) StopMusic(s);
}

void FillHalf(KSampleState& s, size_t h) {
  std::lock_guard<std::mutex> lock(s.music);
  if (s.decoder.IsOpen()) {
    FillOggHalf(s, h);
  } else if (s.module) {
    FillModuleHalf(s, h);
  }
}

// Applies the music master when it changed since it was last seen.
void FollowMusicMaster(KSampleState& s, int32_t& seenMaster) {
  const int32_t master = GetMusicMasterVolume();
  if (master == seenMaster) return;
  ApplyVolume(s);
  seenMaster = master;
}

// Listens for the play position passing the start and the middle of the music voice.
void ListenForHalves(KSampleState& s) {
  for (KNotifyEvent& event : s.halfEvents) event.Wait(0);
  s.voices[0]->SetNotifications({{0, &s.halfEvents[0]}, {kMusicHalfSize, &s.halfEvents[1]}});
}

// Refills the half that has just been played, waiting up to waitMs for each half's turn.
// The music master is looked at before each wait, so a change reaches the track within
// about 50 ms.
void FeedHalves(KSampleState& s, int32_t& seenMaster, int32_t waitMs) {
  FollowMusicMaster(s, seenMaster);
  if (s.halfEvents[0].Wait(waitMs)) FillHalf(s, 1);
  FollowMusicMaster(s, seenMaster);
  if (s.halfEvents[1].Wait(waitMs)) FillHalf(s, 0);
}

#ifdef __EMSCRIPTEN__
// The browser has no threads of ours: the playing music objects are fed once a frame.
struct FedMusic {
  KSampleState* state;
  int32_t seenMaster;
};
std::vector<FedMusic> fedMusic;

void StartFeeder(KSampleState& s) {
  ListenForHalves(s);
  fedMusic.push_back({&s, -1});
  s.ready = true;
}

void EndFeeder(KSampleState& s) {
  const auto fed = std::find_if(fedMusic.begin(), fedMusic.end(), [&s](const FedMusic& m) { return m.state == &s; });
  if (fed == fedMusic.end()) return;
  fedMusic.erase(fed);
  if (KVoice* voice = s.voices[0].get()) voice->SetNotifications({});
}
#else
// The feeder thread of a playing music object, until it is asked to stop.
void RunFeeder(KSampleState& s) {
  KVoice* voice = s.voices[0].get();
  ListenForHalves(s);
  s.ready = true;
  int32_t seenMaster = -1;
  while (!s.stopRequest) {
    FeedHalves(s, seenMaster, kFeederWaitMs);
    std::this_thread::yield();
  }
  voice->SetNotifications({});
}

void StartFeeder(KSampleState& s) {
  s.feeder = std::thread(RunFeeder, std::ref(s));
  while (!s.ready) std::this_thread::yield();
}

void EndFeeder(KSampleState& s) {
  if (!s.feeder.joinable()) return;
  for (KNotifyEvent& event : s.halfEvents) event.Set();
  s.feeder.join();
}
#endif

// The stop every load, PlayStream and the destructor begin with: ends the feeder.
void InternalStop(KSampleState& s) {
  s.ready = false;
  s.stopRequest = true;
  if (KVoice* voice = s.voices[0].get()) {
    voice->Stop();
    voice->SetPosition(0);
  }
  EndFeeder(s);
}

// Starts the music voice on silence; the feeder fills each half as it comes round.
void StartMusic(KSampleState& s, bool looping) {
  KVoice* voice = s.voices[0].get();
  voice->Stop();
  voice->Clear(0, voice->Size());
  voice->SetPosition(0);
  s.ended = false;
  s.looping = looping;
  s.stopRequest = false;
  StartFeeder(s);
  voice->Play(true);
  ApplyVolume(s);
}

bool CreateMusicVoice(KSampleState& s, const KVoiceFormat& format) {
  s.voices[0] = s.holdsDevice ? KVoice::Create(format, kMusicBufferSize) : nullptr;
  if (!s.voices[0]) {
    ReleaseAll(s);
    return false;
  }
  s.ended = false;
  ApplyPan(s, 0);
  return true;
}

bool CreateEffectVoices(KSampleState& s, const KVoiceFormat& format, const void* sound, size_t length) {
  for (int16_t i = 0; i < s.voiceCount; ++i) {
    s.voices[i] = s.holdsDevice ? KVoice::Create(format, length) : nullptr;
    if (!s.voices[i]) {
      ReleaseAll(s);
      return false;
    }
    s.voices[i]->Write(0, sound, length);
  }
  ApplyPan(s, 0);
  return true;
}

// Music mode: stops and forgets whatever the object held.
void BeginMusicLoad(KSampleState& s) {
  InternalStop(s);
  s.musicMode = true;  // only once the feeder, which reads it, has ended
  ReleaseAll(s);
}

bool OpenStream(KSampleState& s, std::string encoded) {
  if (encoded.empty()) return false;
  if (!s.decoder.Open(std::move(encoded))) {
    ShowMessage("error", "error could not detect ogg file");
    return false;
  }
  return CreateMusicVoice(s, s.decoder.Format());
}

}  // namespace

KSample::KSample() : state_(std::make_unique<KSampleState>()) {
  if (liveObjects == 0 && !OpenSoundDevice()) return;
  ++liveObjects;
  state_->holdsDevice = true;
}

KSample::~KSample() {
  KSampleState& s = *state_;
  if (s.holdsDevice) --liveObjects;
  InternalStop(s);
  ReleaseAll(s);
  if (s.holdsDevice && liveObjects <= 0) {
    liveObjects = 0;
    CloseSoundDevice();
  }
}

bool KSample::LoadSample(const std::string& path, int32_t volume, bool looping, int16_t voiceCount) {
  KSampleState& s = *state_;
  InternalStop(s);
  s.musicMode = false;  // only once the feeder, which reads it, has ended
  s.nextVoice = 0;
  ReleaseAll(s);
  s.looping = looping;
  s.volume = std::clamp(volume, 0, kMaxVolume);
  s.voiceCount = std::clamp<int16_t>(voiceCount, 1, kMaxVoices);
  s.ready = true;
  if (path.find(".ogg") != std::string::npos) {
    std::string encoded;
    std::string pcm;
    KVoiceFormat format;
    if (!KFile::ReadWhole(path, encoded) || !DecodeOgg(std::move(encoded), format, pcm)) return false;
    return CreateEffectVoices(s, format, pcm.data(), pcm.size());
  }
  std::string file;
  KWaveData wave;
  if (!KFile::ReadWhole(path, file) || !ScanWave(file, wave)) return false;
  return CreateEffectVoices(s, wave.format, file.data() + wave.dataOffset, wave.dataLength);
}

bool KSample::LoadStream(const std::string& path) {
  KSampleState& s = *state_;
  BeginMusicLoad(s);
  std::string encoded;
  if (!KFile::ReadWhole(path, encoded)) return false;
  return OpenStream(s, std::move(encoded));
}

bool KSample::LoadStream(const void* data, size_t size) {
  KSampleState& s = *state_;
  BeginMusicLoad(s);
  if (!data) return false;
  return OpenStream(s, std::string(static_cast<const char*>(data), size));
}

bool KSample::LoadModule(const std::string& path) {
  KSampleState& s = *state_;
  BeginMusicLoad(s);
  std::string file;
  if (!KFile::ReadWhole(path, file)) return false;
  s.module = std::make_unique<KModuleMusic>();
  if (!s.module->Load(std::move(file))) {
    s.module.reset();
    return false;
  }
  return CreateMusicVoice(s, KVoiceFormat{kSoundDeviceChannels, kSoundDeviceRate, 16});
}

void KSample::Play() {
  KSampleState& s = *state_;
  if (s.musicMode || !s.voices[0]) return;
  s.nextVoice = (s.nextVoice + 1) % s.voiceCount;
  KVoice* voice = s.voices[s.nextVoice].get();
  voice->SetPosition(0);
  ApplyVolume(s);
  voice->Play(s.looping);
}

void KSample::PlayStream(bool looping) {
  KSampleState& s = *state_;
  InternalStop(s);
  if (!s.voices[0] || !s.decoder.IsOpen()) return;
  {
    std::lock_guard<std::mutex> lock(s.music);
    s.decoder.Rewind();
  }
  StartMusic(s, looping);
}

void KSample::PlayModule(bool looping) {
  KSampleState& s = *state_;
  InternalStop(s);
  if (!s.voices[0] || !s.module) return;
  {
    std::lock_guard<std::mutex> lock(s.music);
    s.module->SetLooping(looping);
    s.module->Rewind();
  }
  StartMusic(s, looping);
}

void KSample::StopStream() {
  KSampleState& s = *state_;
  if (!s.musicMode) return;
  std::lock_guard<std::mutex> lock(s.music);
  StopMusic(s);
}

bool KSample::IsPlaying() const {
  const KSampleState& s = *state_;
  if (!s.ready || !s.voices[0]) return false;
  for (int16_t i = 0; i < s.voiceCount; ++i) {
    if (s.voices[i] && s.voices[i]->IsPlaying()) return true;
  }
  return false;
}

void KSample::SetVolume(int32_t volume) {
  KSampleState& s = *state_;
  s.volume = std::clamp(volume, 0, kMaxVolume);
  ApplyVolume(s);
}

void KSample::SetPan(int32_t pan) {
  if (pan < -kMaxPan || pan > kMaxPan) pan = kMaxPan;
  ApplyPan(*state_, pan);
}

bool KSample::RenderModule(const std::string& path, int64_t length) {
  const KSampleState& s = *state_;
  return s.module && s.module->RenderToFile(path, length, kSoundDeviceRate);
}

#ifdef __EMSCRIPTEN__
void FeedMusicVoices() {
  for (FedMusic& music : fedMusic) FeedHalves(*music.state, music.seenMaster, kNoWait);
}
#endif
