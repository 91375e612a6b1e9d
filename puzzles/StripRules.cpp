#include "puzzles/StripRules.h"

#include <algorithm>

#include "services/KRandom.h"

namespace {

// A whole number below n from a 15-bit random value, as every random choice of the game.
int32_t RandomIndexBelow(int32_t n) {
  return static_cast<int32_t>(static_cast<double>(n) * Random15() / KRANDOM_RANGE);
}

// An even shift from -ringWidth + 2 to ringWidth - 4 other than 0. The formula also gives
// -ringWidth and -ringWidth - 2 (the last for a random value of 0); neither keeps the strip
// on the ring, so those are drawn again like 0.
int32_t RandomShift(int32_t ringWidth) {
  const int32_t half = ringWidth / 2;
  while (true) {
    const double scaled = static_cast<double>(Random15()) / KRANDOM_RANGE * (2 * half) - 1;
    const int32_t v = 2 * static_cast<int32_t>(scaled) - ringWidth;
    if (v % ringWidth != 0 && v > -ringWidth) return v;
  }
}

}  // namespace

void ShuffleStrips(std::span<int32_t> order, int32_t exchanges) {
  if (order.size() < 2) return;
  const auto neighbours = static_cast<int32_t>(order.size()) - 1;
  for (int32_t i = 0; i < exchanges; ++i) {
    const int32_t j = RandomIndexBelow(neighbours);
    std::swap(order[static_cast<size_t>(j)], order[static_cast<size_t>(j) + 1]);
  }
}

bool IsOrderSolved(const StripOrder& order) {
  for (int32_t s = 0; s < kStripCount; ++s)
    if (order[static_cast<size_t>(s)] != s) return false;
  return true;
}

void DisplaceStrips(std::span<int32_t> offsets, int32_t strips, int32_t ringWidth) {
  std::fill(offsets.begin(), offsets.end(), 0);
  if (offsets.size() < 2 || ringWidth < 4) return;
  const auto movable = static_cast<int32_t>(offsets.size()) - 1;
  for (int32_t displaced = 0; displaced < std::min(strips, movable);) {
    int32_t& offset = offsets[static_cast<size_t>(RandomIndexBelow(movable))];
    if (offset != 0) continue;
    offset = RandomShift(ringWidth);
    ++displaced;
  }
}

bool AreOffsetsSolved(const StripOffsets& offsets) {
  return std::all_of(offsets.begin(), offsets.end(), [](int32_t offset) { return offset == 0; });
}

int32_t StepOffset(int32_t offset, SlideDirection direction, int32_t ringWidth) {
  if (direction == SlideDirection::Right) {
    offset += kSlideStepCells;
    if (offset >= ringWidth) offset -= ringWidth;
  } else if (direction == SlideDirection::Left) {
    offset -= kSlideStepCells;
    if (offset <= -ringWidth) offset += ringWidth;
  }
  return offset;
}

int32_t ShiftedColumn(int32_t x, int32_t offset, int32_t ringWidth) {
  const int32_t c = x + offset;
  if (c > ringWidth - 1) return c - ringWidth;
  if (c < 0) return c + ringWidth;
  return c;
}
