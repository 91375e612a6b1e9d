#include "SoundFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace tafutest {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutBe16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
  out.push_back(static_cast<char>(value & 0xFF));
}

void AppendPages(ogg_stream_state& stream, std::string& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  }
}

}  // namespace

std::string EncodeOgg(int32_t channels, int32_t sampleRate, int32_t frames,
                      const std::function<float(int32_t frame, int32_t channel)>& sample) {
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, channels, sampleRate, 0.6f);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  std::string out;
  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  AppendPages(stream, out, true);

  constexpr int32_t kChunk = 1024;
  // The last pass writes no samples, which ends the stream.
  for (int32_t start = 0;; start += kChunk) {
    const int32_t count = std::clamp(frames - start, 0, kChunk);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, count);
      for (int32_t i = 0; i < count; ++i)
        for (int32_t c = 0; c < channels; ++c) buffer[c][i] = sample(start + i, c);
    }
    vorbis_analysis_wrote(&dsp, count);
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        AppendPages(stream, out, false);
      }
    }
    if (count == 0) break;
  }
  AppendPages(stream, out, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::string WaveFormatBody(int32_t channels, int32_t sampleRate, int32_t bitsPerSample, int32_t formatTag) {
  std::string body;
  const int32_t blockAlign = channels * bitsPerSample / 8;
  PutLe(body, formatTag, 2);
  PutLe(body, channels, 2);
  PutLe(body, sampleRate, 4);
  PutLe(body, sampleRate * blockAlign, 4);
  PutLe(body, blockAlign, 2);
  PutLe(body, bitsPerSample, 2);
  return body;
}

std::string MakeRiff(const std::vector<RiffChunk>& chunks) {
  std::string inner = "WAVE";
  for (const RiffChunk& chunk : chunks) {
    inner += chunk.tag;
    PutLe(inner, chunk.lengthOverride >= 0 ? static_cast<uint32_t>(chunk.lengthOverride) : chunk.body.size(), 4);
    inner += chunk.body;
  }
  std::string file = "RIFF";
  PutLe(file, inner.size(), 4);
  return file + inner;
}

std::string MakeWave(int32_t channels, int32_t sampleRate, int32_t bitsPerSample, const std::string& data) {
  return MakeRiff({{"fmt ", WaveFormatBody(channels, sampleRate, bitsPerSample)}, {"data", data}});
}

std::string SineSamples(int32_t sampleRate, double seconds, double frequency, double peak) {
  std::string out;
  const auto frames = static_cast<int32_t>(sampleRate * seconds);
  for (int32_t i = 0; i < frames; ++i) {
    const double value = peak * std::sin(2.0 * std::numbers::pi * frequency * i / sampleRate);
    PutLe(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0))), 2);
  }
  return out;
}

std::string ConstantSamples(int32_t frames, int16_t value) {
  std::string out;
  for (int32_t i = 0; i < frames; ++i) PutLe(out, static_cast<uint16_t>(value), 2);
  return out;
}

std::string SineSamples8(int32_t sampleRate, double seconds, double frequency, double peak) {
  std::string out;
  const auto frames = static_cast<int32_t>(sampleRate * seconds);
  for (int32_t i = 0; i < frames; ++i) {
    const double value = peak * std::sin(2.0 * std::numbers::pi * frequency * i / sampleRate);
    out.push_back(static_cast<char>(128 + std::lround(value * 127.0)));
  }
  return out;
}

std::string MakeOgg(int32_t channels, int32_t sampleRate, double seconds, double frequency, double peak,
                    double noise) {
  uint32_t seed = 12345;
  const auto nextNoise = [&seed, noise] {
    seed = seed * 1664525u + 1013904223u;
    return noise * (static_cast<double>(seed >> 8) / (1u << 23) - 1.0);
  };
  return EncodeOgg(channels, sampleRate, static_cast<int32_t>(sampleRate * seconds), [&](int32_t frame, int32_t) {
    const double value = peak * std::sin(2.0 * std::numbers::pi * frequency * frame / sampleRate);
    return static_cast<float>(value + nextNoise());
  });
}

std::string MakeToneThenSilence(int32_t sampleRate, double toneSeconds, double silentSeconds, double frequency,
                                double peak) {
  const auto toneFrames = static_cast<int32_t>(sampleRate * toneSeconds);
  const auto frames = static_cast<int32_t>(sampleRate * (toneSeconds + silentSeconds));
  return EncodeOgg(1, sampleRate, frames, [&](int32_t frame, int32_t) {
    const double tone = peak * std::sin(2.0 * std::numbers::pi * frequency * frame / sampleRate);
    return frame < toneFrames ? static_cast<float>(tone) : 0.0f;
  });
}

std::string MakeModule(int32_t rows) {
  constexpr int kSamples = 31;
  constexpr int kChannels = 4;
  constexpr int kRows = 64;
  constexpr int kSampleBytes = 64;
  constexpr uint32_t kPeriodC3 = 428;
  std::string file(20, '\0');
  std::memcpy(file.data(), "tafu test", 9);
  for (int i = 0; i < kSamples; ++i) {
    std::string header(22, '\0');
    if (i == 0) {
      PutBe16(header, kSampleBytes / 2);  // length in words
      header.push_back(0);                // finetune
      header.push_back(64);               // volume
      PutBe16(header, 0);                 // loop start
      PutBe16(header, kSampleBytes / 2);  // loop length
    } else {
      PutBe16(header, 0);
      header.push_back(0);
      header.push_back(0);
      PutBe16(header, 0);
      PutBe16(header, 1);
    }
    file += header;
  }
  file.push_back(1);    // song length: one order
  file.push_back(127);  // restart position
  file += std::string(128, '\0');
  file += "M.K.";
  std::string pattern(kRows * kChannels * 4, '\0');
  pattern[0] = static_cast<char>(kPeriodC3 >> 8);
  pattern[1] = static_cast<char>(kPeriodC3 & 0xFF);
  pattern[2] = static_cast<char>(1 << 4);
  if (rows < kRows) {
    const int cell = (rows - 1) * kChannels * 4;
    pattern[cell + 2] = 0x0D;  // pattern break
  }
  file += pattern;
  for (int i = 0; i < kSampleBytes; ++i) file.push_back(static_cast<char>(i < kSampleBytes / 2 ? 100 : -100));
  return file;
}

}  // namespace tafutest
