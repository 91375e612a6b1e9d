#include "app/Navigation.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// A move off a cell is weighed by how far it goes ahead and, twice as much, how far aside.
constexpr int32_t kAsideWeight = 2;

std::vector<Box> AllCells(const TargetList& targets) {
  std::vector<Box> cells;
  for (const TargetArea& area : targets)
    for (int32_t row = 0; row < area.rows; ++row)
      for (int32_t column = 0; column < area.columns; ++column) cells.push_back(CellOf(area, column, row));
  return cells;
}

// The cell ahead of from in direction (dx, dy) that is nearest, counting sideways steps double.
std::optional<Box> CellToward(const TargetList& targets, const Box& from, int32_t dx, int32_t dy) {
  std::optional<Box> best;
  int64_t bestScore = std::numeric_limits<int64_t>::max();
  for (const Box& cell : AllCells(targets)) {
    const int32_t ahead = (cell.CentreX() - from.CentreX()) * dx + (cell.CentreY() - from.CentreY()) * dy;
    const int32_t aside = std::abs((cell.CentreX() - from.CentreX()) * dy + (cell.CentreY() - from.CentreY()) * dx);
    if (ahead <= 0) continue;
    const int64_t score = ahead + kAsideWeight * int64_t{aside};
    if (score < bestScore) {
      bestScore = score;
      best = cell;
    }
  }
  return best;
}

// Tab order: the targets in reading order, each entered at its first cell.
std::optional<Box> CellByTab(const TargetList& targets, const Box& from, bool backwards) {
  const TargetList order = InReadingOrder(targets);
  if (order.empty()) return std::nullopt;
  const auto size = static_cast<int32_t>(order.size());
  int32_t at = backwards ? 0 : -1;
  for (int32_t i = 0; i < size; ++i)
    if (BoxOf(order[static_cast<size_t>(i)]).Contains(from.CentreX(), from.CentreY())) at = i;
  const int32_t next = ((at + (backwards ? -1 : 1)) % size + size) % size;
  return CellOf(order[static_cast<size_t>(next)], 0, 0);
}

}  // namespace

Box BoxOf(const TargetArea& area) { return {area.x, area.y, area.width, area.height}; }

Box CellOf(const TargetArea& area, int32_t column, int32_t row) {
  const int32_t width = area.width / area.columns;
  const int32_t height = area.height / area.rows;
  return {area.x + column * width, area.y + row * height, width, height};
}

Box RowOf(const TargetArea& area, int32_t row) {
  const Box first = CellOf(area, 0, row);
  return {area.x, first.y, area.width, first.height};
}

// Found from the box's centre, without listing the cells.
bool IsCellOf(const TargetArea& area, const Box& box) {
  if (!BoxOf(area).Contains(box.CentreX(), box.CentreY())) return false;
  const int32_t column = (box.CentreX() - area.x) / (area.width / area.columns);
  const int32_t row = (box.CentreY() - area.y) / (area.height / area.rows);
  return CellOf(area, column, row) == box;
}

TargetList InReadingOrder(const TargetList& targets) {
  TargetList order = targets;
  std::stable_sort(order.begin(), order.end(),
                   [](const TargetArea& a, const TargetArea& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  return order;
}

std::optional<Box> CellForKey(const TargetList& targets, const KKeyPress& press, const Box& from) {
  switch (press.keyCode) {
    case KEY_LEFT: return CellToward(targets, from, -1, 0);
    case KEY_RIGHT: return CellToward(targets, from, 1, 0);
    case KEY_UP: return CellToward(targets, from, 0, -1);
    case KEY_DOWN: return CellToward(targets, from, 0, 1);
    case KEY_TAB: return CellByTab(targets, from, press.shift);
    default: return std::nullopt;
  }
}

std::optional<Box> FirstCell(const TargetList& targets, int32_t pointerX, int32_t pointerY) {
  for (const Box& cell : AllCells(targets))
    if (cell.Contains(pointerX, pointerY)) return cell;
  const TargetList order = InReadingOrder(targets);
  if (order.empty()) return std::nullopt;
  return CellOf(order.front(), 0, 0);
}

std::optional<Box> CellNearest(const TargetList& targets, int32_t x, int32_t y) {
  std::optional<Box> best;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (const Box& cell : AllCells(targets)) {
    if (cell.Contains(x, y)) return cell;
    const int64_t dx = cell.CentreX() - x;
    const int64_t dy = cell.CentreY() - y;
    if (dx * dx + dy * dy < bestDistance) {
      bestDistance = dx * dx + dy * dy;
      best = cell;
    }
  }
  return best;
}

std::optional<Box> DoorOf(const TargetList& targets) {
  for (const TargetArea& area : targets)
    if (area.door) return BoxOf(area);
  return std::nullopt;
}
