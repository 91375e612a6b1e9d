#include "ToneTrack.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tafutest {

namespace {

void AppendPages(ogg_stream_state& stream, std::string& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  }
}

}  // namespace

std::string MakeToneThenSilence(int32_t sampleRate, double toneSeconds, double silentSeconds, double frequency,
                                double peak) {
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, 1, sampleRate, 0.6f);
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

  const auto toneFrames = static_cast<int32_t>(sampleRate * toneSeconds);
  const auto frames = static_cast<int32_t>(sampleRate * (toneSeconds + silentSeconds));
  constexpr int32_t kChunk = 1024;
  // The last pass writes no samples, which ends the stream.
  for (int32_t start = 0;; start += kChunk) {
    const int32_t count = std::clamp(frames - start, 0, kChunk);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, count);
      for (int32_t i = 0; i < count; ++i) {
        const int32_t at = start + i;
        const double tone = peak * std::sin(2.0 * std::numbers::pi * frequency * at / sampleRate);
        buffer[0][i] = at < toneFrames ? static_cast<float>(tone) : 0.0f;
      }
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

}  // namespace tafutest
