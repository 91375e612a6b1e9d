#include "KPictureDecode.h"

#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>

#include "KJpegCheck.h"
#include "KPngCheck.h"
#include "services/KFile.h"

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

bool IsOfFormat(const uint8_t* data, size_t size, KPictureFormat format) {
  static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr uint8_t kJpeg[] = {0xFF, 0xD8};
  static constexpr uint8_t kBmp[] = {'B', 'M'};
  switch (format) {
    case KPictureFormat::Tga:
      return IsTga(data, size);
    case KPictureFormat::Jpeg:
      return StartsWith(data, size, kJpeg, sizeof kJpeg) && JpegTablesAreSound(data, size);
    case KPictureFormat::Bmp:
      return StartsWith(data, size, kBmp, sizeof kBmp);
    case KPictureFormat::Png:
      return StartsWith(data, size, kPng, sizeof kPng) && PngChunksFitTheFile(data, size);
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

bool ReadPictureFile(const std::string& path, KPictureFormat& format, std::string& bytes) {
  format = PictureFormatOfPath(path);
  return format != KPictureFormat::None && KFile::ReadWhole(path, bytes);
}

bool ReadAndDecodePicture(const std::string& path, int32_t maxSide, KDecodedPicture& out) {
  out = KDecodedPicture{};
  KPictureFormat format = KPictureFormat::None;
  std::string bytes;
  return ReadPictureFile(path, format, bytes) && DecodePicture(bytes.data(), bytes.size(), format, maxSide, out);
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
