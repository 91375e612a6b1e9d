#include "ScreenPictures.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace tafutest {

namespace {

using namespace std::chrono_literals;

constexpr size_t kPixels = static_cast<size_t>(kWindowWidth) * kWindowHeight;
constexpr auto kPoll = 100ms;
constexpr int32_t kStillPolls = 10;
constexpr auto kTimeout = 15s;

WindowPicture WholeWindow(const GameLauncher& game) { return game.Area(0, 0, kWindowWidth, kWindowHeight); }

size_t PixelsChanged(const WindowPicture& a, const WindowPicture& b) {
  if (a.size() != b.size()) return kPixels;
  size_t changed = 0;
  for (size_t i = 0; i < a.size(); ++i) changed += a[i] != b[i] ? 1 : 0;
  return changed;
}

int32_t Channel(uint32_t pixel, int shift) { return static_cast<int32_t>((pixel >> shift) & 0xFF); }

}  // namespace

WindowPicture WaitForRest(const GameLauncher& game) {
  const auto deadline = std::chrono::steady_clock::now() + kTimeout;
  WindowPicture shown = WholeWindow(game);
  for (int32_t still = 0; still < kStillPolls;) {
    if (std::chrono::steady_clock::now() > deadline) return {};
    std::this_thread::sleep_for(kPoll);
    WindowPicture next = WholeWindow(game);
    still = next == shown ? still + 1 : 0;
    shown = std::move(next);
  }
  return shown;
}

WindowPicture ClickAndWaitForRest(const GameLauncher& game, Point spot, Point restAt, size_t changed) {
  const WindowPicture before = WholeWindow(game);
  if (!game.Click(spot) || !game.MoveTo(restAt)) return {};
  if (!WaitFor([&] { return PixelsChanged(WholeWindow(game), before) >= changed; }, kTimeout)) return {};
  return WaitForRest(game);
}

bool WritePicturePng(const std::string& path, const WindowPicture& picture) {
  if (picture.size() != kPixels) return false;
  std::vector<uint8_t> rgb;
  rgb.reserve(kPixels * 3);
  for (const uint32_t pixel : picture)
    for (const int shift : {0, 8, 16}) rgb.push_back(static_cast<uint8_t>(Channel(pixel, shift)));
  return stbi_write_png(path.c_str(), kWindowWidth, kWindowHeight, 3, rgb.data(), kWindowWidth * 3) != 0;
}

WindowPicture ReadPicturePng(const std::string& path) {
  int width = 0;
  int height = 0;
  int channels = 0;
  const std::unique_ptr<uint8_t, void (*)(void*)> rgb(stbi_load(path.c_str(), &width, &height, &channels, 3),
                                                      stbi_image_free);
  if (!rgb || width != kWindowWidth || height != kWindowHeight) return {};
  WindowPicture picture(kPixels);
  for (size_t i = 0; i < kPixels; ++i) {
    const uint8_t* p = rgb.get() + 3 * i;
    picture[i] = p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
  }
  return picture;
}

PictureDifference ComparePictures(const WindowPicture& shown, const WindowPicture& reference, int32_t tolerance) {
  PictureDifference difference;
  for (int32_t y = 0; y < kWindowHeight; ++y) {
    for (int32_t x = 0; x < kWindowWidth; ++x) {
      const size_t i = static_cast<size_t>(y) * kWindowWidth + x;
      const uint32_t a = i < shown.size() ? shown[i] : 0;
      const uint32_t b = i < reference.size() ? reference[i] : 0;
      int32_t largest = 0;
      for (const int shift : {0, 8, 16}) largest = std::max(largest, std::abs(Channel(a, shift) - Channel(b, shift)));
      if (largest <= tolerance) continue;
      difference.largest = std::max(difference.largest, largest);
      ++difference.pixels;
      difference.left = std::min(difference.left, x);
      difference.top = std::min(difference.top, y);
      difference.right = std::max(difference.right, x);
      difference.bottom = std::max(difference.bottom, y);
    }
  }
  return difference;
}

}  // namespace tafutest
