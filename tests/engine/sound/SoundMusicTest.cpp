#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PlaybackHelpers.h"
#include "SoundCapture.h"
#include "SoundFiles.h"
#include "GameState.h"
#include "TestSupport.h"
#include "sound/KSample.h"

using namespace tafutest;

namespace {

constexpr double kTonePeak = 0.5;
constexpr double kToneFrequency = 500.0;
const double kToneDb = GainDb(kTonePeak / std::sqrt(2.0));
// Music plays at its default volume of 80.
const double kMusicDb = kToneDb + VolumeTable(80) / 100.0;
// Vorbis keeps a pure tone's level to well within this.
constexpr double kOggTolerance = 0.3;

class Music : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameState(); }

  std::string WriteTrack(const std::string& name, double seconds) {
    const std::string path = folder_ / name;
    WriteFile(path, MakeOgg(2, kCaptureRate, seconds, kToneFrequency, kTonePeak));
    return path;
  }

  // The longest run of 5 ms windows without sound between frames from and to, in ms.
  static double LongestSilenceMs(const std::vector<int16_t>& samples, size_t from, size_t to) {
    const size_t window = FramesIn(5);
    size_t run = 0;
    size_t longest = 0;
    for (size_t at = from; at + window <= to; at += window) {
      run = PeakIn(samples, at, at + window) < 100 ? run + window : 0;
      longest = std::max(longest, run);
    }
    return longest * 1000.0 / kCaptureRate;
  }

  TempFolder folder_;
};

TEST_F(Music, TrackPlaysAtItsVolumeAndStopsOnStopStream) {
  const std::string track = WriteTrack("menu.ogg", 2.0);
  SoundCapture capture(folder_ / "mixed.raw");
  size_t stopped = 0;
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(track));
    EXPECT_FALSE(music.IsPlaying());
    music.PlayStream(true);
    SleepMs(700);
    EXPECT_TRUE(music.IsPlaying());
    stopped = capture.FramesWritten();
    music.StopStream();
    EXPECT_FALSE(music.IsPlaying());
    SleepMs(300);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_LT(onset, stopped);
  EXPECT_NEAR(LevelDb(mixed, onset + FramesIn(50), onset + FramesIn(250), 0), kMusicDb, kOggTolerance);
  EXPECT_NEAR(LevelDb(mixed, onset + FramesIn(50), onset + FramesIn(250), 1), kMusicDb, kOggTolerance);
  EXPECT_EQ(PeakIn(mixed, stopped + FramesIn(30), FrameCount(mixed)), 0);
}

TEST_F(Music, LoopingTrackGoesOnFromItsStartWithoutASeam) {
  const std::string track = WriteTrack("loop.ogg", 0.4);
  SoundCapture capture(folder_ / "mixed.raw");
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(track));
    music.PlayStream(true);
    SleepMs(1800);
    EXPECT_TRUE(music.IsPlaying());
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  // Three passes in 1.2 s; the tone has no silence of its own, nor has any loop point.
  ASSERT_GT(SoundEnd(mixed), onset + FramesIn(1200));
  EXPECT_EQ(LongestSilenceMs(mixed, onset, onset + FramesIn(1200)), 0.0);
  EXPECT_NEAR(LevelDb(mixed, onset + FramesIn(850), onset + FramesIn(950), 0), kMusicDb, kOggTolerance);
}

TEST_F(Music, TrackWithoutLoopingEndsAndFallsSilent) {
  const std::string track = WriteTrack("once.ogg", 0.4);
  SoundCapture capture(folder_ / "mixed.raw");
  size_t ended = 0;
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(track));
    music.PlayStream(false);
    EXPECT_TRUE(WaitWhilePlaying(music, 3000));
    ended = capture.FramesWritten();
    SleepMs(400);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_LE(SoundEnd(mixed), onset + FramesIn(400));
  EXPECT_EQ(PeakIn(mixed, ended + FramesIn(30), FrameCount(mixed)), 0);
}

