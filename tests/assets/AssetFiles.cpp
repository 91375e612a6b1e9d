#include "AssetFiles.h"

#include <vorbis/vorbisfile.h>

#include <cstring>
#include <fstream>
#include <iterator>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"
#include "TestPaths.h"

namespace assettest {

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

}  // namespace

std::string RuntimePath(const std::string& name) { return std::string(tafutest::RuntimeDir()) + "/" + name; }

uint32_t Rgba::Colour(int x, int y) const {
  const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

Rgba LoadPng(const std::string& path) {
  Rgba image;
  int channels = 0;
  stbi_uc* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
  if (!data) {
    image.width = image.height = 0;
    return image;
  }
  image.pixels.assign(data, data + static_cast<size_t>(image.width) * image.height * 4);
  stbi_image_free(data);
  return image;
}

Sound LoadWav(const std::string& path) {
  Sound sound;
  const std::string b = ReadBytes(path);
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return sound;
  int channels = 0, bits = 0;
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string id = b.substr(at, 4);
    const size_t size = Le(b, at + 4, 4);
    if (at + 8 + size > b.size()) return sound;
    if (id == "fmt " && size >= 16) {
      if (Le(b, at + 8, 2) != 1) return sound;  // PCM only
      channels = static_cast<int>(Le(b, at + 10, 2));
      sound.rate = static_cast<int>(Le(b, at + 12, 4));
      bits = static_cast<int>(Le(b, at + 22, 2));
    } else if (id == "data") {
      if (bits != 16 || channels < 1) return sound;
      const size_t frames = size / (2 * channels);
      for (size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (int c = 0; c < channels; ++c)
          sum += static_cast<int16_t>(Le(b, at + 8 + (f * channels + c) * 2, 2)) / 32768.0f;
        sound.samples.push_back(sum / channels);
      }
      sound.ok = true;
      return sound;
    }
    at += 8 + size + (size & 1);
  }
  return sound;
}

Sound LoadOgg(const std::string& path) {
  Sound sound;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return sound;
  const vorbis_info* info = ov_info(&file, -1);
  sound.rate = static_cast<int>(info->rate);
  const int channels = info->channels;
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    long n = ov_read_float(&file, &pcm, 4096, &section);
    if (n < 0) {
      ov_clear(&file);
      return sound;
    }
    if (n == 0) break;
    for (long i = 0; i < n; ++i) {
      float sum = 0;
      for (int c = 0; c < channels; ++c) sum += pcm[c][i];
      sound.samples.push_back(sum / channels);
    }
  }
  ov_clear(&file);
  sound.ok = true;
  return sound;
}

Tga LoadTga(const std::string& path) {
  Tga tga;
  const std::string b = ReadBytes(path);
  if (b.size() < 18) return tga;
  tga.imageType = static_cast<uint8_t>(b[2]);
  tga.width = static_cast<int>(Le(b, 12, 2));
  tga.height = static_cast<int>(Le(b, 14, 2));
  tga.depth = static_cast<uint8_t>(b[16]);
  tga.descriptor = static_cast<uint8_t>(b[17]);
  if (b[1] != 0 || (tga.depth != 24 && tga.depth != 32)) return tga;
  const size_t bytes = tga.depth / 8;
  const size_t total = static_cast<size_t>(tga.width) * tga.height;
  size_t at = 18 + static_cast<uint8_t>(b[0]);
  auto pixel = [&](size_t p) {
    return uint32_t(uint8_t(b[p + 2])) << 16 | uint32_t(uint8_t(b[p + 1])) << 8 | uint8_t(b[p]);
  };
  while (tga.pixels.size() < total) {
    if (tga.imageType == 2) {
      if (at + bytes > b.size()) return tga;
      tga.pixels.push_back(pixel(at));
      at += bytes;
    } else if (tga.imageType == 10) {
      if (at + 1 + bytes > b.size()) return tga;
      const uint8_t header = static_cast<uint8_t>(b[at++]);
      const size_t count = (header & 0x7F) + 1u;
      if (tga.pixels.size() + count > total) return tga;  // a packet past the last pixel
      if (header & 0x80) {
        tga.pixels.insert(tga.pixels.end(), count, pixel(at));
        at += bytes;
      } else {
        if (at + count * bytes > b.size()) return tga;
        for (size_t k = 0; k < count; ++k, at += bytes) tga.pixels.push_back(pixel(at));
      }
    } else {
      return tga;
    }
  }
  tga.ok = at == b.size();  // nothing left over
  return tga;
}

}  // namespace assettest
