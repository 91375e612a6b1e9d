#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>

#include "PlaybackHelpers.h"
#include "SoundCapture.h"
#include "SoundFiles.h"
#include "GameState.h"
#include "TestSupport.h"
#include "sound/KSample.h"

using namespace tafutest;

namespace {

// A 1 kHz sine at half of full scale: -9.03 dB, a whole number of periods in 10 ms.
constexpr double kTonePeak = 0.5;
constexpr double kToneFrequency = 1000.0;
const double kToneDb = GainDb(kTonePeak / std::sqrt(2.0));
// The driver writes about twenty buffers in the time of one.
constexpr int32_t kFastDelayMs = 1;

class Effects : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameState(); }

  std::string WriteTone(const std::string& name, double seconds) {
    const std::string path = folder_ / name;
    WriteFile(path, MakeWave(1, kCaptureRate, 16, SineSamples(kCaptureRate, seconds, kToneFrequency, kTonePeak)));
    return path;
  }

  // Plays a file once as an effect and returns everything the device mixed.
  std::vector<int16_t> CaptureEffect(const std::string& path, int32_t volume, int32_t pan = 0) {
    SoundCapture capture(folder_ / "mixed.raw", kFastDelayMs);
    {
      KSample sample;
      EXPECT_TRUE(sample.LoadSample(path, volume, false, 1));
      if (pan != 0) sample.SetPan(pan);
      sample.Play();
      EXPECT_TRUE(WaitWhilePlaying(sample));
    }
    return capture.Samples();
  }

  // Level of the left channel 20 ms into the sound, over 200 ms.
  static double SoundLevel(const std::vector<int16_t>& samples, int channel = 0) {
    const size_t onset = FirstSoundAfter(samples, 0);
    if (onset == std::string::npos) return -200.0;
    return LevelDb(samples, onset + FramesIn(20), onset + FramesIn(220), channel);
  }

  TempFolder folder_;
};

TEST_F(Effects, EffectsMasterAndOwnVolumeGiveTheSameLevel) {
  const std::string tone = WriteTone("slide.wav", 0.3);
  const double expected = kToneDb + VolumeTable(36) / 100.0;
  SetMasterVolumes(-1, 36);
  EXPECT_NEAR(SoundLevel(CaptureEffect(tone, 100)), expected, 0.2);
  SetMasterVolumes(-1, 100);
  EXPECT_NEAR(SoundLevel(CaptureEffect(tone, 36)), expected, 0.2);
  // Full volume at full master stays just under full level: 0.12 dB under.
  const double full = SoundLevel(CaptureEffect(tone, 100));
  EXPECT_NEAR(full, kToneDb - 0.12, 0.05);
}

TEST_F(Effects, EffectsMasterZeroSilencesButMusicMasterDoesNot) {
  const std::string tone = WriteTone("click.wav", 0.1);
  SetMasterVolumes(100, 0);
  std::vector<int16_t> mixed = CaptureEffect(tone, 100);
  ASSERT_GT(FrameCount(mixed), FramesIn(100));
  EXPECT_EQ(PeakIn(mixed, 0, FrameCount(mixed)), 0);
  SetMasterVolumes(0, 100);
  mixed = CaptureEffect(tone, 100);
  EXPECT_NE(FirstSoundAfter(mixed, 0), std::string::npos);
}

TEST_F(Effects, PanAttenuatesTheOtherSide) {
  const std::string tone = WriteTone("pan.wav", 0.3);
  const std::vector<int16_t> left = CaptureEffect(tone, 100, -100);
  EXPECT_NEAR(SoundLevel(left, 0), kToneDb + VolumeTable(99) / 100.0, 0.2);
  EXPECT_LT(SoundLevel(left, 1), -90.0);
  // A pan outside -100..100 is taken as fully right.
  const std::vector<int16_t> right = CaptureEffect(tone, 100, 250);
  EXPECT_LT(SoundLevel(right, 0), -90.0);
  EXPECT_NEAR(SoundLevel(right, 1), kToneDb + VolumeTable(99) / 100.0, 0.2);
}

TEST_F(Effects, EightBitSoundAtHalfTheRateIsResampled) {
  const std::string path = folder_ / "low.wav";
  const double seconds = 0.25;
  WriteFile(path, MakeWave(1, kCaptureRate / 2, 8, SineSamples8(kCaptureRate / 2, seconds, 500.0, kTonePeak)));
  const std::vector<int16_t> mixed = CaptureEffect(path, 100);
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_NEAR(static_cast<double>(SoundEnd(mixed) - onset), static_cast<double>(FramesIn(seconds * 1000)), 8.0);
  EXPECT_NEAR(SoundLevel(mixed), kToneDb + VolumeTable(99) / 100.0, 0.3);
}