TEST_F(Music, AHoleInTheTrackIsPassedOver) {
  // A page cut out of the middle of a two-second track (noise in it takes pages enough):
  // the decoder reports a hole there.
  std::string bytes = MakeOgg(2, kCaptureRate, 2.0, kToneFrequency, kTonePeak, 0.2);
  std::vector<size_t> pages;
  for (size_t at = bytes.find("OggS"); at != std::string::npos; at = bytes.find("OggS", at + 4)) pages.push_back(at);
  ASSERT_GE(pages.size(), 8u);
  const size_t cut = pages.size() / 2;
  bytes.erase(pages[cut], pages[cut + 1] - pages[cut]);
  const std::string track = folder_ / "holed.ogg";
  WriteFile(track, bytes);

  SoundCapture capture(folder_ / "mixed.raw");
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(track));
    music.PlayStream(false);
    EXPECT_TRUE(WaitWhilePlaying(music, 4000));
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  // What follows the hole plays: most of the two seconds are heard.
  EXPECT_GT(SoundEnd(mixed), onset + FramesIn(1500));
}

TEST_F(Music, AnEffectLoadedIntoAPlayingMusicObjectPlaysAsAnEffect) {
  const std::string track = WriteTrack("menu.ogg", 2.0);
  const std::string effect = folder_ / "click.wav";
  WriteFile(effect, MakeWave(1, kCaptureRate, 16, SineSamples(kCaptureRate, 0.3, kToneFrequency, kTonePeak)));
  SoundCapture capture(folder_ / "mixed.raw");
  {
    KSample sample;
    ASSERT_TRUE(sample.LoadStream(track));
    sample.PlayStream(true);
    SleepMs(100);
    SetMasterVolumes(0, 100);
    SleepMs(200);
    ASSERT_TRUE(sample.LoadSample(effect, 100, false, 1));
    sample.Play();
    EXPECT_TRUE(WaitWhilePlaying(sample, 2000));
  }
  // The music master is 0: what is heard is the effect, at the effects master.
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_NEAR(LevelDb(mixed, onset + FramesIn(50), onset + FramesIn(250), 0), kToneDb + VolumeTable(99) / 100.0, 0.2);
}

TEST_F(Music, MusicMasterReachesAPlayingTrackWithin150Ms) {
  const std::string track = WriteTrack("menu.ogg", 3.0);
  SoundCapture capture(folder_ / "mixed.raw");
  size_t changed = 0;
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(track));
    music.PlayStream(true);
    SleepMs(700);
    changed = capture.FramesWritten();
    SetMasterVolumes(50, -1);
    SleepMs(500);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const double before = LevelDb(mixed, changed - FramesIn(200), changed - FramesIn(30), 0);
  const double after = LevelDb(mixed, changed + FramesIn(150), changed + FramesIn(350), 0);
  EXPECT_NEAR(before, kMusicDb, kOggTolerance);
  EXPECT_NEAR(after - before, (VolumeTable(40) - VolumeTable(80)) / 100.0, kOggTolerance);
}

// Turned all the way down the track is silent, and turned up again it is heard as soon as
// a track that starts: within its buffer of 186 ms and a device period.
TEST_F(Music, MusicMasterZeroSilencesMusicUntilItIsRaised) {
  const std::string track = WriteTrack("menu.ogg", 1.0);
  SetMasterVolumes(0, 100);
  SoundCapture capture(folder_ / "mixed.raw");
  size_t raised = 0;
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(track));
    music.PlayStream(false);
    SleepMs(500);
    EXPECT_TRUE(music.IsPlaying());
    raised = capture.FramesWritten();
    SetMasterVolumes(100, -1);
    SleepMs(500);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  ASSERT_GT(raised, FramesIn(300));
  EXPECT_EQ(PeakIn(mixed, 0, raised), 0);
  EXPECT_LT(FirstSoundAfter(mixed, raised), raised + FramesIn(250));
}

