// The frame last shown in a copy game, read back as the X server shows the test window.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "FrameCapture.h"
#include "puzzles/CopyGames.h"

namespace copytest {

class ShownFrame : public tafutest::ShownFrame {
 public:
  // Grabs the whole 800 x 600 window.
  ShownFrame() : tafutest::ShownFrame(Read()) { EXPECT_TRUE(Found()) << "no test window to read"; }
  // The pixel at screen point (x, y), 0x00BBGGRR.
  uint32_t At(int32_t x, int32_t y) const { return Pixel(x, y); }
  // Pixel (c, r) of board cell (x, y), or of picture cell (x, y).
  uint32_t BoardPixel(int32_t x, int32_t y, int32_t c, int32_t r) const {
    return At(kCopyBoardLeft + kCopyCellPitch * x + c, kCopyBoardsTop + kCopyCellPitch * y + r);
  }
  uint32_t PicturePixel(int32_t x, int32_t y, int32_t c, int32_t r) const {
    return At(kCopyPictureLeft + kCopyCellPitch * x + c, kCopyBoardsTop + kCopyCellPitch * y + r);
  }
};

}  // namespace copytest
