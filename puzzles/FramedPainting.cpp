#include "puzzles/FramedPainting.h"

#include <algorithm>
#include <cstring>

#include "graphic/KPictureDecode.h"
#include "services/KPaths.h"
#include "board/PictureBuffer.h"

namespace {

constexpr const char* kFramePicture = "img\\ico\\painting_frame.png";
// The frame's white window: a big painting fills it at 3 pixels a cell, a small one
// stands in its middle at 8.
constexpr int32_t kWindowLeft = 10;
constexpr int32_t kWindowTop = 10;
constexpr int32_t kWindowWidth = 150;
constexpr int32_t kBigCellPixels = 3;
constexpr int32_t kSmallCellPixels = 8;
// The painter's small animal, halved, in the frame's bottom-right corner.
constexpr int32_t kBadgeSide = 40;
constexpr int32_t kBadgeLeft = kFramedPaintingWidth - kBadgeSide - 2;
constexpr int32_t kBadgeTop = kFramedPaintingHeight - kBadgeSide - 2;

using Pixels = std::vector<uint32_t>;

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

// Lays a pixel over another by its alpha (neither premultiplied), as paint over paint.
uint32_t Over(uint32_t top, uint32_t under) {
  const uint32_t alpha = Channel(top, 24);
  const uint32_t underAlpha = Channel(under, 24) * (255 - alpha) / 255;
  const uint32_t outAlpha = alpha + underAlpha;
  if (outAlpha == 0) return 0;
  uint32_t out = outAlpha << 24;
  for (int shift = 0; shift < 24; shift += 8)
    out |= ((Channel(top, shift) * alpha + Channel(under, shift) * underAlpha + outAlpha / 2) / outAlpha) << shift;
  return out;
}

void DrawFrame(Pixels& pixels) {
  KDecodedPicture frame;
  if (!ReadAndDecodePicture(MakePath(kFramePicture), kLargestPictureSide, frame)) return;
  if (frame.width != kFramedPaintingWidth || frame.height != kFramedPaintingHeight) return;
  std::memcpy(pixels.data(), frame.rgba.get(), pixels.size() * sizeof(uint32_t));
}

void DrawCells(Pixels& pixels, CanvasSize size) {
  const int32_t cell = size == CanvasSize::Big ? kBigCellPixels : kSmallCellPixels;
  const int32_t left = kWindowLeft + (kWindowWidth - CanvasColumns(size) * cell) / 2;
  for (int32_t row = 0; row < CanvasRows(size); ++row)
    for (int32_t column = 0; column < CanvasColumns(size); ++column)
      for (int32_t y = 0; y < cell; ++y)
        for (int32_t x = 0; x < cell; ++x) {
          const size_t at = static_cast<size_t>((kWindowTop + row * cell + y) * kFramedPaintingWidth + left +
                                                column * cell + x);
          pixels[at] = PictureBuffer.At(column, row) | kOpaque;
        }
}

// The animal's 80 x 80 picture at half its size, each pixel the mean of four.
void DrawBadge(Pixels& pixels, const char* painter) {
  KDecodedPicture animal;
  if (!painter || !ReadAndDecodePicture(MakePath(painter), kLargestPictureSide, animal)) return;
  if (animal.width != 2 * kBadgeSide || animal.height != 2 * kBadgeSide) return;
  const auto* rgba = reinterpret_cast<const uint32_t*>(animal.rgba.get());
  for (int32_t y = 0; y < kBadgeSide; ++y)
    for (int32_t x = 0; x < kBadgeSide; ++x) {
      uint32_t sums[4] = {};
      for (int32_t dy = 0; dy < 2; ++dy)
        for (int32_t dx = 0; dx < 2; ++dx) {
          const uint32_t p = rgba[(2 * y + dy) * animal.width + 2 * x + dx];
          const uint32_t a = Channel(p, 24);
          // Colours weighed by their alpha, so that clear pixels bring no dark fringe.
          for (int c = 0; c < 3; ++c) sums[c] += Channel(p, 8 * c) * a;
          sums[3] += a;
        }
      uint32_t mean = (sums[3] / 4) << 24;
      if (sums[3] > 0)
        for (int c = 0; c < 3; ++c) mean |= ((sums[c] + sums[3] / 2) / sums[3]) << (8 * c);
      uint32_t& under = pixels[static_cast<size_t>((kBadgeTop + y) * kFramedPaintingWidth + kBadgeLeft + x)];
      under = Over(mean, under);
    }
}

}  // namespace

bool FramedPainting::Create(const std::vector<OwnPainting>& paintings, CanvasSize size) {
  const CellGrid kept = PictureBuffer;
  const auto readable = std::find_if(paintings.begin(), paintings.end(),
                                     [size](const OwnPainting& painting) { return ReadOwnPainting(painting, size); });
  if (readable == paintings.end()) return false;
  pixels_.assign(static_cast<size_t>(kFramedPaintingWidth * kFramedPaintingHeight), 0);
  DrawFrame(pixels_);
  DrawCells(pixels_, size);
  PictureBuffer = kept;
  DrawBadge(pixels_, readable->painter);
  picture_ = CreateGraphic();
  return picture_ && picture_->CreateFromPixels(pixels_.data(), kFramedPaintingWidth, kFramedPaintingHeight, true);
}
