#include "SoundCapture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tafutest {

namespace {

constexpr double kSilenceDb = -200.0;
constexpr const char* kMissingDriver = "tafu-no-such-driver";

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* previous = std::getenv(name)) previous_ = previous;
  if (value.empty()) {
    unsetenv(name);
  } else {
    setenv(name, value.c_str(), 1);
  }
}

ScopedEnv::~ScopedEnv() {
  if (previous_) {
    setenv(name_.c_str(), previous_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

// The driver's own pace when no delay is set: one buffer's length per buffer.
SoundCapture::SoundCapture(const std::string& path, int32_t delayMs)
    : path_(path),
      driver_("SDL_AUDIODRIVER", "disk"),
      file_("SDL_DISKAUDIOFILE", path),
      delay_("SDL_DISKAUDIODELAY", delayMs >= 0 ? std::to_string(delayMs) : std::string()) {}

SoundCapture::~SoundCapture() = default;

size_t SoundCapture::FramesWritten() const {
  std::error_code error;
  const auto size = std::filesystem::file_size(path_, error);
  return error ? 0 : static_cast<size_t>(size / 4);
}

std::vector<int16_t> SoundCapture::Samples() const {
  std::ifstream in(path_, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 4 * 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto low = static_cast<uint8_t>(bytes[2 * i]);
    const auto high = static_cast<uint8_t>(bytes[2 * i + 1]);
    samples[i] = static_cast<int16_t>(low | (high << 8));
  }
  return samples;
}

NoSoundDevice::NoSoundDevice() : driver_("SDL_AUDIODRIVER", kMissingDriver) {}

double LevelDb(const std::vector<int16_t>& samples, size_t from, size_t to, int channel) {
  to = std::min(to, FrameCount(samples));
  if (from >= to) return kSilenceDb;
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) {
    const double value = samples[2 * i + channel] / 32768.0;
    sum += value * value;
  }
  const double rms = std::sqrt(sum / static_cast<double>(to - from));
  return rms > 0.0 ? 20.0 * std::log10(rms) : kSilenceDb;
}

int32_t PeakIn(const std::vector<int16_t>& samples, size_t from, size_t to) {
  to = std::min(to, FrameCount(samples));
  int32_t peak = 0;
  for (size_t i = 2 * from; i < 2 * to; ++i) peak = std::max(peak, std::abs(static_cast<int32_t>(samples[i])));
  return peak;
}

size_t FirstSoundAfter(const std::vector<int16_t>& samples, size_t from, int32_t threshold) {
  for (size_t i = from; i < FrameCount(samples); ++i) {
    if (std::abs(samples[2 * i]) > threshold || std::abs(samples[2 * i + 1]) > threshold) return i;
  }
  return std::string::npos;
}

size_t SoundEnd(const std::vector<int16_t>& samples, int32_t threshold) {
  for (size_t i = FrameCount(samples); i > 0; --i) {
    if (std::abs(samples[2 * i - 2]) > threshold || std::abs(samples[2 * i - 1]) > threshold) return i;
  }
  return 0;
}

double GainDb(double factor) { return 20.0 * std::log10(factor); }

}  // namespace tafutest
