#include <gtest/gtest.h>

#include "SoundFiles.h"
#include "sound/KWaveFile.h"

using tafutest::MakeRiff;
using tafutest::WaveFormatBody;

namespace {

const std::string kSamples = std::string(400, '\x10');

TEST(ScanWave, FindsFormatAndData) {
  const std::string file = tafutest::MakeWave(2, 22050, 16, kSamples);
  KWaveData wave;
  ASSERT_TRUE(ScanWave(file, wave));
  EXPECT_EQ(wave.format.channels, 2);
  EXPECT_EQ(wave.format.sampleRate, 22050);
  EXPECT_EQ(wave.format.bitsPerSample, 16);
  EXPECT_EQ(file.substr(wave.dataOffset, wave.dataLength), kSamples);
}

TEST(ScanWave, OtherChunksBeforeTheFormatAreSkipped) {
  const std::string file = MakeRiff({{"LIST", std::string("INFOISFT\x06\0\0\0tafu\0\0", 18)},
                                     {"fmt ", WaveFormatBody(1, 44100, 8)},
                                     {"data", kSamples}});
  KWaveData wave;
  ASSERT_TRUE(ScanWave(file, wave));
  EXPECT_EQ(wave.format.bitsPerSample, 8);
  EXPECT_EQ(wave.dataLength, kSamples.size());
}

TEST(ScanWave, FormatAfterDataOrNoDataFails) {
  KWaveData wave;
  EXPECT_FALSE(ScanWave(MakeRiff({{"data", kSamples}, {"fmt ", WaveFormatBody(1, 44100, 16)}}), wave));
  EXPECT_FALSE(ScanWave(MakeRiff({{"fmt ", WaveFormatBody(1, 44100, 16)}}), wave));
  EXPECT_FALSE(ScanWave("", wave));
  EXPECT_FALSE(ScanWave("RIFF", wave));
}

TEST(ScanWave, DataRunningPastTheEndIsClippedToWholeFrames) {
  std::string file = MakeRiff({{"fmt ", WaveFormatBody(2, 44100, 16)}, {"data", kSamples, 1000000}});
  file.pop_back();  // the last frame is now incomplete
  KWaveData wave;
  ASSERT_TRUE(ScanWave(file, wave));
  EXPECT_EQ(wave.dataOffset + wave.dataLength, file.size() - 3);
  EXPECT_EQ(wave.dataLength % 4, 0u);
}

TEST(ScanWave, FormatsTheMixerCannotPlayFail) {
  KWaveData wave;
  const auto withFormat = [](const std::string& format) {
    return MakeRiff({{"fmt ", format}, {"data", kSamples}});
  };
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(1, 44100, 16, 3)), wave)) << "float samples";
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(1, 44100, 16, 2)), wave)) << "ADPCM";
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(0, 44100, 16)), wave)) << "no channels";
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(6, 44100, 16)), wave)) << "six channels";
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(2, 0, 16)), wave)) << "rate 0";
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(2, 44100, 24)), wave)) << "24 bits";
  EXPECT_FALSE(ScanWave(withFormat(WaveFormatBody(2, 44100, 16).substr(0, 10)), wave)) << "short record";
  EXPECT_FALSE(ScanWave(MakeRiff({{"fmt ", WaveFormatBody(1, 44100, 16)}, {"data", ""}}), wave)) << "empty data";
}

}  // namespace
