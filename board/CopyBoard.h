// The child's 15 x 15 board of the copy games, and the pen, bucket and check on it.
#pragma once

#include <array>
#include <cstdint>

constexpr int32_t kCopySide = 15;
constexpr int32_t kCopyCells = kCopySide * kCopySide;
// Alpha bytes that mark board cells: found wrong by the last test, or a grey template cell.
constexpr uint32_t kWrongCellMark = 0xFD;
constexpr uint32_t kUncolouredMark = 0xFC;

// 15 columns of 15 rows, cell (x, y) at 15x + y.
struct CopyBoard {
  std::array<uint32_t, kCopyCells> cells{};

  static constexpr int32_t Index(int32_t x, int32_t y) { return x * kCopySide + y; }
  static constexpr bool Contains(int32_t x, int32_t y) { return x >= 0 && x < kCopySide && y >= 0 && y < kCopySide; }
  uint32_t& At(int32_t x, int32_t y) { return cells[Index(x, y)]; }
  uint32_t At(int32_t x, int32_t y) const { return cells[Index(x, y)]; }
};

// The top-left 15 x 15 cells of PictureBuffer and every board cell become white.
void ClearSmallBoards(CopyBoard& board);

// True when every board cell equals its PictureBuffer cell in all 32 bits. Every
// differing cell keeps its colour and gets the alpha byte kWrongCellMark.
bool CheckCopyBoard(CopyBoard& board);

// Sets value on a gap-free line of cells from (x0, y0) to (x1, y1), both included;
// every cell of it lies between the two ends. Nothing when an end is off the board.
void BoardLine(CopyBoard& board, int32_t x1, int32_t y1, int32_t x0, int32_t y0, uint32_t value);

// Recolours the 4-connected cells around (x, y) that hold its value, within the
// top-left width x height cells; nothing when (x, y) already holds value.
void BoardFill(CopyBoard& board, int32_t x, int32_t y, uint32_t value, int32_t width, int32_t height);

// Recolours the 4-connected region of PictureBuffer's colour at (x, y), within the
// top-left width x height cells, passing no board cell that already holds value.
void SourceRegionFill(CopyBoard& board, int32_t x, int32_t y, uint32_t value, int32_t width, int32_t height);
