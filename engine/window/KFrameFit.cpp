#include "KFrameFit.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A new window takes at most nine tenths of the usable area each way.
constexpr int64_t kWindowShareTenths = 9;
constexpr int64_t kTenths = 10;

// Rounds toward minus infinity.
int64_t FloorDivide(int64_t numerator, int64_t denominator) {
  return numerator / denominator - (numerator % denominator < 0 ? 1 : 0);
}

}  // namespace

KFrameRect FitFrame(int32_t outputWidth, int32_t outputHeight, int32_t frameWidth, int32_t frameHeight) {
  KFrameRect rect;
  if (outputWidth <= 0 || outputHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) return rect;
  // Width-bound when output is relatively wider than the frame, else height-bound.
  const int64_t wide = static_cast<int64_t>(outputWidth) * frameHeight;
  const int64_t tall = static_cast<int64_t>(outputHeight) * frameWidth;
  if (wide >= tall) {
    rect.height = outputHeight;
    rect.width = static_cast<int32_t>(std::lround(static_cast<double>(outputHeight) * frameWidth / frameHeight));
  } else {
    rect.width = outputWidth;
    rect.height = static_cast<int32_t>(std::lround(static_cast<double>(outputWidth) * frameHeight / frameWidth));
  }
  rect.width = std::clamp(rect.width, 1, outputWidth);
  rect.height = std::clamp(rect.height, 1, outputHeight);
  rect.left = (outputWidth - rect.width) / 2;
  rect.top = (outputHeight - rect.height) / 2;
  return rect;
}

KFrameRect FrameTargetSize(int32_t outputWidth, int32_t outputHeight, int32_t worldWidth, int32_t worldHeight) {
  const KFrameRect fitted = FitFrame(outputWidth, outputHeight, worldWidth, worldHeight);
  if (fitted.width < worldWidth || fitted.height < worldHeight) return {0, 0, worldWidth, worldHeight};
  return {0, 0, outputWidth, outputHeight};
}

bool IsWholeMultiple(const KFrameRect& rect, int32_t frameWidth, int32_t frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || rect.width % frameWidth != 0 || rect.height % frameHeight != 0)
    return false;
  return rect.width / frameWidth == rect.height / frameHeight && rect.width >= frameWidth;
}

KFrameRect WindowAreaOf(const KScreenRect& framePart, const KFrameRect& placement, const KFrameRect& bounds,
                        int32_t frameWidth, int32_t frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || framePart.right <= framePart.left || framePart.bottom <= framePart.top)
    return {};
  // A smoothed window pixel mixes the frame pixels on both sides of where it samples. Frame
  // positions far past the edges (kEverywhere) are held at a frame's size beyond them first.
  const auto spread = [](int64_t start, int64_t end, int32_t rectStart, int32_t rectSize, int32_t frameSize,
                         int32_t low, int32_t high) {
    const int64_t from = std::clamp<int64_t>(start - 1, -frameSize, 2 * static_cast<int64_t>(frameSize));
    const int64_t to = std::clamp<int64_t>(end + 1, from, 2 * static_cast<int64_t>(frameSize));
    const int64_t first = rectStart + FloorDivide(from * rectSize, frameSize);
    const int64_t last = rectStart + FloorDivide(to * rectSize + frameSize - 1, frameSize);
    return std::pair<int32_t, int32_t>{static_cast<int32_t>(std::clamp<int64_t>(first, low, high)),
                                       static_cast<int32_t>(std::clamp<int64_t>(last, low, high))};
  };
  const auto [left, right] = spread(framePart.left, framePart.right, placement.left, placement.width, frameWidth,
                                    bounds.left, bounds.left + bounds.width);
  const auto [top, bottom] = spread(framePart.top, framePart.bottom, placement.top, placement.height, frameHeight,
                                    bounds.top, bounds.top + bounds.height);
  return {left, top, right - left, bottom - top};
}

int32_t WindowScale(int32_t usableWidth, int32_t usableHeight, int32_t frameWidth, int32_t frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0) return 1;
  int32_t scale = 1;
  const auto fits = [&](int64_t k) {
    return k * frameWidth * kTenths <= kWindowShareTenths * usableWidth &&
           k * frameHeight * kTenths <= kWindowShareTenths * usableHeight;
  };
  while (fits(scale + 1)) ++scale;
  return scale;
}

int32_t WindowToFrame(int32_t position, int32_t rectStart, int32_t rectSize, int32_t frameSize) {
  if (rectSize <= 0) return position;
  // Rounds toward minus infinity, so that the bar just before the frame reads -1.
  return static_cast<int32_t>(FloorDivide(static_cast<int64_t>(position - rectStart) * frameSize, rectSize));
}

int32_t FrameToWindow(int32_t position, int32_t rectStart, int32_t rectSize, int32_t frameSize) {
  if (frameSize <= 0) return position;
  const int64_t doubled = (2 * static_cast<int64_t>(position) + 1) * rectSize;
  return rectStart + static_cast<int32_t>(doubled / (2 * static_cast<int64_t>(frameSize)));
}
