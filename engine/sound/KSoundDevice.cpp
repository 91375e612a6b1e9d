#include "KSoundDevice.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "platform/KPlatform.h"

namespace {

// 1024 frames at 44100 Hz: the callback runs every 23 ms.
constexpr int32_t kDeviceFrames = 1024;
constexpr int32_t kMaxVoiceRate = 192000;
constexpr int32_t kMaxNotifications = 2;
constexpr int kFixedShift = 32;
constexpr float kFixedOne = 4294967296.0f;

struct Device {
  // Voices may be made and played: the output is open, or opens at the first gesture.
  bool open = false;
  // SDL's device, 0 until the output opens.
  SDL_AudioDeviceID id = 0;
  std::vector<KVoice*> voices;
  std::vector<float> mix;
  // The driver asked for (SDL_AUDIODRIVER, empty for SDL's choice) when opening last
  // failed. A machine without a sound device is not asked again for every new sound:
  // each attempt only repeats the audio libraries' complaints on standard error.
  std::optional<std::string> failedDriver;
};

std::string RequestedDriver() {
  const char* driver = SDL_getenv("SDL_AUDIODRIVER");
  return driver ? driver : "";
}

// Made on first use and never destroyed, so sounds made or released by static
// constructors and destructors still find it.
Device& TheDevice() {
  static Device* device = new Device;
  return *device;
}

// Holds the callback off while voices change.
class DeviceLock {
 public:
  DeviceLock() : id_(TheDevice().id) {
    if (id_) SDL_LockAudioDevice(id_);
  }
  ~DeviceLock() {
    if (id_) SDL_UnlockAudioDevice(id_);
  }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  SDL_AudioDeviceID id_;
};

// Hundredths of a decibel as an amplitude factor.
float Gain(int32_t hundredthsDb) {
  if (hundredthsDb <= kVolumeSilent) return 0.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

void MixLocked(uint8_t* stream, int32_t bytes) {
  Device& device = TheDevice();
  const int32_t frames = bytes / (kSoundDeviceChannels * 2);
  const size_t samples = static_cast<size_t>(frames) * kSoundDeviceChannels;
  if (device.mix.size() < samples) device.mix.resize(samples);
  std::fill(device.mix.begin(), device.mix.begin() + samples, 0.0f);
  for (KVoice* voice : device.voices) voice->MixInto(device.mix.data(), frames);
  int16_t* out = reinterpret_cast<int16_t*>(stream);
  for (size_t i = 0; i < samples; ++i) {
    const float value = std::clamp(device.mix[i], -1.0f, 1.0f);
    out[i] = static_cast<int16_t>(std::lrint(value * 32767.0f));
  }
  std::memset(stream + samples * 2, 0, bytes - samples * 2);
}

void SDLCALL DeviceCallback(void*, Uint8* stream, int len) { MixLocked(stream, len); }

// SDL's audio output, mixing the voices from now on; false when it cannot be had.
bool OpenOutput(Device& device) {
  SDL_AudioSpec wanted{};
  wanted.freq = kSoundDeviceRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kSoundDeviceChannels;
  wanted.samples = kDeviceFrames;
  wanted.callback = DeviceCallback;
  SDL_AudioSpec obtained{};
  PrepareSoundOutput(kDeviceFrames, kSoundDeviceRate);
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (id == 0) return false;
  device.mix.assign(static_cast<size_t>(kDeviceFrames) * kSoundDeviceChannels, 0.0f);
  device.id = id;
  SDL_PauseAudioDevice(id, 0);
  return true;
}

// Watches the events for a person's first move of the pointer, press, tap or key, and opens
// the output then, while the page still handles it: at a press, tap or key the browser lets
// the sound start at once; a pointer that moves before its first press readies the output
// beforehand, and the press only lets it play.
int SDLCALL OpenOutputAtGesture(void*, SDL_Event* event) {
  if (event->type != SDL_MOUSEMOTION && event->type != SDL_MOUSEBUTTONDOWN && event->type != SDL_FINGERDOWN &&
      event->type != SDL_KEYDOWN)
    return 1;
  SDL_DelEventWatch(OpenOutputAtGesture, nullptr);
  OpenOutput(TheDevice());
  return 1;
}

template <int Bits>
float ReadSample(const uint8_t* at) {
  if constexpr (Bits == 16) {
    return static_cast<int16_t>(at[0] | (at[1] << 8)) * (1.0f / 32768.0f);
  } else {
    return (at[0] - 128) * (1.0f / 128.0f);
  }
}

// Mixes count frames from the whole frame at position of a voice played at the device's own
// rate: every frame falls on a frame of the voice, so nothing is interpolated.
template <int Bits, int Channels>
uint64_t MixStraightRun(const uint8_t* data, uint64_t position, float gainLeft, float gainRight, float* out,
                        int32_t count) {
  constexpr size_t kFrameBytes = Bits / 8 * Channels;
  constexpr size_t kSampleBytes = Bits / 8;
  const uint8_t* frame = data + static_cast<size_t>(position >> kFixedShift) * kFrameBytes;
  for (int32_t i = 0; i < count; ++i, frame += kFrameBytes) {
    const float left = ReadSample<Bits>(frame);
    const float right = Channels == 2 ? ReadSample<Bits>(frame + kSampleBytes) : left;
    out[2 * i] += left * gainLeft;
    out[2 * i + 1] += right * gainRight;
  }
  return position + (static_cast<uint64_t>(count) << kFixedShift);
}

// Mixes count frames starting at position, linearly interpolated; the frame after the
// last is the first when looping, else the last again. Returns the advanced position.
template <int Bits, int Channels>
uint64_t MixRun(const uint8_t* data, size_t frames, bool looping, uint64_t position, uint64_t step,
                float gainLeft, float gainRight, float* out, int32_t count) {
  constexpr uint64_t kOneFrame = uint64_t{1} << kFixedShift;
  if (step == kOneFrame && (position & (kOneFrame - 1)) == 0)
    return MixStraightRun<Bits, Channels>(data, position, gainLeft, gainRight, out, count);
  constexpr size_t kFrameBytes = Bits / 8 * Channels;
  constexpr size_t kSampleBytes = Bits / 8;
  for (int32_t i = 0; i < count; ++i) {
    const size_t index = static_cast<size_t>(position >> kFixedShift);
    const size_t next = index + 1 < frames ? index + 1 : (looping ? 0 : index);
    const float t = static_cast<float>(position & 0xFFFFFFFFu) / kFixedOne;
    const uint8_t* a = data + index * kFrameBytes;
    const uint8_t* b = data + next * kFrameBytes;
    const float left = ReadSample<Bits>(a) + (ReadSample<Bits>(b) - ReadSample<Bits>(a)) * t;
    float right = left;
    if constexpr (Channels == 2) {
      right = ReadSample<Bits>(a + kSampleBytes) +
              (ReadSample<Bits>(b + kSampleBytes) - ReadSample<Bits>(a + kSampleBytes)) * t;
    }
    out[2 * i] += left * gainLeft;
    out[2 * i + 1] += right * gainRight;
    position += step;
  }
  return position;
}

}  // namespace

bool KVoiceFormat::IsPlayable() const {
  return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) && sampleRate > 0 &&
         sampleRate <= kMaxVoiceRate;
}

