// Which picture and which canvas a screen works on.
#pragma once

#include <cstdint>

// Big is 50 x 40 cells, Small 15 x 15.
enum class CanvasSize { Big, Small };
// Game pictures are shipped with the game; Drawing pictures are the child's saved paintings.
enum class PictureKind { Game, Drawing };

constexpr int32_t kBigCanvasColumns = 50;
constexpr int32_t kBigCanvasRows = 40;
constexpr int32_t kSmallCanvasColumns = 15;
constexpr int32_t kSmallCanvasRows = 15;

// Columns and rows of a canvas, and of the pictures of its size.
constexpr int32_t CanvasColumns(CanvasSize size) {
  return size == CanvasSize::Big ? kBigCanvasColumns : kSmallCanvasColumns;
}
constexpr int32_t CanvasRows(CanvasSize size) { return size == CanvasSize::Big ? kBigCanvasRows : kSmallCanvasRows; }
