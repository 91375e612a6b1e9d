#include "ScreenPictures.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numeric>
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
  return std::transform_reduce(a.begin(), a.end(), b.begin(), size_t{0}, std::plus<>(), std::not_equal_to<>());
}

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
  if (!game.Click(spot) || !game.MoveTo(restAt) ||
      !WaitFor([&] { return PixelsChanged(WholeWindow(game), before) >= changed; }, kTimeout))
    return {};
  return WaitForRest(game);
}

bool WritePicturePng(const std::string& path, const WindowPicture& picture) {
  if (picture.size() != kPixels) return false;
  std::vector<uint8_t> rgb;
  for (const uint32_t pixel : picture)
    for (const int shift : {0, 8, 16}) rgb.push_back(static_cast<uint8_t>(Channel(pixel, shift)));
  return stbi_write_png(path.c_str(), kWindowWidth, kWindowHeight, 3, rgb.data(), kWindowWidth * 3) != 0;
}

WindowPicture ReadPicturePng(const std::string& path) {
  int width = 0, height = 0, channels = 0;
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

std::string PictureDifference(const WindowPicture& shown, const WindowPicture& reference, int32_t tolerance) {
  int32_t pixels = 0, most = 0, left = kWindowWidth, top = kWindowHeight, right = -1, bottom = -1;
  for (int32_t y = 0; y < kWindowHeight; ++y) {
    for (int32_t x = 0; x < kWindowWidth; ++x) {
      const size_t i = static_cast<size_t>(y) * kWindowWidth + x;
      const uint32_t a = i < shown.size() ? shown[i] : 0, b = i < reference.size() ? reference[i] : 0;
      int32_t largest = 0;
      for (const int shift : {0, 8, 16}) largest = std::max(largest, std::abs(Channel(a, shift) - Channel(b, shift)));
      if (largest <= tolerance) continue;
      ++pixels, most = std::max(most, largest), left = std::min(left, x), top = std::min(top, y);
      right = std::max(right, x), bottom = std::max(bottom, y);
    }
  }
  if (pixels == 0) return {};
  return std::to_string(pixels) + " pixels, by up to " + std::to_string(most) + ", between (" + std::to_string(left) + ", " +
         std::to_string(top) + ") and (" + std::to_string(right) + ", " + std::to_string(bottom) + ")";
}

double MedianEdgeWidth(const std::vector<uint32_t>& pixels, int32_t width, Box box) {
  constexpr int32_t kStep = 8;
  constexpr int32_t kStrong = 100;
  const auto brightness = [&](int32_t x, int32_t y) {
    const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return (2 * Channel(p, 0) + 5 * Channel(p, 8) + Channel(p, 16)) / 8;
  };
  std::vector<int32_t> widths;
  for (int32_t y = box.y; y < box.y + box.height; ++y) {
    int32_t run = 0, change = 0;
    for (int32_t x = box.x; x + 1 < box.x + box.width; ++x) {
      const int32_t step = brightness(x + 1, y) - brightness(x, y);
      const bool continues = std::abs(step) > kStep && (run == 0 || (step > 0) == (change > 0));
      if (!continues) {
        if (std::abs(change) >= kStrong) widths.push_back(run);
        run = std::abs(step) > kStep ? 1 : 0;
        change = run ? step : 0;
        continue;
      }
      ++run;
      change += step;
    }
  }
  if (widths.empty()) return 0;
  std::nth_element(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(widths.size() / 2), widths.end());
  return widths[widths.size() / 2];
}

}  // namespace tafutest
