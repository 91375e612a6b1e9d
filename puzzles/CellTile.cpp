#include "puzzles/CellTile.h"

#include <algorithm>

#include "puzzles/CellColours.h"
#include "studio/PictureBuffer.h"

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
