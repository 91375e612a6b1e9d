// The frame the test window ("TAFU test") shows, read back as the X server has it after Flip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tafutest {

class ShownFrame {
 public:
  static constexpr int32_t kWidth = 800;
  static constexpr int32_t kHeight = 600;

  // The test window's whole 800 x 600 contents now; all black when it cannot be read.
  static ShownFrame Read();
  // Whether the window was there to be read.
  bool Found() const { return found_; }
  // Colour bytes of (x, y) from the top-left, 0x00BBGGRR.
  uint32_t Pixel(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y * kWidth + x)]; }
  // How many pixels differ between this frame and another.
  int32_t PixelsDifferingFrom(const ShownFrame& other) const {
    int32_t count = 0;
    for (size_t i = 0; i < pixels_.size(); ++i) count += pixels_[i] != other.pixels_[i];
    return count;
  }

 private:
  bool found_ = false;
  std::vector<uint32_t> pixels_ = std::vector<uint32_t>(static_cast<size_t>(kWidth * kHeight), 0);
};

}  // namespace tafutest
