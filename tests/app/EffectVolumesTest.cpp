// Every sound effect plays at its own volume: each played as the game loads it (the shared
// ones, and the studio's through a screen's own asset cache) and then as the same file at
// full volume, and the two levels compared where the sound device mixed them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "AppTestWindow.h"
#include "SoundCapture.h"
#include "app/AssetCache.h"
#include "sound/KSample.h"
#include "TestPaths.h"

namespace {

// Between two sounds, longer than the device's buffer lags behind the mixer.
constexpr auto kGap = std::chrono::milliseconds(150);
constexpr int32_t kFastDelayMs = 1;
constexpr int32_t kFullVolume = 100;

struct Effect {
  bool shared;  // one of the shared sounds, in this order; else one a screen loads itself
  const char* file;
  int32_t volume;
};

constexpr Effect kEffects[] = {
    {true, "snd/sfx/click.ogg", 100},    {true, "snd/sfx/tool.wav", 100},      {true, "snd/sfx/slide.wav", 36},
    {true, "snd/sfx/swap.wav", 100},     {true, "snd/sfx/test_true.wav", 100}, {true, "snd/sfx/test_false.wav", 100},
    {false, "snd/sfx/save_ok.wav", 100}, {false, "snd/sfx/save_failed.wav", 100}, {false, "snd/sfx/color.wav", 100},
};

// The game's own name of a file: backslashes.
std::string GameName(std::string file) {
  std::replace(file.begin(), file.end(), '/', '\\');
  return file;
}

// The loudest sample the device mixed from Play until the sound has ended and gone quiet.
int32_t PlayedPeak(KSample& sound, const tafutest::SoundCapture& capture) {
  const size_t from = capture.FramesWritten();
  sound.Play();
  while (sound.IsPlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::this_thread::sleep_for(kGap);
  const std::vector<int16_t> samples = capture.Samples();
  return tafutest::PeakIn(samples, from, tafutest::FrameCount(samples));
}

// Decibels of an effect's volume at the full effects master (levels stop at 99).
double LevelDb(int32_t volume) { return VolumeTable(std::min(volume, 99)) / 100.0; }

class EffectVolumes : public tafutest::AppWindowTest {};

TEST_F(EffectVolumes, EveryEffectPlaysAtItsOwnVolume) {
  for (const char* folder : {"img", "snd"})
    std::filesystem::create_symlink(std::filesystem::path(tafutest::RuntimeDir()) / folder, folder_.Path() / folder);
  const tafutest::SoundCapture capture(folder_ / "mixed.raw", kFastDelayMs);
  SetMasterVolumes(100, 100);
  LoadSharedAssets();
  AssetCache screenAssets;
  size_t shared = 0;
  for (const Effect& effect : kEffects) {
    SCOPED_TRACE(effect.file);
    KSample full;
    ASSERT_TRUE(full.LoadSample((folder_.Path() / effect.file).string(), kFullVolume, false, 1));
    const int32_t fullPeak = PlayedPeak(full, capture);
    KSample* asLoaded =
        effect.shared ? SharedAssets.Sound(shared++) : screenAssets.Sound(screenAssets.AddSound(GameName(effect.file)));
    ASSERT_NE(asLoaded, nullptr);
    const int32_t gamePeak = PlayedPeak(*asLoaded, capture);
    ASSERT_GT(fullPeak, 0);
    EXPECT_NEAR(tafutest::GainDb(static_cast<double>(gamePeak) / fullPeak), LevelDb(effect.volume) - LevelDb(kFullVolume),
                0.1);
  }
}

}  // namespace
