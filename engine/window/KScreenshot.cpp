#include <SDL_opengl.h>

#include <algorithm>
#include <memory>
#include <new>

#include "KScreenGL.h"
#include "graphic/KGraphic.h"
#include "graphic/KPictureEncode.h"

namespace {

// Screenshot types, as callers number them.
constexpr uint32_t kBmp = 0;
constexpr uint32_t kJpeg = 1;
constexpr uint32_t kTga = 2;
constexpr uint32_t kPng = 3;

// A screenshot has no transparency: red, green and blue only.
constexpr int kRgb = 3;
constexpr int kRgba = 4;

KPictureFormat FormatOfType(uint32_t type) {
  switch (type) {
    case kBmp:
      return KPictureFormat::Bmp;
    case kJpeg:
      return KPictureFormat::Jpeg;
    case kTga:
      return KPictureFormat::Tga;
    case kPng:
      return KPictureFormat::Png;
    default:
      return KPictureFormat::None;
  }
}

// The screen's part of the frame target (frameWidth x frameHeight pixels from left, bottom)
// read back and shown at width x height, top row first: each pixel of the picture is the
// frame's pixel under its middle.
std::unique_ptr<uint8_t[]> ReadFrame(int32_t left, int32_t bottom, int32_t frameWidth, int32_t frameHeight,
                                     int32_t width, int32_t height) {
  const size_t framePixels = static_cast<size_t>(frameWidth) * static_cast<size_t>(frameHeight);
  std::unique_ptr<uint8_t[]> rgba(new (std::nothrow) uint8_t[framePixels * kRgba]);
  std::unique_ptr<uint8_t[]> rgb(new (std::nothrow) uint8_t[static_cast<size_t>(width) * height * kRgb]);
  if (!rgba || !rgb) return nullptr;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(left, bottom, frameWidth, frameHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.get());
  const auto sample = [](int32_t position, int32_t size, int32_t frameSize) {
    return static_cast<int32_t>((2 * static_cast<int64_t>(position) + 1) * frameSize / (2 * static_cast<int64_t>(size)));
  };
  uint8_t* target = rgb.get();
  for (int32_t y = 0; y < height; ++y) {
    const int32_t row = frameHeight - 1 - sample(y, height, frameHeight);
    for (int32_t x = 0; x < width; ++x, target += kRgb) {
      const uint8_t* source = rgba.get() + (static_cast<size_t>(row) * frameWidth + sample(x, width, frameWidth)) * kRgba;
      std::copy(source, source + kRgb, target);
    }
  }
  return rgb;
}

}  // namespace

// The frame as the game drew it, at the screen's size, or a thumbnail when width and height
// are both positive, whatever size the window draws it at.
bool KScreenGL::SaveScreenshot(const std::string& path, uint32_t type, int32_t width, int32_t height) {
  if (!context_ || !frame_ || type > kPng) return false;
  if (width > 0 && height > 0) {
    width = std::min<int32_t>(width, width_);
    height = std::min<int32_t>(height, height_);
  } else {
    width = width_;
    height = height_;
  }
  FlushFrame();
  const KFrameRect part = frame_->ScreenPart();
  std::unique_ptr<uint8_t[]> pixels =
      ReadFrame(part.left, frame_->Height() - part.top - part.height, part.width, part.height, width, height);
  return pixels && EncodePictureFile(path, FormatOfType(type), width, height, pixels.get());
}
