// Picture files in memory to RGBA pixels, without any GL: what LoadPicture does
// between reading a file and making its texture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "KGraphic.h"

struct KDecodedPixelsFree {
  void operator()(uint8_t* pixels) const;
};

struct KDecodedPicture {
  int32_t width = 0;
  int32_t height = 0;
  // The file has an alpha channel of its own.
  bool hasAlpha = false;
  // width x height pixels, 4 bytes R, G, B, A each, rows top first.
  std::unique_ptr<uint8_t, KDecodedPixelsFree> rgba;
};

// Beyond this a picture file is taken as damaged, whatever the driver allows:
// the game's pictures are at most the size of the screen.
constexpr int32_t kLargestPictureSide = 8192;

// The bytes of a picture file and the decoder its name chooses; false when the name
// chooses none or the file cannot be read.
bool ReadPictureFile(const std::string& path, KPictureFormat& format, std::string& bytes);

// A picture file read and decoded (ReadPictureFile, then DecodePicture); false, with out
// empty, when either fails.
bool ReadAndDecodePicture(const std::string& path, int32_t maxSide, KDecodedPicture& out);

// Decodes data with the decoder of format. False (and out empty) when that
// decoder does not accept the data, or when a side is larger than maxSide.
bool DecodePicture(const void* data, size_t size, KPictureFormat format, int32_t maxSide, KDecodedPicture& out);
