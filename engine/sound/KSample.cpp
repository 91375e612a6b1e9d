#include "KSample.h"

#include <algorithm>
#include <utility>

#include "KSampleState.h"
#include "KWaveFile.h"
#include "services/KFile.h"
#include "services/KMessage.h"

namespace {

constexpr int32_t kMaxVolume = 100;
// The loudest level the volume curve is asked for: full volume plays at -0.12 dB.
constexpr int32_t kLoudestLevel = 99;
constexpr int32_t kMaxPan = 100;

// Objects alive that share the device; the device is open while it is above 0.
int32_t liveObjects = 0;

}  // namespace

bool IsSoundDeviceOpen() { return liveObjects > 0; }

void ApplyVolume(KSampleState& s) {
  const int32_t master = s.musicMode ? GetMusicMasterVolume() : GetEffectsMasterVolume();
  const int32_t level = std::clamp(s.volume * master / kMaxVolume, 0, kLoudestLevel);
  for (const std::unique_ptr<KVoice>& voice : s.voices) {
    if (!voice) break;
    voice->SetVolume(VolumeTable(level));
  }
  if (s.musicMode && s.voices[0]) s.voices[0]->Hold(level == 0);
}

namespace {

void ApplyPan(KSampleState& s, int32_t pan) {
  for (const std::unique_ptr<KVoice>& voice : s.voices) {
    if (!voice) break;
    voice->SetPan(PanTable(pan));
  }
}

void ReleaseAll(KSampleState& s) {
  s.module.reset();
  for (std::unique_ptr<KVoice>& voice : s.voices) voice.reset();
  s.decoder.Close();
}

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
