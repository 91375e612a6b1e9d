// The bevelled tile through which every board and canvas cell is drawn.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "graphic/KGraphic.h"

constexpr int32_t kTileSide = 16;
// Edges are brightened and darkened by this factor.
constexpr double kBevelFactor = 1.3;

// 16 x 16 cell values, pixel (column c, row r) at 16r + c, row 0 at the top.
using TileBuffer = std::array<uint32_t, kTileSide * kTileSide>;

// The first n x n entries of buffer (at most all of it) become white.
void FillWhite(std::span<uint32_t> buffer, int32_t n);

// Paints value as a cell of cellSize pixels (10 or 15): a light edge along the top and
// along column cellSize - 1, a dark edge along column 0 and from row cellSize - 1
// down, the plain value inside and in the columns from cellSize on.
void BevelTile(TileBuffer& tile, uint32_t value, int32_t cellSize);

// Every pixel value, with the 16 diagonal pixels (i, i) set to mark: the crossed
// cells of the copy games.
void CrossedTile(TileBuffer& tile, uint32_t value, uint32_t mark);

// A value no cell holds (its alpha is not 0xFF): the colour cache's start of a frame.
constexpr uint32_t kNoCellValue = 0x12133452u;

// One reusable tile picture: a 16 x 16 buffer and the texture made from it. It is
// repainted and uploaded only when asked for a value other than the one it shows.
class CellTile {
 public:
  // The white tile and its picture; false when no picture can be made.
  bool Create();
  // Forgets what the tile shows, so the next Paint uploads.
  void ResetCache() { shown_ = kNoCellValue; }
  // Shows value as a bevelled cell of cellSize pixels.
  void Paint(uint32_t value, int32_t cellSize);
  // Draws the tile's top-left width x height pixels with their top-left corner at (x, y):
  // blended at opacity, or copied opaque.
  void DrawBlended(int32_t width, int32_t height, int16_t x, int16_t y, float opacity);
  void DrawOpaque(int32_t width, int32_t height, int16_t x, int16_t y);

  TileBuffer& Pixels() { return pixels_; }
  KGraphic* Picture() { return picture_.get(); }

 private:
  TileBuffer pixels_{};
  std::unique_ptr<KGraphic> picture_;
  uint32_t shown_ = kNoCellValue;
  int32_t shownSize_ = 0;
};
