// A whole board of cells as one picture: every cell painted from its tile exactly as
// drawing the board cell by cell through a CellTile would paint it, composed on the
// CPU where cells changed and uploaded once per frame.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphic/KGraphic.h"
#include "board/CellTile.h"
#include "board/CopyBoard.h"
#include "board/PictureBuffer.h"

// Paints the tile of one cell value for cells of cellSize pixels (BevelTile, or a
// screen's own tile such as a crossed cell).
using TilePainter = void (*)(TileBuffer& tile, uint32_t value, int32_t cellSize);

// The pixels of a board: columns x rows cells cellSize pixels apart, each showing the
// top-left cellWidth x cellSize pixels of its tile, drawn row by row from the left.
// With cellWidth = cellSize + 1 each cell's last column is covered by its right
// neighbour and shows only right of the last column, so the board is
// columns x cellSize + cellWidth - cellSize pixels wide and rows x cellSize high.
class BoardPixels {
 public:
  // False (and an empty board) when a size is out of range: cellSize 1 to 16,
  // cellWidth cellSize to 16, columns and rows at least 1.
  bool Create(int32_t columns, int32_t rows, int32_t cellSize, int32_t cellWidth, TilePainter painter = BevelTile);
  // Shows value in cell (column, row); repaints its pixels only when it changed.
  // Cells outside the board are ignored.
  void SetCell(int32_t column, int32_t row, uint32_t value);
  // The top-left columns x rows cells of a grid, or a whole copy board.
  void ShowGrid(const CellGrid& grid);
  void ShowCopyBoard(const CopyBoard& board);
  // Every cell is painted again at its next SetCell (after a change of painter rules).
  void Invalidate();

  // True when pixels changed since the last TakeChanges.
  bool TakeChanges();
  uint32_t* Pixels() { return pixels_.data(); }
  uint32_t Pixel(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Columns() const { return columns_; }
  int32_t Rows() const { return rows_; }
  int32_t CellSize() const { return cellSize_; }
  int32_t CellWidth() const { return cellWidth_; }

 private:
  void PaintCell(int32_t column, int32_t row, uint32_t value);

  int32_t columns_ = 0;
  int32_t rows_ = 0;
  int32_t cellSize_ = 0;
  int32_t cellWidth_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  TilePainter painter_ = BevelTile;
  std::vector<uint32_t> values_;
  std::vector<uint32_t> pixels_;
  TileBuffer tile_{};
  uint32_t tileValue_ = kNoCellValue;
  bool changed_ = false;
};

// BoardPixels on a picture. Drawing uploads the pixels first when they changed, so a
// frame that draws the board in several pieces uploads it once.
class BoardPicture {
 public:
  // As BoardPixels::Create, and the picture; false when either cannot be made.
  bool Create(int32_t columns, int32_t rows, int32_t cellSize, int32_t cellWidth, TilePainter painter = BevelTile);
  const BoardPixels& Cells() const { return pixels_; }
  void SetCell(int32_t column, int32_t row, uint32_t value) { pixels_.SetCell(column, row, value); }
  void ShowGrid(const CellGrid& grid) { pixels_.ShowGrid(grid); }
  void ShowCopyBoard(const CopyBoard& board) { pixels_.ShowCopyBoard(board); }

  // Draws the block of count x rowCount cells from (column, row) with its top-left
  // corner at (x, y): blended at opacity (cell alpha counts), or copied opaque. The
  // block includes the extra column only when it ends at the board's last column.
  void DrawCellsBlended(int32_t column, int32_t row, int32_t count, int32_t rowCount, int16_t x, int16_t y,
                        float opacity);
  void DrawCellsOpaque(int32_t column, int32_t row, int32_t count, int32_t rowCount, int16_t x, int16_t y);
  // The whole board.
  void DrawBlended(int16_t x, int16_t y, float opacity);
  void DrawOpaque(int16_t x, int16_t y);

 private:
  struct Source {
    float x1, y1, x2, y2;
  };
  bool Prepare(int32_t column, int32_t row, int32_t count, int32_t rowCount, Source& source);

  BoardPixels pixels_;
  std::unique_ptr<KGraphic> picture_;
};
