// Ogg Vorbis decoding from an encoded track held in memory.
#pragma once

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "KSoundDevice.h"

class KOggDecoder {
 public:
  KOggDecoder() = default;
  ~KOggDecoder();
  KOggDecoder(const KOggDecoder&) = delete;
  KOggDecoder& operator=(const KOggDecoder&) = delete;

  // Takes the whole encoded file; false when it is not an Ogg Vorbis track.
  bool Open(std::string encoded);
  void Close();
  bool IsOpen() const { return open_; }
  // 16-bit PCM with the track's channels and rate.
  KVoiceFormat Format() const { return format_; }
  // Decodes up to count bytes of 16-bit signed little-endian samples: the bytes
  // written, 0 at the end of the track, negative on a decoding error.
  long Read(uint8_t* out, size_t count);
  // Back to the start of the track.
  void Rewind();

 private:
  static size_t ReadMemory(void* out, size_t size, size_t count, void* self);
  static int SeekMemory(void* self, ogg_int64_t offset, int origin);
  static int CloseMemory(void* self);
  static long TellMemory(void* self);

  OggVorbis_File file_{};
  bool open_ = false;
  std::string encoded_;
  size_t position_ = 0;
  KVoiceFormat format_;
};

// Decodes a whole Ogg Vorbis file into 16-bit PCM; false when it holds no sound.
bool DecodeOgg(std::string encoded, KVoiceFormat& format, std::string& pcm);
