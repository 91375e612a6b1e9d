#include "PictureTestSupport.h"

#include <stb_image.h>
#include <stb_image_write.h>

namespace picturetest {

namespace {

constexpr int kJpegQuality = 95;

std::vector<uint8_t> ToBytes(const std::vector<uint32_t>& pixels, int channels) {
  std::vector<uint8_t> bytes;
  bytes.reserve(pixels.size() * channels);
  for (uint32_t pixel : pixels)
    for (int channel = 0; channel < channels; ++channel) bytes.push_back(static_cast<uint8_t>(tafutest::Channel(pixel, 8 * channel)));
  return bytes;
}

}  // namespace

bool WritePicture(const std::string& path, const std::string& kind, int32_t width, int32_t height,
                  const std::vector<uint32_t>& pixels, bool withAlpha) {
  const int channels = withAlpha ? 4 : 3;
  const std::vector<uint8_t> bytes = ToBytes(pixels, channels);
  const char* name = path.c_str();
  if (kind == "png") return stbi_write_png(name, width, height, channels, bytes.data(), width * channels) != 0;
  if (kind == "jpg") return stbi_write_jpg(name, width, height, channels, bytes.data(), kJpegQuality) != 0;
  if (kind == "bmp") return stbi_write_bmp(name, width, height, channels, bytes.data()) != 0;
  if (kind == "tga") return stbi_write_tga(name, width, height, channels, bytes.data()) != 0;
  return false;
}

std::vector<uint32_t> ReadPicture(const std::string& path, int32_t& width, int32_t& height) {
  int channels = 0;
  stbi_uc* bytes = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (!bytes) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint32_t>(bytes[4 * i]) | static_cast<uint32_t>(bytes[4 * i + 1]) << 8 |
                static_cast<uint32_t>(bytes[4 * i + 2]) << 16 | static_cast<uint32_t>(bytes[4 * i + 3]) << 24;
  stbi_image_free(bytes);
  return pixels;
}

}  // namespace picturetest
