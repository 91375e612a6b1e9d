#include "app/Scanner.h"

#include <algorithm>

namespace {

// The answers, each with only what it says set.
ScanAnswer LeadTo(const Box& box) {
  ScanAnswer answer;
  answer.lead = box;
  return answer;
}

ScanAnswer Press(std::optional<Box> ring = std::nullopt) {
  ScanAnswer answer;
  answer.ring = ring;
  answer.press = true;
  return answer;
}

ScanAnswer Restarted() {
  ScanAnswer answer;
  answer.restart = true;
  return answer;
}

}  // namespace

Scanner::Scanner(int32_t stepMs) : stepMs_(std::max(stepMs, 0)) {}

std::vector<Box> Scanner::Items(const TargetList& targets) const {
  std::vector<Box> items;
  if (level_ == Level::Targets)
    for (const TargetArea& area : InReadingOrder(targets)) items.push_back(BoxOf(area));
  if (level_ == Level::Rows)
    for (int32_t row = 0; row < grid_.rows; ++row) items.push_back(RowOf(grid_, row));
  if (level_ == Level::Cells)
    for (int32_t column = 0; column < grid_.columns; ++column) items.push_back(CellOf(grid_, column, row_));
  return items;
}

void Scanner::Restart() {
  level_ = Level::Targets;
  index_ = -1;
  elapsedMs_ = 0;
}

ScanAnswer Scanner::Step(const TargetList& targets) {
  const std::vector<Box> items = Items(targets);
  elapsedMs_ = 0;
  if (items.empty()) {
    Restart();
    return {};
  }
  index_ = (index_ + 1) % static_cast<int32_t>(items.size());
  return LeadTo(items[static_cast<size_t>(index_)]);
}

ScanAnswer Scanner::Choose(const TargetList& targets) {
  if (index_ < 0) return {};
  elapsedMs_ = 0;
  if (level_ == Level::Targets) {
    const TargetList order = InReadingOrder(targets);
    if (index_ >= static_cast<int32_t>(order.size())) {
      Restart();
      return {};
    }
    grid_ = order[static_cast<size_t>(index_)];
    if (grid_.columns * grid_.rows == 1) return Press();
    level_ = Level::Rows;
    index_ = -1;
    return Step(targets);
  }
  if (level_ == Level::Rows) {
    row_ = index_;
    level_ = Level::Cells;
    index_ = -1;
    return Step(targets);
  }
  // A cell: clicked where the pointer is, and the ring goes round its grid.
  const TargetList order = InReadingOrder(targets);
  const auto grid = std::find_if(order.begin(), order.end(), [&](const TargetArea& a) { return BoxOf(a) == BoxOf(grid_); });
  level_ = Level::Targets;
  index_ = static_cast<int32_t>(grid - order.begin());
  return Press(BoxOf(grid_));
}

ScanAnswer Scanner::FollowScreen(const TargetList& targets, const Box& ring) {
  if (level_ != Level::Targets || index_ < 0) return {};
  const std::vector<Box> items = Items(targets);
  if (index_ < static_cast<int32_t>(items.size()) && items[static_cast<size_t>(index_)] == ring) return {};
  Restart();
  return Restarted();
}

ScanAnswer Scanner::Wait(const TargetList& targets, int32_t elapsedMs) {
  elapsedMs_ += elapsedMs;
  if (elapsedMs_ < stepMs_) return {};
  return Step(targets);
}
