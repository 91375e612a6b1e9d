#include "board/CellTile.h"

#include <algorithm>

#include "board/CellColours.h"
#include "board/PictureBuffer.h"

void FillWhite(std::span<uint32_t> buffer, int32_t n) {
  if (n <= 0) return;
  const size_t count = std::min(static_cast<size_t>(n) * static_cast<size_t>(n), buffer.size());
  std::fill_n(buffer.begin(), count, kWhite);
}

void BevelTile(TileBuffer& tile, uint32_t value, int32_t cellSize) {
  const uint32_t light = ColourBrighten(value, kBevelFactor);
  const uint32_t dark = ColourDarken(value, kBevelFactor);
  for (int32_t r = 0; r < kTileSide; ++r) {
    for (int32_t c = 0; c < kTileSide; ++c) {
      uint32_t pixel = value;
      if (r >= cellSize - 1 || c == 0)
        pixel = dark;
      else if (c == cellSize - 1 || r == 0)
        pixel = light;
      tile[static_cast<size_t>(r * kTileSide + c)] = pixel;
    }
  }
}

void CrossedTile(TileBuffer& tile, uint32_t value, uint32_t mark) {
  tile.fill(value);
  for (int32_t i = 0; i < kTileSide; ++i) tile[static_cast<size_t>(i * kTileSide + i)] = mark;
}

bool CellTile::Create() {
  FillWhite(pixels_, kTileSide);
  picture_ = CreateGraphic();
  shown_ = kNoCellValue;
  if (!picture_ || !picture_->CreateFromPixels(pixels_.data(), kTileSide, kTileSide, true)) {
    picture_.reset();
    return false;
  }
  return true;
}

void CellTile::Paint(uint32_t value, int32_t cellSize) {
  if (value == shown_ && cellSize == shownSize_) return;
  BevelTile(pixels_, value, cellSize);
  if (picture_) picture_->UpdateFromPixels();
  shown_ = value;
  shownSize_ = cellSize;
}

void CellTile::DrawBlended(int32_t width, int32_t height, int16_t x, int16_t y, float opacity) {
  if (picture_)
    picture_->BlitAlphaRotoZoom(0, 0, static_cast<float>(width), static_cast<float>(height), x, y, 0.0f, 1.0f, opacity,
                                kNoFlip, kNoFlip);
}

void CellTile::DrawOpaque(int32_t width, int32_t height, int16_t x, int16_t y) {
  if (picture_) picture_->Blit(0, 0, static_cast<float>(width), static_cast<float>(height), x, y, kNoFlip, kNoFlip);
}
