// The frame last shown, read back as the X server shows the test window.
#pragma once

#include <cstdint>
#include <vector>

#include "puzzles/CopyGames.h"

namespace copytest {

class ShownFrame {
 public:
  // Grabs the whole 800 x 600 window.
  ShownFrame();
  // The pixel at screen point (x, y), 0x00BBGGRR.
  uint32_t At(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y * kWidth + x)]; }
  // Pixel (c, r) of board cell (x, y), or of picture cell (x, y).
  uint32_t BoardPixel(int32_t x, int32_t y, int32_t c, int32_t r) const {
    return At(kCopyBoardLeft + kCopyCellPitch * x + c, kCopyBoardsTop + kCopyCellPitch * y + r);
  }
  uint32_t PicturePixel(int32_t x, int32_t y, int32_t c, int32_t r) const {
    return At(kCopyPictureLeft + kCopyCellPitch * x + c, kCopyBoardsTop + kCopyCellPitch * y + r);
  }
  // How many pixels differ between this frame and another.
  int32_t PixelsDifferingFrom(const ShownFrame& other) const {
    int32_t count = 0;
    for (size_t i = 0; i < pixels_.size(); ++i) count += pixels_[i] != other.pixels_[i];
    return count;
  }

 private:
  static constexpr int32_t kWidth = 800;
  static constexpr int32_t kHeight = 600;
  std::vector<uint32_t> pixels_;
};

}  // namespace copytest
