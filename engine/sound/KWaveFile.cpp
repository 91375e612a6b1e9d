#include "KWaveFile.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr size_t kFormatRecordSize = 16;
constexpr size_t kTagSize = 4;
constexpr size_t kChunkHeaderSize = 8;

uint32_t ReadLe(const std::string& file, size_t at, size_t bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(file[at + i])) << (8 * i);
  return value;
}

bool ReadFormat(const std::string& file, size_t record, KVoiceFormat& format) {
  if (record + kFormatRecordSize > file.size()) return false;
  if (ReadLe(file, record, 2) != kFormatPcm) return false;
  format.channels = static_cast<int32_t>(ReadLe(file, record + 2, 2));
  format.sampleRate = static_cast<int32_t>(ReadLe(file, record + 4, 4));
  format.bitsPerSample = static_cast<int32_t>(ReadLe(file, record + 14, 2));
  return format.IsPlayable();
}

}  // namespace

bool ScanWave(const std::string& file, KWaveData& wave) {
  bool formatFound = false;
  for (size_t at = 0; at + kTagSize <= file.size(); ++at) {
    const char* tag = file.data() + at;
    if (!formatFound && std::memcmp(tag, "fmt ", kTagSize) == 0) {
      if (!ReadFormat(file, at + kChunkHeaderSize, wave.format)) return false;
      formatFound = true;
    } else if (std::memcmp(tag, "data", kTagSize) == 0) {
      if (!formatFound || at + kChunkHeaderSize > file.size()) return false;
      const size_t begin = at + kChunkHeaderSize;
      size_t length = ReadLe(file, at + kTagSize, 4);
      if (length > file.size() - begin) length = file.size() - begin;
      length -= length % static_cast<size_t>(wave.format.BlockAlign());
      if (length == 0) return false;
      wave.dataOffset = begin;
      wave.dataLength = length;
      return true;
    }
  }
  return false;
}
