#include "studio/CanvasHistory.h"

#include <utility>

CanvasHistory::CanvasHistory(int32_t columns, int32_t rows) : columns_(columns), rows_(rows) {}

CanvasHistory::Canvas CanvasHistory::Copy(const CellGrid& grid) const {
  Canvas canvas;
  canvas.reserve(static_cast<size_t>(columns_ * rows_));
  for (int32_t column = 0; column < columns_; ++column)
    for (int32_t row = 0; row < rows_; ++row) canvas.push_back(grid.At(column, row));
  return canvas;
}

void CanvasHistory::Restore(const Canvas& canvas, CellGrid& grid) const {
  size_t at = 0;
  for (int32_t column = 0; column < columns_; ++column)
    for (int32_t row = 0; row < rows_; ++row) grid.At(column, row) = canvas[at++];
}

void CanvasHistory::BeginStep(const CellGrid& grid) {
  if (inStep_) EndStep(grid);
  before_ = Copy(grid);
  inStep_ = true;
}

void CanvasHistory::EndStep(const CellGrid& grid) {
  if (!inStep_) return;
  inStep_ = false;
  if (Copy(grid) == before_) return;
  undo_.push_back(std::move(before_));
  if (undo_.size() > kMostSteps) undo_.pop_front();
  redo_.clear();
}

bool CanvasHistory::Exchange(std::deque<Canvas>& from, std::deque<Canvas>& to, CellGrid& grid) {
  if (from.empty()) return false;
  to.push_back(Copy(grid));
  Restore(from.back(), grid);
  from.pop_back();
  return true;
}

bool CanvasHistory::Undo(CellGrid& grid) { return Exchange(undo_, redo_, grid); }

bool CanvasHistory::Redo(CellGrid& grid) { return Exchange(redo_, undo_, grid); }
