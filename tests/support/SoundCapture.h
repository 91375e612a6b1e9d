// Reading back what the sound device mixed, through SDL's "disk" audio driver, which
// writes every mixed buffer (16-bit stereo at the device rate) to a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tafutest {

// Sets an environment variable and puts the earlier value back when destroyed.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

constexpr int32_t kCaptureRate = 44100;

// Frames of the device rate in ms milliseconds.
constexpr size_t FramesIn(double ms) { return static_cast<size_t>(ms * kCaptureRate / 1000.0); }

// While alive, a sound device opened by the first KSample writes to Path(). A delay of
// -1 keeps the driver's real-time pace; 0 mixes as fast as it can.
class SoundCapture {
 public:
  explicit SoundCapture(const std::string& path, int32_t delayMs = -1);
  ~SoundCapture();
  SoundCapture(const SoundCapture&) = delete;
  SoundCapture& operator=(const SoundCapture&) = delete;

  const std::string& Path() const { return path_; }
  // Stereo frames written so far (at most one device buffer behind the mixer).
  size_t FramesWritten() const;
  // Everything written so far, interleaved left, right.
  std::vector<int16_t> Samples() const;

 private:
  std::string path_;
  ScopedEnv driver_;
  ScopedEnv file_;
  ScopedEnv delay_;
};

// Makes the next device open fail, as on a machine without a sound card.
class NoSoundDevice {
 public:
  NoSoundDevice();

 private:
  ScopedEnv driver_;
};

// Level of channel (0 left, 1 right) over frames [from, to) in dB of full scale;
// -200 for silence or an empty range.
double LevelDb(const std::vector<int16_t>& samples, size_t from, size_t to, int channel);
// Largest absolute sample of both channels over frames [from, to).
int32_t PeakIn(const std::vector<int16_t>& samples, size_t from, size_t to);
// First frame at or after from whose left or right sample exceeds threshold; npos if none.
size_t FirstSoundAfter(const std::vector<int16_t>& samples, size_t from, int32_t threshold = 0);
// Last frame whose left or right sample exceeds threshold, plus one; 0 if none.
size_t SoundEnd(const std::vector<int16_t>& samples, int32_t threshold = 0);
inline size_t FrameCount(const std::vector<int16_t>& samples) { return samples.size() / 2; }

// Decibels of an amplitude factor and of a level in hundredths of a decibel.
double GainDb(double factor);

}  // namespace tafutest