bool OpenSoundDevice() {
  Device& device = TheDevice();
  if (device.open) return true;
  const std::string driver = RequestedDriver();
  if (device.failedDriver == driver) return false;
  device.failedDriver = driver;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (SoundWaitsForGesture()) {
    SDL_AddEventWatch(OpenOutputAtGesture, nullptr);
  } else if (!OpenOutput(device)) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device.open = true;
  device.failedDriver.reset();
  return true;
}

void CloseSoundDevice() {
  Device& device = TheDevice();
  if (!device.open) return;
  SDL_DelEventWatch(OpenOutputAtGesture, nullptr);
  if (device.id) SDL_CloseAudioDevice(device.id);
  device.id = 0;
  device.open = false;
  device.voices.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void MixSoundDevice(uint8_t* stream, int32_t bytes) {
  DeviceLock lock;
  MixLocked(stream, bytes);
}

void KNotifyEvent::Set() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    set_ = true;
  }
  changed_.notify_one();
}

void KNotifyEvent::Nudge() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    nudged_ = true;
  }
  changed_.notify_one();
}

bool KNotifyEvent::Wait(int32_t ms) {
  std::unique_lock<std::mutex> guard(mutex_);
  changed_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return set_ || nudged_; });
  const bool came = set_;
  set_ = false;
  nudged_ = false;
  return came;
}

std::unique_ptr<KVoice> KVoice::Create(const KVoiceFormat& format, size_t size) {
  if (!TheDevice().open || !format.IsPlayable()) return nullptr;
  const size_t frames = size / static_cast<size_t>(format.BlockAlign());
  if (frames == 0) return nullptr;
  std::unique_ptr<KVoice> voice(new KVoice(format, frames * format.BlockAlign()));
  DeviceLock lock;
  TheDevice().voices.push_back(voice.get());
  return voice;
}

