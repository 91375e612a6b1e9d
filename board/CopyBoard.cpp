#include "board/CopyBoard.h"

#include <algorithm>
#include <cstdlib>

#include "board/PictureBuffer.h"

namespace {

constexpr uint32_t kColourMask = 0x00FFFFFFu;
constexpr int32_t kNeighbours = 4;
constexpr int32_t kNeighbourX[kNeighbours] = {1, -1, 0, 0};
constexpr int32_t kNeighbourY[kNeighbours] = {0, 0, 1, -1};

// A cell whose neighbours are being visited, in the order right, left, down, up.
struct FillStep {
  int32_t x;
  int32_t y;
  int32_t next;
};

// Walks a fill in exactly the order of the recursive fill it stands for: from each
// cell, each neighbour in turn, finishing one neighbour's region before the next.
// canEnter(x, y) tells whether the recursive fill would step onto that cell, and
// enter(x, y) colours it.
template <typename CanEnter, typename Enter>
void WalkFill(int32_t x, int32_t y, int32_t width, int32_t height, CanEnter canEnter, Enter enter) {
  std::array<FillStep, kCopyCells> stack;
  size_t depth = 0;
  enter(x, y);
  stack[depth++] = {x, y, 0};
  while (depth > 0) {
    FillStep& step = stack[depth - 1];
    if (step.next == kNeighbours) {
      --depth;
      continue;
    }
    const int32_t nx = step.x + kNeighbourX[step.next];
    const int32_t ny = step.y + kNeighbourY[step.next];
    ++step.next;
    if (nx < 0 || nx >= width || ny < 0 || ny >= height || !canEnter(nx, ny)) continue;
    enter(nx, ny);
    stack[depth++] = {nx, ny, 0};
  }
}

bool StartsInside(int32_t x, int32_t y, int32_t& width, int32_t& height) {
  width = std::clamp(width, 0, kCopySide);
  height = std::clamp(height, 0, kCopySide);
  return x >= 0 && x < width && y >= 0 && y < height;
}

}  // namespace

void ClearSmallBoards(CopyBoard& board) {
  for (int32_t x = 0; x < kCopySide; ++x)
    for (int32_t y = 0; y < kCopySide; ++y) PictureBuffer.At(x, y) = kWhite;
  board.cells.fill(kWhite);
}

bool CheckCopyBoard(CopyBoard& board) {
  bool solved = true;
  for (int32_t x = 0; x < kCopySide; ++x) {
    for (int32_t y = 0; y < kCopySide; ++y) {
      uint32_t& cell = board.At(x, y);
      if (PictureBuffer.At(x, y) == cell) continue;
      cell = (cell & kColourMask) | kWrongCellMark << 24;
      solved = false;
    }
  }
  return solved;
}

void BoardLine(CopyBoard& board, int32_t x1, int32_t y1, int32_t x0, int32_t y0, uint32_t value) {
  if (!CopyBoard::Contains(x0, y0) || !CopyBoard::Contains(x1, y1)) return;
  const int32_t dx = x1 - x0;
  const int32_t dy = y1 - y0;
  const double slope = dx == 0 ? 0.0 : static_cast<double>(dy) / dx;
  const int32_t sx = dx > 0 ? 1 : -1;
  const int32_t sy = dy > 0 ? 1 : -1;
  for (int32_t d = 0; std::abs(d) < std::abs(dx); d += sx)
    board.At(x0 + d, y0 + static_cast<int32_t>(d * slope)) = value;
  for (int32_t e = 0; std::abs(e) < std::abs(dy); e += sy) {
    const int32_t across = slope == 0.0 ? 0 : static_cast<int32_t>(e / slope);
    board.At(x0 + across, y0 + e) = value;
  }
  board.At(x1, y1) = value;
}

void BoardFill(CopyBoard& board, int32_t x, int32_t y, uint32_t value, int32_t width, int32_t height) {
  if (!StartsInside(x, y, width, height)) return;
  const uint32_t old = board.At(x, y);
  if (old == value) return;
  WalkFill(
      x, y, width, height, [&](int32_t cx, int32_t cy) { return board.At(cx, cy) == old; },
      [&](int32_t cx, int32_t cy) { board.At(cx, cy) = value; });
}

void SourceRegionFill(CopyBoard& board, int32_t x, int32_t y, uint32_t value, int32_t width, int32_t height) {
  if (!StartsInside(x, y, width, height)) return;
  if (board.At(x, y) == value) return;
  const uint32_t region = PictureBuffer.At(x, y);
  WalkFill(
      x, y, width, height,
      [&](int32_t cx, int32_t cy) { return PictureBuffer.At(cx, cy) == region && board.At(cx, cy) != value; },
      [&](int32_t cx, int32_t cy) { board.At(cx, cy) = value; });
}
