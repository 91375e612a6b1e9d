#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "PlaybackHelpers.h"
#include "SoundCapture.h"
#include "SoundFiles.h"
#include "TestSupport.h"
#include "sound/KSample.h"

using namespace tafutest;

namespace {

class SoundDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    tone_ = folder_ / "tone.wav";
    WriteFile(tone_, MakeWave(1, kCaptureRate, 16, SineSamples(kCaptureRate, 0.3, 440.0, 0.5)));
    track_ = folder_ / "track.ogg";
    WriteFile(track_, MakeOgg(2, kCaptureRate, 0.5, 440.0, 0.5));
    module_ = folder_ / "song.mod";
    WriteFile(module_, MakeModule(4));
  }

  TempFolder folder_;
  std::string tone_;
  std::string track_;
  std::string module_;
};

TEST_F(SoundDevice, FirstObjectOpensItAndTheLastClosesIt) {
  SoundCapture capture(folder_ / "mixed.raw");
  EXPECT_FALSE(IsSoundDeviceOpen());
  auto first = std::make_unique<KSample>();
  EXPECT_TRUE(IsSoundDeviceOpen());
  auto second = std::make_unique<KSample>();
  first.reset();
  EXPECT_TRUE(IsSoundDeviceOpen());
  EXPECT_TRUE(second->LoadSample(tone_, 100, false, 2));
  second.reset();
  EXPECT_FALSE(IsSoundDeviceOpen());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

  KSample again;
  EXPECT_TRUE(IsSoundDeviceOpen());
  EXPECT_TRUE(again.LoadStream(track_));
}

TEST_F(SoundDevice, DestroyingAPlayingSoundStopsIt) {
  SoundCapture capture(folder_ / "mixed.raw");
  size_t destroyed = 0;
  {
    KSample keeper;
    auto effect = std::make_unique<KSample>();
    auto music = std::make_unique<KSample>();
    ASSERT_TRUE(effect->LoadSample(tone_, 100, true, 1));
    ASSERT_TRUE(music->LoadStream(track_));
    effect->Play();
    music->PlayStream(true);
    SleepMs(400);
    destroyed = capture.FramesWritten();
    effect.reset();
    music.reset();
    SleepMs(300);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  EXPECT_GT(PeakIn(mixed, 0, destroyed), 10000);
  ASSERT_GT(FrameCount(mixed), destroyed + FramesIn(200));
  EXPECT_EQ(PeakIn(mixed, destroyed + FramesIn(30), FrameCount(mixed)), 0);
}

TEST_F(SoundDevice, ReloadingStopsWhatPlayed) {
  SoundCapture capture(folder_ / "mixed.raw");
  size_t reloaded = 0;
  {
    KSample sample;
    ASSERT_TRUE(sample.LoadStream(track_));
    sample.PlayStream(true);
    SleepMs(400);
    reloaded = capture.FramesWritten();
    ASSERT_TRUE(sample.LoadSample(tone_, 100, false, 1));
    EXPECT_FALSE(sample.IsPlaying());
    SleepMs(300);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  EXPECT_GT(PeakIn(mixed, 0, reloaded), 10000);
  EXPECT_EQ(PeakIn(mixed, reloaded + FramesIn(30), FrameCount(mixed)), 0);
}

TEST_F(SoundDevice, WithoutADeviceEveryLoadFailsQuietly) {
  NoSoundDevice noDevice;
  MessageCapture messages;
  KSample sample;
  EXPECT_FALSE(IsSoundDeviceOpen());
  EXPECT_FALSE(sample.LoadSample(tone_, 100, false, 3));
  sample.Play();
  EXPECT_FALSE(sample.IsPlaying());
  EXPECT_FALSE(sample.LoadStream(track_));
  sample.PlayStream(true);
  sample.SetVolume(50);
  sample.SetPan(-30);
  EXPECT_FALSE(sample.IsPlaying());
  sample.StopStream();
  EXPECT_FALSE(sample.LoadModule(module_));
  sample.PlayModule(false);
  EXPECT_FALSE(sample.IsPlaying());
  EXPECT_TRUE(messages.Messages().empty());
}

// An object made while there was no device does not count among the device's users,
// so destroying it cannot close the device under a later object.
TEST_F(SoundDevice, ObjectWithoutTheDeviceDoesNotCloseItLater) {
  auto early = std::make_unique<NoSoundDevice>();
  auto deviceless = std::make_unique<KSample>();
  early.reset();
  SoundCapture capture(folder_ / "mixed.raw");
  KSample later;
  EXPECT_TRUE(IsSoundDeviceOpen());
  deviceless.reset();
  EXPECT_TRUE(IsSoundDeviceOpen());
  ASSERT_TRUE(later.LoadSample(tone_, 100, false, 1));
  later.Play();
  EXPECT_TRUE(later.IsPlaying());
}

}  // namespace
