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

// The bottom-left width x height pixels of the back buffer, top row first.
std::unique_ptr<uint8_t[]> ReadBackBuffer(int32_t width, int32_t height) {
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::unique_ptr<uint8_t[]> rgba(new (std::nothrow) uint8_t[pixelCount * kRgba]);
  std::unique_ptr<uint8_t[]> rgb(new (std::nothrow) uint8_t[pixelCount * kRgb]);
  if (!rgba || !rgb) return nullptr;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.get());
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = rgba.get() + static_cast<size_t>(height - 1 - y) * width * kRgba;
    uint8_t* target = rgb.get() + static_cast<size_t>(y) * width * kRgb;
    for (int32_t x = 0; x < width; ++x, source += kRgba, target += kRgb) std::copy(source, source + kRgb, target);
  }
  return rgb;
}

}  // namespace

// A thumbnail (width and height both positive) is drawn scaled into the
// bottom-left corner, read from there, and the frame is put back as it was.
bool KScreenGL::SaveScreenshot(const std::string& path, uint32_t type, int32_t width, int32_t height) {
  if (!context_ || type > kPng) return false;
  KGraphicGL frame;
  if (!frame.GrabBackBuffer(nullptr)) return false;

  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  ResetView();

  if (width > 0 && height > 0) {
    width = std::min<int32_t>(width, width_);
    height = std::min<int32_t>(height, height_);
    frame.DrawStretched(0, 0, width_, height_, 0, static_cast<float>(height_ - height), static_cast<float>(width),
                        height_, 1.0f, 0.0f);
  } else {
    width = width_;
    height = height_;
  }
  FlushFrame();
  std::unique_ptr<uint8_t[]> pixels = ReadBackBuffer(width, height);
  const bool written = pixels && EncodePictureFile(path, FormatOfType(type), width, height, pixels.get());
  frame.Blit(0, 0, width_, height_, 0, 0, false, false);
  // The copy is drawn before it goes.
  FlushFrame();

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  return written;
}
