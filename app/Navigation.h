// Where the keys take the ring among the frame's targets: the nearest cell in an arrow's
// direction, the next target in reading order for Tab, the cell under the pointer where the
// game starts leading, the nearest cell when the one it was on has gone. Only answers: the
// driver (Targets.cpp) moves the pointer and presses.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "input/KControls.h"

// A button (one cell) or a grid of columns x rows equal cells, in screen pixels.
struct TargetArea {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t columns = 1;
  int32_t rows = 1;
  bool door = false;     // the way out of the screen
  bool waiting = false;  // clicked, and waiting for its click sound to end
};

// A rectangle that can carry the ring: a cell, a row of a grid, a whole target.
struct Box {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t CentreX() const { return x + width / 2; }
  int32_t CentreY() const { return y + height / 2; }
  bool Contains(int32_t px, int32_t py) const { return x < px && px < x + width && y < py && py < y + height; }
  bool operator==(const Box&) const = default;
};

using TargetList = std::vector<TargetArea>;

Box BoxOf(const TargetArea& area);
Box CellOf(const TargetArea& area, int32_t column, int32_t row);
Box RowOf(const TargetArea& area, int32_t row);
// Whether box is one of the area's cells.
bool IsCellOf(const TargetArea& area, const Box& box);
// The targets sorted top to bottom, then left to right.
TargetList InReadingOrder(const TargetList& targets);

// Where an arrow or Tab press takes the ring from the cell it is on; nothing for other keys.
std::optional<Box> CellForKey(const TargetList& targets, const KKeyPress& press, const Box& from);
// Where the game starts leading: the cell under the pointer, else the first in reading order.
std::optional<Box> FirstCell(const TargetList& targets, int32_t pointerX, int32_t pointerY);
// The cell under the point, or else the nearest one.
std::optional<Box> CellNearest(const TargetList& targets, int32_t x, int32_t y);
// The screen's exit door, when it has one.
std::optional<Box> DoorOf(const TargetList& targets);
