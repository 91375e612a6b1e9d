// Helpers of the picture tests: a white 800 x 600 screen, picture files made on
// the spot, and the frame read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "DrawingWindowTest.h"
#include "TestSupport.h"
#include "graphic/KGraphic.h"

namespace picturetest {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

// Cell colours as the game writes them: 0xAABBGGRR, red in the low byte.
constexpr uint32_t kRed = 0xFF0000FF;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFFFF0000;
constexpr uint32_t kYellow = 0xFF00FFFF;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kMagenta = 0xFFFF00FF;

inline uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFF; }

// The pixel (x, y) of the back buffer, without its alpha.
inline uint32_t ScreenRgb(int32_t x, int32_t y) { return Rgb(tafutest::ReadPixel(x, y)); }

// Red, green and blue each within tolerance.
inline ::testing::AssertionResult ColourNear(uint32_t actual, uint32_t expected, int32_t tolerance) {
  for (int32_t channel = 0; channel < 3; ++channel) {
    if (std::abs(tafutest::Channel(actual, 8 * channel) - tafutest::Channel(expected, 8 * channel)) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "colour 0x" << Rgb(actual) << " is not near 0x"
                                           << Rgb(expected);
  }
  return ::testing::AssertionSuccess();
}

// A test with its own window, cleared to white, and pictures that know its size.
class PictureScreen : public tafutest::DrawingWindowTest {
 protected:
  PictureScreen() : DrawingWindowTest({1, 1, 1}) {}
  void SetUp() override {
    DrawingWindowTest::SetUp();
    if (!HasFatalFailure()) ClearScreen();
  }
};

// Encodes width x height RGBA pixels (rows top first) into a file with
// stb_image_write: "png" (with alpha when withAlpha), "png", "jpg", "bmp" or
// "tga". Returns false when nothing was written.
bool WritePicture(const std::string& path, const std::string& kind, int32_t width, int32_t height,
                  const std::vector<uint32_t>& pixels, bool withAlpha);

// A picture file decoded by stb_image as RGBA pixels, or empty.
std::vector<uint32_t> ReadPicture(const std::string& path, int32_t& width, int32_t& height);

}  // namespace picturetest
