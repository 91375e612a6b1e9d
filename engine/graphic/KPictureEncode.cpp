#include "KPictureEncode.h"

#include <stb_image_write.h>

namespace {

constexpr int kJpegQuality = 90;
constexpr int kRgb = 3;

}  // namespace

bool EncodePictureFile(const std::string& path, KPictureFormat format, int32_t width, int32_t height,
                       const uint8_t* rgb) {
  if (width <= 0 || height <= 0 || !rgb) return false;
  const char* name = path.c_str();
  switch (format) {
    case KPictureFormat::Bmp:
      return stbi_write_bmp(name, width, height, kRgb, rgb) != 0;
    case KPictureFormat::Jpeg:
      return stbi_write_jpg(name, width, height, kRgb, rgb, kJpegQuality) != 0;
    case KPictureFormat::Tga:
      return stbi_write_tga(name, width, height, kRgb, rgb) != 0;
    case KPictureFormat::Png:
      return stbi_write_png(name, width, height, kRgb, rgb, width * kRgb) != 0;
    case KPictureFormat::None:
      return false;
  }
  return false;
}