// At the device's own rate every sample reaches the output as it is, only scaled, each channel
// its own: a saw of 100 frames, the right channel falling where the left rises.
TEST_F(Effects, ASoundAtTheDeviceRateComesOutSampleForSample) {
  const double gain = std::pow(10.0, VolumeTable(99) / 2000.0);
  constexpr int32_t kFrames = 4410;
  for (const int32_t channels : {1, 2}) {
    std::string data;
    std::vector<int16_t> written;
    for (int32_t i = 0; i < kFrames * channels; ++i) {
      const auto sample = static_cast<int16_t>((i / channels % 100 - 50) * 500 * (i % channels ? -1 : 1));
      data += {static_cast<char>(sample & 0xFF), static_cast<char>(sample >> 8)};
      written.push_back(sample);
    }
    WriteFile(folder_ / "saw.wav", MakeWave(channels, kCaptureRate, 16, data));
    const std::vector<int16_t> mixed = CaptureEffect(folder_ / "saw.wav", 100);
    const size_t onset = FirstSoundAfter(mixed, 0);
    ASSERT_NE(onset, std::string::npos);
    ASSERT_GE(FrameCount(mixed), onset + kFrames);
    for (size_t at = 0; at < 2 * static_cast<size_t>(kFrames); ++at) {
      const int16_t source = written[at / 2 * channels + (channels == 2 ? at % 2 : 0)];
      ASSERT_NEAR(mixed[2 * onset + at], source * gain * 32767 / 32768, 1.0) << channels << " channels, at " << at;
    }
  }
}

TEST_F(Effects, WaveChunksAreFoundByScanning) {
  const std::string sound = SineSamples(kCaptureRate, 0.25, kToneFrequency, kTonePeak);
  const std::string listFirst = folder_ / "list.wav";
  WriteFile(listFirst, MakeRiff({{"LIST", "INFOISFT"}, {"fmt ", WaveFormatBody(1, kCaptureRate, 16)}, {"data", sound}}));
  EXPECT_NEAR(SoundLevel(CaptureEffect(listFirst, 100)), kToneDb + VolumeTable(99) / 100.0, 0.2);

  // A data chunk claiming ten seconds plays the quarter second that is there.
  const std::string truncated = folder_ / "truncated.wav";
  WriteFile(truncated, MakeRiff({{"fmt ", WaveFormatBody(1, kCaptureRate, 16)}, {"data", sound, 882000}}));
  const std::vector<int16_t> mixed = CaptureEffect(truncated, 100);
  const size_t onset = FirstSoundAfter(mixed, 0);
  ASSERT_NE(onset, std::string::npos);
  EXPECT_NEAR(static_cast<double>(SoundEnd(mixed) - onset), static_cast<double>(FramesIn(250)), 8.0);

  KSample sample;
  const std::string formatLast = folder_ / "late.wav";
  WriteFile(formatLast, MakeRiff({{"data", sound}, {"fmt ", WaveFormatBody(1, kCaptureRate, 16)}}));
  EXPECT_FALSE(sample.LoadSample(formatLast, 100, false, 1));
  sample.Play();
  EXPECT_FALSE(sample.IsPlaying());
}

TEST_F(Effects, OggAnywhereInTheNameDecodesAsOgg) {
  const std::string ogg = folder_ / "a.ogg.wav";
  WriteFile(ogg, MakeOgg(2, kCaptureRate, 0.4, kToneFrequency, kTonePeak));
  const std::vector<int16_t> mixed = CaptureEffect(ogg, 100);
  EXPECT_NEAR(SoundLevel(mixed, 0), kToneDb + VolumeTable(99) / 100.0, 0.5);
  EXPECT_NEAR(SoundLevel(mixed, 1), kToneDb + VolumeTable(99) / 100.0, 0.5);

  // A real wave file with ".ogg" in its name is not a wave file to the loader.
  const std::string wave = folder_ / "b.ogg.wav";
  WriteFile(wave, MakeWave(1, kCaptureRate, 16, SineSamples(kCaptureRate, 0.1, kToneFrequency, kTonePeak)));
  KSample sample;
  EXPECT_FALSE(sample.LoadSample(wave, 100, false, 1));
}

