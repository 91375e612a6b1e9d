#include "studio/PaintTools.h"

#include <cstdlib>
#include <vector>

#include "board/PictureBuffer.h"

namespace {

void SetCell(int32_t x, int32_t y, uint32_t colour) {
  if (CellGrid::Contains(x, y)) PictureBuffer.At(x, y) = colour;
}

}  // namespace

// One cell per column along x, then one per row along y, both truncating toward zero,
// then the end cell: steep and flat lines alike come out without gaps.
void StrokeLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
  const int32_t dx = x1 - x0;
  const int32_t dy = y1 - y0;
  const double slope = dx != 0 ? static_cast<double>(dy) / dx : 0.0;
  const int32_t stepX = dx > 0 ? 1 : -1;
  const int32_t stepY = dy > 0 ? 1 : -1;
  for (int32_t f = 0; std::abs(f) < std::abs(dx); f += stepX)
    SetCell(x0 + f, y0 + static_cast<int32_t>(f * slope), colour);
  for (int32_t f = 0; std::abs(f) < std::abs(dy); f += stepY)
    SetCell(x0 + (slope != 0.0 ? static_cast<int32_t>(f / slope) : 0), y0 + f, colour);
  SetCell(x1, y1, colour);
}

// The same region as a recursive fill, on an explicit stack so that a canvas-sized region
// does not go 2000 calls deep; a cell is recoloured when first reached, so it is pushed
// at most once.
void BucketFill(int32_t x, int32_t y, uint32_t colour, int32_t columns, int32_t rows) {
  if (x < 0 || y < 0 || x >= columns || y >= rows || !CellGrid::Contains(x, y)) return;
  const uint32_t old = PictureBuffer.At(x, y);
  if (old == colour) return;
  struct Cell {
    int32_t x, y;
  };
  std::vector<Cell> pending;
  pending.reserve(static_cast<size_t>(columns * rows));
  PictureBuffer.At(x, y) = colour;
  pending.push_back({x, y});
  const auto reach = [&](int32_t cx, int32_t cy) {
    if (cx < 0 || cy < 0 || cx >= columns || cy >= rows || !CellGrid::Contains(cx, cy)) return;
    uint32_t& cell = PictureBuffer.At(cx, cy);
    if (cell != old) return;
    cell = colour;
    pending.push_back({cx, cy});
  };
  while (!pending.empty()) {
    const Cell cell = pending.back();
    pending.pop_back();
    reach(cell.x + 1, cell.y);
    reach(cell.x - 1, cell.y);
    reach(cell.x, cell.y + 1);
    reach(cell.x, cell.y - 1);
  }
}
