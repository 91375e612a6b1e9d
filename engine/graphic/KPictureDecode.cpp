#include "KPictureDecode.h"

#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr size_t kTgaHeaderSize = 18;

struct ExtensionFormat {
  const char* extension;
  KPictureFormat format;
};

// Looked for in this order; a later match replaces an earlier one.
constexpr std::array<ExtensionFormat, 4> kExtensions = {{
    {".tga", KPictureFormat::Tga},
    {".jpg", KPictureFormat::Jpeg},
    {".bmp", KPictureFormat::Bmp},
    {".png", KPictureFormat::Png},
}};

bool StartsWith(const uint8_t* data, size_t size, const uint8_t* signature, size_t length) {
  return size >= length && std::memcmp(data, signature, length) == 0;
}

// A TGA file has no signature: its header must hold a colour map type of 0 or 1
// and one of the image types 1 to 3 or 9 to 11. Files of the other three kinds
// never pass this, so each decoder only ever reads its own kind of file.
bool IsTga(const uint8_t* data, size_t size) {
  if (size < kTgaHeaderSize) return false;
  const uint8_t colourMapType = data[1];
  const uint8_t imageType = data[2];
  const bool knownType = (imageType >= 1 && imageType <= 3) || (imageType >= 9 && imageType <= 11);
  return colourMapType <= 1 && knownType;
}

// JPEG markers that stand alone, without a length: the restart markers, start and end
// of image, TEM, and the stuffed 0xFF 0x00 of entropy-coded data.
bool IsLonelyJpegMarker(uint8_t marker) {
  return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
}

constexpr uint8_t kJpegHuffmanMarker = 0xC4;
constexpr size_t kHuffmanCodeLengths = 16;
constexpr int32_t kLargestHuffmanTable = 256;

// Whether every Huffman table of the segment at data (its length field first) holds at
// most 256 codes. Debian's stb_image (2.27) writes past its code table when the sixteen
// counts of a table add up to more, so such files never reach it.
bool HuffmanTablesFit(const uint8_t* data, size_t size) {
  if (size < 2) return false;
  const size_t length = static_cast<size_t>(data[0] << 8 | data[1]);
  if (length < 2 || length > size) return false;
  size_t at = 2;
  while (at < length) {
    if (length - at < 1 + kHuffmanCodeLengths) return false;
    int32_t codes = 0;
    for (size_t i = 0; i < kHuffmanCodeLengths; ++i) codes += data[at + 1 + i];
    if (codes > kLargestHuffmanTable) return false;
    at += 1 + kHuffmanCodeLengths + static_cast<size_t>(codes);
  }
  return true;
}

// Looks at every marker segment of a JPEG file, stepping over each segment's payload and
// through the entropy-coded data byte by byte, so tables sent between the scans of a
// progressive file are seen too.
bool JpegTablesFit(const uint8_t* data, size_t size) {
  size_t at = 2;
  while (at + 1 < size) {
    if (data[at] != 0xFF) {
      ++at;
      continue;
    }
    const uint8_t marker = data[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (IsLonelyJpegMarker(marker)) {
      at += 2;
      continue;
    }
    if (marker == kJpegHuffmanMarker && !HuffmanTablesFit(data + at + 2, size - at - 2)) return false;
    if (at + 4 > size) break;
    at += 2 + static_cast<size_t>(data[at + 2] << 8 | data[at + 3]);
  }
  return true;
}

bool IsOfFormat(const uint8_t* data, size_t size, KPictureFormat format) {
  static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr uint8_t kJpeg[] = {0xFF, 0xD8};
  static constexpr uint8_t kBmp[] = {'B', 'M'};
  switch (format) {
    case KPictureFormat::Tga:
      return IsTga(data, size);
    case KPictureFormat::Jpeg:
      return StartsWith(data, size, kJpeg, sizeof kJpeg) && JpegTablesFit(data, size);
    case KPictureFormat::Bmp:
      return StartsWith(data, size, kBmp, sizeof kBmp);
    case KPictureFormat::Png:
      return StartsWith(data, size, kPng, sizeof kPng);
    case KPictureFormat::None:
      break;
  }
  return false;
}

}  // namespace

void KDecodedPixelsFree::operator()(uint8_t* pixels) const { stbi_image_free(pixels); }

KPictureFormat PictureFormatOfPath(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  KPictureFormat format = KPictureFormat::None;
  for (const ExtensionFormat& candidate : kExtensions)
    if (lower.find(candidate.extension) != std::string::npos) format = candidate.format;
  return format;
}

bool DecodePicture(const void* data, size_t size, KPictureFormat format, int32_t maxSide, KDecodedPicture& out) {
  out = KDecodedPicture{};
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (!bytes || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
  if (!IsOfFormat(bytes, size, format)) return false;

  const int length = static_cast<int>(size);
  int width = 0;
  int height = 0;
  int channels = 0;
  // The header first, so a picture too big for a texture is never decoded.
  if (!stbi_info_from_memory(bytes, length, &width, &height, &channels)) return false;
  if (width < 1 || height < 1 || width > maxSide || height > maxSide) return false;

  constexpr int kRgba = 4;
  std::unique_ptr<uint8_t, KDecodedPixelsFree> pixels(
      stbi_load_from_memory(bytes, length, &width, &height, &channels, kRgba));
  if (!pixels || width < 1 || height < 1 || width > maxSide || height > maxSide) return false;

  out.width = width;
  out.height = height;
  out.hasAlpha = channels == 2 || channels == 4;
  out.rgba = std::move(pixels);
  return true;
}
