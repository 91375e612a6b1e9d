// The rules of the two strip puzzles: a big picture cut into four strips of ten rows that
// are either put out of order (swap) or shifted sideways round a ring (slide).
#pragma once

#include <array>
#include <cstdint>
#include <span>

constexpr int32_t kStripCount = 4;
constexpr int32_t kStripRows = 10;

// Entry s is the picture strip shown in screen strip s (0 at the top).
using StripOrder = std::array<int32_t, kStripCount>;
// Entry s is how many cells screen strip s is shifted to the right: even, -49 to 49.
using StripOffsets = std::array<int32_t, kStripCount>;

// exchanges times, exchanges two neighbouring entries chosen at random.
void ShuffleStrips(std::span<int32_t> order, int32_t exchanges);
// Every strip is in its own place.
bool IsOrderSolved(const StripOrder& order);

// Sets every offset to 0, then shifts strips (at most all but the last entry, which never
// moves) by an even, non-zero number of cells that stays within the ring of ringWidth cells.
void DisplaceStrips(std::span<int32_t> offsets, int32_t strips, int32_t ringWidth);
// Every offset is 0.
bool AreOffsetsSolved(const StripOffsets& offsets);

enum class SlideDirection { None, Left, Right };
// A slide moves a strip this many cells.
constexpr int32_t kSlideStepCells = 2;
// The offset after one step in that direction, kept within the ring of ringWidth cells.
int32_t StepOffset(int32_t offset, SlideDirection direction, int32_t ringWidth);
// The screen column (0 to ringWidth - 1) that shows picture column x at that offset.
int32_t ShiftedColumn(int32_t x, int32_t offset, int32_t ringWidth);
