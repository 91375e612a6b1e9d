// What sound costs: mixing nine effects and a music track on the device's callback,
// and the feeder's refill of half the music buffer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "SoundFiles.h"
#include "sound/KOggDecoder.h"
#include "sound/KSample.h"
#include "sound/KSoundDevice.h"

namespace {

constexpr int32_t kEffects = 9;
constexpr int32_t kCallbackFrames = 1024;
constexpr size_t kMusicHalfSize = 16384;
constexpr double kTrackSeconds = 20.0;

std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("tafu-bench-" + name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

// A stereo track at the device rate; the noise in it makes the decoder work about as
// hard as on real music.
std::string MakeTrack() {
  return tafutest::MakeOgg(2, kSoundDeviceRate, kTrackSeconds, 261.6, 0.3, 0.2);
}

// Nine looping effects in the formats the game's sounds come in, and one streamed
// track, all sounding while the callback's work is repeated.
void BM_MixNineEffectsAndMusic(benchmark::State& state) {
  const std::string effect16 = WriteTemp("effect16.wav", tafutest::MakeWave(1, 22050, 16,
      tafutest::SineSamples(22050, 1.0, 880.0, 0.3)));
  const std::string effect8 = WriteTemp("effect8.wav", tafutest::MakeWave(1, 11025, 8,
      tafutest::SineSamples8(11025, 1.0, 440.0, 0.3)));
  const std::string effectOgg = WriteTemp("effect.ogg", tafutest::MakeOgg(2, kSoundDeviceRate, 1.0, 660.0, 0.3));
  const std::string track = WriteTemp("music.ogg", MakeTrack());

  std::vector<std::unique_ptr<KSample>> effects;
  for (int32_t i = 0; i < kEffects; ++i) {
    auto effect = std::make_unique<KSample>();
    const std::string& path = i % 3 == 0 ? effect16 : (i % 3 == 1 ? effect8 : effectOgg);
    if (!effect->LoadSample(path, 100, true, 1)) {
      state.SkipWithError("no sound device");
      return;
    }
    effect->Play();
    effects.push_back(std::move(effect));
  }
  KSample music;
  music.LoadStream(track);
  music.PlayStream(true);

  std::vector<uint8_t> buffer(kCallbackFrames * kSoundDeviceChannels * 2);
  for (auto _ : state) {
    MixSoundDevice(buffer.data(), static_cast<int32_t>(buffer.size()));
    benchmark::DoNotOptimize(buffer.data());
  }
  const double audioSeconds = static_cast<double>(state.iterations()) * kCallbackFrames / kSoundDeviceRate;
  // Seconds of one core per second of audio, in per cent.
  state.counters["core_percent"] =
      benchmark::Counter(audioSeconds / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixNineEffectsAndMusic)->Unit(benchmark::kMicrosecond);

// One refill as the feeder does it: decode 16 KB of the track and copy it into the
// music voice while the device mixes. The worst refill of a whole 20 s track is the
// figure that matters; half the buffer lasts 93 ms at 44100 Hz stereo.
void BM_FeederRefill(benchmark::State& state) {
  KSample deviceHolder;
  const std::string encoded = MakeTrack();
  KOggDecoder decoder;
  if (!decoder.Open(encoded)) {
    state.SkipWithError("track did not decode");
    return;
  }
  std::unique_ptr<KVoice> voice = KVoice::Create(decoder.Format(), 2 * kMusicHalfSize);
  if (!voice) {
    state.SkipWithError("no sound device");
    return;
  }
  voice->Play(true);
  std::vector<uint8_t> half(kMusicHalfSize);
  double worstMs = 0.0;
  size_t h = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    size_t filled = 0;
    while (filled < half.size()) {
      const long got = decoder.Read(half.data() + filled, half.size() - filled);
      if (got <= 0) {
        decoder.Rewind();
        break;
      }
      filled += static_cast<size_t>(got);
    }
    voice->Write(h * kMusicHalfSize, half.data(), half.size());
    h ^= 1;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    worstMs = std::max(worstMs, took.count());
    state.SetIterationTime(took.count() / 1000.0);
  }
  state.counters["worst_ms"] = worstMs;
  state.counters["budget_ms"] = 1000.0 * kMusicHalfSize / (kSoundDeviceRate * 4.0);
}
BENCHMARK(BM_FeederRefill)->UseManualTime()->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // The dummy driver runs the callback without a sound card.
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
