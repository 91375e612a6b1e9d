#include "KOggDecoder.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr int kLittleEndian = 0;
constexpr int kSixteenBits = 2;
constexpr int kSigned = 1;
constexpr size_t kDecodeChunk = 16384;

}  // namespace

KOggDecoder::~KOggDecoder() { Close(); }

bool KOggDecoder::Open(std::string encoded) {
  Close();
  encoded_ = std::move(encoded);
  position_ = 0;
  const ov_callbacks callbacks{ReadMemory, SeekMemory, CloseMemory, TellMemory};
  if (ov_open_callbacks(this, &file_, nullptr, 0, callbacks) != 0) {
    encoded_.clear();
    return false;
  }
  open_ = true;
  const vorbis_info* info = ov_info(&file_, -1);
  if (!info) {
    Close();
    return false;
  }
  format_.channels = info->channels;
  format_.sampleRate = static_cast<int32_t>(info->rate);
  format_.bitsPerSample = 16;
  return true;
}

void KOggDecoder::Close() {
  if (open_) ov_clear(&file_);
  open_ = false;
  encoded_.clear();
  encoded_.shrink_to_fit();
  position_ = 0;
  format_ = KVoiceFormat{};
}

long KOggDecoder::Read(uint8_t* out, size_t count) {
  if (!open_) return -1;
  int bitstream = 0;
  const int length = static_cast<int>(std::min(count, kDecodeChunk));
  return ov_read(&file_, reinterpret_cast<char*>(out), length, kLittleEndian, kSixteenBits, kSigned, &bitstream);
}

void KOggDecoder::Rewind() {
  if (open_) ov_time_seek(&file_, 0.0);
}

size_t KOggDecoder::ReadMemory(void* out, size_t size, size_t count, void* self) {
  KOggDecoder& decoder = *static_cast<KOggDecoder*>(self);
  if (size == 0) return 0;
  const size_t left = decoder.encoded_.size() - decoder.position_;
  const size_t items = std::min(count, left / size);
  std::memcpy(out, decoder.encoded_.data() + decoder.position_, items * size);
  decoder.position_ += items * size;
  return items;
}

int KOggDecoder::SeekMemory(void* self, ogg_int64_t offset, int origin) {
  KOggDecoder& decoder = *static_cast<KOggDecoder*>(self);
  const auto size = static_cast<ogg_int64_t>(decoder.encoded_.size());
  ogg_int64_t base = 0;
  if (origin == SEEK_CUR) base = static_cast<ogg_int64_t>(decoder.position_);
  else if (origin == SEEK_END) base = size;
  else if (origin != SEEK_SET) return -1;
  decoder.position_ = static_cast<size_t>(std::clamp<ogg_int64_t>(base + offset, 0, size));
  return 0;
}

int KOggDecoder::CloseMemory(void*) { return 0; }

long KOggDecoder::TellMemory(void* self) { return static_cast<long>(static_cast<KOggDecoder*>(self)->position_); }

bool DecodeOgg(std::string encoded, KVoiceFormat& format, std::string& pcm) {
  pcm.clear();
  KOggDecoder decoder;
  if (!decoder.Open(std::move(encoded))) return false;
  format = decoder.Format();
  uint8_t chunk[kDecodeChunk];
  long got = 0;
  while ((got = decoder.Read(chunk, sizeof chunk)) > 0) pcm.append(reinterpret_cast<const char*>(chunk), got);
  return !pcm.empty();
}