KVoice::KVoice(const KVoiceFormat& format, size_t size)
    : format_(format),
      data_(size, format.bitsPerSample == 8 ? 128 : 0),
      frames_(size / format.BlockAlign()),
      step_((static_cast<uint64_t>(format.sampleRate) << kFixedShift) / kSoundDeviceRate) {}

KVoice::~KVoice() {
  DeviceLock lock;
  std::vector<KVoice*>& voices = TheDevice().voices;
  voices.erase(std::remove(voices.begin(), voices.end(), this), voices.end());
}

void KVoice::Write(size_t offset, const void* bytes, size_t count) {
  if (offset >= data_.size()) return;
  count = std::min(count, data_.size() - offset);
  DeviceLock lock;
  std::memcpy(data_.data() + offset, bytes, count);
}

void KVoice::Clear(size_t offset, size_t count) {
  if (offset >= data_.size()) return;
  count = std::min(count, data_.size() - offset);
  DeviceLock lock;
  std::memset(data_.data() + offset, format_.bitsPerSample == 8 ? 128 : 0, count);
}

void KVoice::Play(bool looping) {
  DeviceLock lock;
  looping_ = looping;
  if ((position_ >> kFixedShift) >= frames_) position_ = 0;
  playing_ = true;
}

void KVoice::Stop() {
  DeviceLock lock;
  playing_ = false;
}

void KVoice::SetPosition(size_t offset) {
  DeviceLock lock;
  const size_t frame = std::min(offset / format_.BlockAlign(), frames_);
  position_ = static_cast<uint64_t>(frame) << kFixedShift;
}

void KVoice::SetVolume(int32_t volume) {
  DeviceLock lock;
  volume_ = std::clamp(volume, kVolumeSilent, kVolumeFull);
  ApplyGains();
}

void KVoice::SetPan(int32_t pan) {
  DeviceLock lock;
  pan_ = std::clamp(pan, -10000, 10000);
  ApplyGains();
}

void KVoice::ApplyGains() {
  const float level = Gain(volume_);
  gainLeft_ = pan_ > 0 ? level * Gain(-pan_) : level;
  gainRight_ = pan_ < 0 ? level * Gain(pan_) : level;
}

void KVoice::SetNotifications(const std::vector<KVoiceNotification>& notifications) {
  DeviceLock lock;
  notifications_.assign(notifications.begin(),
                        notifications.begin() + std::min<size_t>(notifications.size(), kMaxNotifications));
}

void KVoice::Hold(bool held) {
  DeviceLock lock;
  held_ = held;
}

bool KVoice::IsHeld() const {
  DeviceLock lock;
  return held_;
}

bool KVoice::IsPlaying() const {
  DeviceLock lock;
  return playing_;
}

void KVoice::PassNotifications(size_t from, size_t to) {
  for (const KVoiceNotification& notification : notifications_) {
    const size_t frame = notification.offset / format_.BlockAlign();
    if (frame > from && frame <= to && notification.event) notification.event->Set();
  }
}

void KVoice::MixInto(float* frames, int32_t count) {
  const uint64_t end = static_cast<uint64_t>(frames_) << kFixedShift;
  int32_t done = 0;
  while (playing_ && !held_ && done < count) {
    const uint64_t stepsToEnd = (end - position_ + step_ - 1) / step_;
    const int32_t run = static_cast<int32_t>(std::min<uint64_t>(count - done, stepsToEnd));
    const size_t from = static_cast<size_t>(position_ >> kFixedShift);
    float* out = frames + 2 * done;
    const uint8_t* data = data_.data();
    if (format_.bitsPerSample == 16 && format_.channels == 2) {
      position_ = MixRun<16, 2>(data, frames_, looping_, position_, step_, gainLeft_, gainRight_, out, run);
    } else if (format_.bitsPerSample == 16) {
      position_ = MixRun<16, 1>(data, frames_, looping_, position_, step_, gainLeft_, gainRight_, out, run);
    } else if (format_.channels == 2) {
      position_ = MixRun<8, 2>(data, frames_, looping_, position_, step_, gainLeft_, gainRight_, out, run);
    } else {
      position_ = MixRun<8, 1>(data, frames_, looping_, position_, step_, gainLeft_, gainRight_, out, run);
    }
    done += run;
    PassNotifications(from, std::min(static_cast<size_t>(position_ >> kFixedShift), frames_ - 1));
    if (position_ < end) continue;
    if (looping_) {
      position_ -= end;
      for (const KVoiceNotification& notification : notifications_) {
        if (notification.offset / format_.BlockAlign() == 0 && notification.event) notification.event->Set();
      }
    } else {
      playing_ = false;
      position_ = end;
    }
  }
}
