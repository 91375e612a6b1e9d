// Every sound effect the game shares between its screens plays at its own volume: each
// played as the game loaded it and then as the same file at full volume, and the two
// levels compared where the sound device mixed them.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "AppTestWindow.h"
#include "SoundCapture.h"
#include "sound/KSample.h"

namespace {

// Between two sounds, longer than the device's buffer lags behind the mixer.
constexpr auto kGap = std::chrono::milliseconds(150);
constexpr int32_t kFastDelayMs = 1;
constexpr int32_t kFullVolume = 100;

struct Effect {
  size_t index;
  const char* file;
  int32_t volume;
};

constexpr Effect kEffects[] = {
    {0, "snd/sfx/click.ogg", 100},     {1, "snd/sfx/tool.wav", 100},      {2, "snd/sfx/slide.wav", 36},
    {3, "snd/sfx/swap.wav", 100},      {4, "snd/sfx/test_true.wav", 100}, {5, "snd/sfx/test_false.wav", 100},
};

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

TEST_F(EffectVolumes, EverySharedEffectPlaysAtItsOwnVolume) {
  for (const char* folder : {"img", "snd"})
    std::filesystem::create_symlink(std::filesystem::path(TAFU_RUNTIME_DIR) / folder, folder_.Path() / folder);
  const tafutest::SoundCapture capture(folder_ / "mixed.raw", kFastDelayMs);
  SetMasterVolumes(100, 100);
  LoadSharedAssets();
  for (const Effect& effect : kEffects) {
    SCOPED_TRACE(effect.file);
    KSample full;
    ASSERT_TRUE(full.LoadSample((folder_.Path() / effect.file).string(), kFullVolume, false, 1));
    const int32_t fullPeak = PlayedPeak(full, capture);
    const int32_t gamePeak = PlayedPeak(*SharedAssets.Sound(effect.index), capture);
    ASSERT_GT(fullPeak, 0);
    EXPECT_NEAR(tafutest::GainDb(static_cast<double>(gamePeak) / fullPeak), LevelDb(effect.volume) - LevelDb(kFullVolume),
                0.1);
  }
}

}  // namespace
