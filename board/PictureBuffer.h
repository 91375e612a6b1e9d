// The one grid of cells that every puzzle and painting screen works on.
#pragma once

#include <array>
#include <cstdint>

#include "board/PictureTypes.h"

// Cell values are 0xAABBGGRR: red in the low byte, so the bytes in memory run
// red, green, blue, alpha, which is how a cell buffer is uploaded as a texture.
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kOpaque = 0xFF000000u;

// The grid holds the big canvas whole; every smaller picture is its top-left corner.
constexpr int32_t kGridColumns = kBigCanvasColumns;
constexpr int32_t kGridRows = kBigCanvasRows;
constexpr int32_t kGridCells = kGridColumns * kGridRows;

// 50 columns of 40 cells, column 0 on the left, row 0 at the top; each column
// keeps its 40 rows next to each other.
struct CellGrid {
  std::array<uint32_t, kGridCells> cells{};

  static constexpr int32_t Index(int32_t column, int32_t row) { return column * kGridRows + row; }
  static constexpr bool Contains(int32_t column, int32_t row) {
    return column >= 0 && column < kGridColumns && row >= 0 && row < kGridRows;
  }
  uint32_t& At(int32_t column, int32_t row) { return cells[Index(column, row)]; }
  uint32_t At(int32_t column, int32_t row) const { return cells[Index(column, row)]; }
};

extern CellGrid PictureBuffer;

// Every cell of PictureBuffer becomes white.
void ClearPictureBuffer();
