// Readers for the made asset files, so the tests see them as the game and other tools do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assettest {

// A file beside the executable, named with forward slashes. The loaders below take
// full paths and fail softly (ok false, width 0) on a missing or malformed file.
std::string RuntimePath(const std::string& name);

// A PNG decoded to RGBA, row 0 at the top; width 0 when the file could not be decoded.
struct Rgba {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  uint8_t Alpha(int x, int y) const { return pixels[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
  uint32_t Colour(int x, int y) const;  // 0xAABBGGRR
};
Rgba LoadPng(const std::string& path);

// Mono or interleaved 16-bit samples as -1..1 floats, channels mixed down to one.
struct Sound {
  bool ok = false;
  int rate = 0;
  std::vector<float> samples;
  double Seconds() const { return rate ? double(samples.size()) / rate : 0; }
};
Sound LoadWav(const std::string& path);  // 16-bit PCM only, anything else fails
Sound LoadOgg(const std::string& path);

// A TGA puzzle picture: header fields and the pixels top row first as 0xRRGGBB.
struct Tga {
  bool ok = false;
  int imageType = 0, depth = 0, descriptor = 0, width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Tga LoadTga(const std::string& path);

}  // namespace assettest
