// The bevelled tile through which every board and canvas cell is drawn.
#pragma once

#include <array>
#include <cstdint>
#include <span>

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
