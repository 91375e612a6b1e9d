// Test sounds made on the spot: wave files, Ogg Vorbis tracks and a small module.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tafutest {

// One chunk of a RIFF file: four-letter tag and body (the length is written for it
// unless lengthOverride is not negative).
struct RiffChunk {
  std::string tag;
  std::string body;
  int64_t lengthOverride = -1;
};

// A "fmt " body: PCM (format tag 1) unless told otherwise.
std::string WaveFormatBody(int32_t channels, int32_t sampleRate, int32_t bitsPerSample, int32_t formatTag = 1);
// "RIFF" + length + "WAVE" + the chunks in order.
std::string MakeRiff(const std::vector<RiffChunk>& chunks);
// A plain PCM wave file.
std::string MakeWave(int32_t channels, int32_t sampleRate, int32_t bitsPerSample, const std::string& data);

// 16-bit mono samples: a sine of the given frequency and peak (0..1), or a constant.
std::string SineSamples(int32_t sampleRate, double seconds, double frequency, double peak);
std::string ConstantSamples(int32_t frames, int16_t value);
// 8-bit unsigned mono sine.
std::string SineSamples8(int32_t sampleRate, double seconds, double frequency, double peak);

// An Ogg Vorbis file of frames samples a channel, sample(frame, channel) each (-1..1).
std::string EncodeOgg(int32_t channels, int32_t sampleRate, int32_t frames,
                      const std::function<float(int32_t frame, int32_t channel)>& sample);

// An Ogg Vorbis file of a sine on every channel, with white noise of the given peak
// mixed in when noise is above 0 (broadband sound takes more bits, like real music).
std::string MakeOgg(int32_t channels, int32_t sampleRate, double seconds, double frequency, double peak,
                    double noise = 0.0);

// A mono track heard only at its start: toneSeconds of a sine (frequency, peak 0..1), then
// silentSeconds of silence. A player that starts such a track again is heard again, so
// tests can tell a track that plays on from one that was restarted.
std::string MakeToneThenSilence(int32_t sampleRate, double toneSeconds, double silentSeconds, double frequency,
                                double peak);

// A four-channel Protracker module: one looping square-wave sample played on channel 1
// from the first row, and a pattern break after rows rows, so it lasts rows x 120 ms.
std::string MakeModule(int32_t rows);

}  // namespace tafutest
