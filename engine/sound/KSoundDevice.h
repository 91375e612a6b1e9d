// The sound device: SDL's audio output with a small voice mixer on its callback.
//
// A voice is a PCM buffer in its own format (8 or 16 bits, mono or stereo, any rate),
// resampled to the device rate as it plays, with a volume and a pan in hundredths of a
// decibel, looping, a play status and, for streamed music, events signalled when the
// play position reaches given offsets of its buffer.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Every voice is mixed into 16-bit stereo at this rate.
constexpr int32_t kSoundDeviceRate = 44100;
constexpr int32_t kSoundDeviceChannels = 2;
// Hundredths of a decibel: full level and silence.
constexpr int32_t kVolumeFull = 0;
constexpr int32_t kVolumeSilent = -10000;

struct KVoiceFormat {
  int32_t channels = 0;       // 1 or 2
  int32_t sampleRate = 0;     // frames per second
  int32_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed)

  int32_t BlockAlign() const { return channels * bitsPerSample / 8; }
  int32_t BytesPerSecond() const { return sampleRate * BlockAlign(); }
  // True when the mixer can play it.
  bool IsPlayable() const;
};

// Opens SDL's default audio output; false (and no device) when there is none. Where sound
// waits for a gesture (the browser), SDL's output opens at the first move of the pointer, press,
// tap or key, and the voices made before are heard from then.
bool OpenSoundDevice();
void CloseSoundDevice();

// What the device's callback does: mixes every playing voice into bytes of 16-bit
// stereo. Public so the mixing cost can be measured.
void MixSoundDevice(uint8_t* stream, int32_t bytes);

// An auto-reset event: Set wakes one Wait, or the next one.
class KNotifyEvent {
 public:
  void Set();
  // Ends a Wait early without setting the event, or the next Wait when none is waiting.
  void Nudge();
  // True when the event was set within ms milliseconds; clears it. A nudge ends the wait
  // with the event as it is.
  bool Wait(int32_t ms);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = false;
  bool nudged_ = false;
};

// Signals event when the play position reaches offset (bytes) of the voice's buffer.
struct KVoiceNotification {
  size_t offset = 0;
  KNotifyEvent* event = nullptr;
};

class KVoice {
 public:
  // A silent, stopped voice of size bytes; null without a device or for a format the
  // mixer cannot play.
  static std::unique_ptr<KVoice> Create(const KVoiceFormat& format, size_t size);
  ~KVoice();
  KVoice(const KVoice&) = delete;
  KVoice& operator=(const KVoice&) = delete;

  const KVoiceFormat& Format() const { return format_; }
  size_t Size() const { return data_.size(); }

  // Copies bytes into the buffer at offset (clipped to the buffer).
  void Write(size_t offset, const void* bytes, size_t count);
  void Clear(size_t offset, size_t count);

  void Play(bool looping);
  void Stop();
  // Moves the play position to a byte offset (rounded down to a whole frame).
  void SetPosition(size_t offset);
  // Hundredths of a decibel, kVolumeSilent .. kVolumeFull.
  void SetVolume(int32_t volume);
  // Hundredths of a decibel, -10000 (left only) .. 10000 (right only).
  void SetPan(int32_t pan);
  // At most two positions are kept; an empty list removes them.
  void SetNotifications(const std::vector<KVoiceNotification>& notifications);
  // A held voice keeps its place: it is neither heard nor moved on, and still counts as
  // playing. Music turned all the way down is held, so that nothing decodes it.
  void Hold(bool held);
  bool IsHeld() const;
  bool IsPlaying() const;

  // Mixes count frames of this voice into stereo float frames; called with the device
  // locked.
  void MixInto(float* frames, int32_t count);

 private:
  explicit KVoice(const KVoiceFormat& format, size_t size);
  void ApplyGains();
  void PassNotifications(size_t from, size_t to);

  KVoiceFormat format_;
  std::vector<uint8_t> data_;
  size_t frames_ = 0;
  uint64_t position_ = 0;  // frames, 32.32 fixed point
  uint64_t step_ = 0;      // voice frames per device frame, 32.32 fixed point
  bool playing_ = false;
  bool looping_ = false;
  bool held_ = false;
  int32_t volume_ = kVolumeFull;
  int32_t pan_ = 0;
  float gainLeft_ = 1.0f;
  float gainRight_ = 1.0f;
  std::vector<KVoiceNotification> notifications_;
};