TEST_F(Effects, AFolderOrAHugeFileNamedLikeASoundDoesNotLoad) {
  std::filesystem::create_directories(folder_.Path() / "click.wav");
  std::filesystem::create_directories(folder_.Path() / "menu.ogg");
  WriteHugeFile(folder_ / "save_ok.wav", 200 << 20);
  WriteHugeFile(folder_ / "color.ogg", 200 << 20);
  for (const char* name : {"click.wav", "menu.ogg", "save_ok.wav", "color.ogg"}) {
    KSample sample;
    EXPECT_FALSE(sample.LoadSample(folder_ / name, 100, false, 1)) << name;
    EXPECT_FALSE(sample.LoadStream(folder_ / name)) << name;
    EXPECT_FALSE(sample.LoadModule(folder_ / name)) << name;
  }
}

// A constant sound shows how many voices sound at once: with three voices the fourth
// Play restarts the first voice played (voices 1, 2, 0, 1), cutting it.
TEST_F(Effects, ThreeVoicesRotateAndOverlap) {
  const std::string path = folder_ / "dc.wav";
  constexpr int16_t kValue = 4000;
  constexpr double kLengthMs = 600.0;
  WriteFile(path, MakeWave(1, kCaptureRate, 16, ConstantSamples(static_cast<int32_t>(FramesIn(kLengthMs)), kValue)));
  SoundCapture capture(folder_ / "mixed.raw");
  std::vector<size_t> plays;
  std::chrono::steady_clock::time_point lastPlay;
  {
    KSample sample;
    ASSERT_TRUE(sample.LoadSample(path, 100, false, 3));
    EXPECT_FALSE(sample.IsPlaying());
    for (int i = 0; i < 4; ++i) {
      plays.push_back(capture.FramesWritten());
      lastPlay = std::chrono::steady_clock::now();
      sample.Play();
      EXPECT_TRUE(sample.IsPlaying());
      if (i < 3) SleepMs(150);
    }
    ASSERT_TRUE(WaitWhilePlaying(sample));
    const auto heard = std::chrono::steady_clock::now() - lastPlay;
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(heard).count(), kLengthMs - 50);
    SleepMs(50);
  }
  const std::vector<int16_t> mixed = capture.Samples();
  const double unit = kValue * std::pow(10.0, VolumeTable(99) / 2000.0);
  int most = 0;
  size_t firstDrop = 0;
  for (size_t frame = 0; frame < FrameCount(mixed); ++frame) {
    const int voices = static_cast<int>(std::lround(mixed[2 * frame] / unit));
    if (voices == 2 && most == 3 && firstDrop == 0) firstDrop = frame;
    most = std::max(most, voices);
  }
  EXPECT_EQ(most, 3);
  // The second play's voice ends first; had the fourth play taken it, the first
  // play's voice would have ended first.
  const double tolerance = FramesIn(60);
  EXPECT_NEAR(static_cast<double>(firstDrop), static_cast<double>(plays[1] + FramesIn(kLengthMs)), tolerance);
  EXPECT_NEAR(static_cast<double>(SoundEnd(mixed)), static_cast<double>(plays[3] + FramesIn(kLengthMs)), tolerance);
}

TEST_F(Effects, VoiceCountsAreClampedToOneToNine) {
  const std::string path = folder_ / "dc.wav";
  constexpr int16_t kValue = 2000;
  WriteFile(path, MakeWave(1, kCaptureRate, 16, ConstantSamples(static_cast<int32_t>(FramesIn(400)), kValue)));
  const double unit = kValue * std::pow(10.0, VolumeTable(99) / 2000.0);
  const auto mostVoices = [&](int16_t voiceCount, int plays) {
    SoundCapture capture(folder_ / "mixed.raw");
    {
      KSample sample;
      EXPECT_TRUE(sample.LoadSample(path, 100, false, voiceCount));
      for (int i = 0; i < plays; ++i) {
        sample.Play();
        SleepMs(25);
      }
      EXPECT_TRUE(WaitWhilePlaying(sample));
    }
    const std::vector<int16_t> mixed = capture.Samples();
    return static_cast<int>(std::lround(PeakIn(mixed, 0, FrameCount(mixed)) / unit));
  };
  EXPECT_EQ(mostVoices(0, 3), 1);
  EXPECT_EQ(mostVoices(-4, 3), 1);
  EXPECT_EQ(mostVoices(12, 12), 9);
}

}  // namespace