TEST_F(Music, NonOggFileShowsTheMessageAndStaysSilent) {
  const std::string path = folder_ / "menu.ogg";
  WriteFile(path, MakeWave(1, kCaptureRate, 16, SineSamples(kCaptureRate, 0.5, kToneFrequency, kTonePeak)));
  MessageCapture messages;
  SoundCapture capture(folder_ / "mixed.raw");
  {
    KSample music;
    EXPECT_FALSE(music.LoadStream(path));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].caption, "error");
    EXPECT_EQ(messages.Messages()[0].text, "error could not detect ogg file");
    music.PlayStream(true);
    EXPECT_FALSE(music.IsPlaying());
    SleepMs(300);
    EXPECT_FALSE(music.IsPlaying());
    music.StopStream();
  }
  const std::vector<int16_t> mixed = capture.Samples();
  ASSERT_GT(FrameCount(mixed), FramesIn(200));
  EXPECT_EQ(PeakIn(mixed, 0, FrameCount(mixed)), 0);

  // A file that cannot be read fails without a message.
  KSample missing;
  EXPECT_FALSE(missing.LoadStream(folder_ / "absent.ogg"));
  EXPECT_EQ(messages.Messages().size(), 1u);
}

// Mono at 22050 Hz: the 32 KB music buffer lasts 743 ms, and the first of its halves
// to be filled starts playing only after one whole round of silence.
TEST_F(Music, TrackFromMemoryPlays) {
  const std::string encoded = MakeOgg(1, 22050, 2.0, kToneFrequency, kTonePeak);
  SoundCapture capture(folder_ / "mixed.raw");
  {
    KSample music;
    ASSERT_TRUE(music.LoadStream(encoded.data(), encoded.size()));
    music.PlayStream(false);
    SleepMs(1200);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_NEAR(LevelDb(mixed, onset + FramesIn(50), onset + FramesIn(250), 1), kMusicDb, kOggTolerance);
}

TEST_F(Music, ModulePlaysLoopsEndsAndRendersToAFile) {
  const std::string path = folder_ / "song.mod";
  WriteFile(path, MakeModule(8));  // 8 rows of 120 ms
  SoundCapture capture(folder_ / "mixed.raw");
  KSample module;
  ASSERT_TRUE(module.LoadModule(path));
  module.PlayModule(true);
  SleepMs(1300);
  EXPECT_TRUE(module.IsPlaying());
  module.PlayModule(false);
  EXPECT_TRUE(module.IsPlaying());
  EXPECT_TRUE(WaitWhilePlaying(module, 4000));
  const std::vector<int16_t> mixed = capture.Samples();
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_GT(SoundEnd(mixed), onset + FramesIn(1200));

  const std::string whole = folder_ / "whole.raw";
  ASSERT_TRUE(module.RenderModule(whole, 10 * kCaptureRate * 4));
  // The module ends after 0.96 s; the library lets its last note ring out briefly.
  const double wholeSeconds = ReadFile(whole).size() / (4.0 * kCaptureRate);
  EXPECT_GE(wholeSeconds, 0.96);
  EXPECT_LE(wholeSeconds, 1.2);
  const std::string part = folder_ / "part.raw";
  ASSERT_TRUE(module.RenderModule(part, 8002));
  EXPECT_EQ(ReadFile(part).size(), 8000u);
  EXPECT_TRUE(ReadFile(part) == ReadFile(whole).substr(0, 8000));
  EXPECT_GT(PeakIn(mixed, onset, onset + 2000), 1000);
  EXPECT_FALSE(module.RenderModule(folder_ / "no-such-folder/x.raw", 8000));

  KSample notModule;
  WriteFile(folder_ / "tone.wav", MakeWave(1, kCaptureRate, 16, SineSamples(kCaptureRate, 0.5, 440, 0.5)));
  EXPECT_FALSE(notModule.LoadModule(folder_ / "tone.wav"));
  EXPECT_FALSE(notModule.RenderModule(folder_ / "none.raw", 8000));
  notModule.PlayModule(true);
  EXPECT_FALSE(notModule.IsPlaying());
}

}  // namespace
