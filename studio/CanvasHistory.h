// What the child did on a studio's canvas, step by step, so that a step can be taken back
// (undo) and done again (redo). A step is everything one press changed: a whole pen or
// eraser stroke, a bucket fill, a painting taken from the gallery. A press that changed no
// cell is no step. The history keeps a copy of the canvas from before each step, the last
// kMostSteps of them, and forgets them all when the studio closes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "board/PictureBuffer.h"

class CanvasHistory {
 public:
  static constexpr size_t kMostSteps = 100;

  // The canvas is the top-left columns x rows region of the grid.
  CanvasHistory(int32_t columns, int32_t rows);

  // Remembers the canvas as it is before a step that may change it; a step already begun
  // is ended first.
  void BeginStep(const CellGrid& grid);
  // Ends the step begun: when it changed the canvas it can be undone, and what was undone
  // before it can no longer be done again.
  void EndStep(const CellGrid& grid);
  bool InStep() const { return inStep_; }

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Puts the canvas back as it was before the last step; false when there is none.
  bool Undo(CellGrid& grid);
  // Does the last step undone again; false when there is none.
  bool Redo(CellGrid& grid);

 private:
  using Canvas = std::vector<uint32_t>;

  Canvas Copy(const CellGrid& grid) const;
  void Restore(const Canvas& canvas, CellGrid& grid) const;
  // Moves the canvas shown onto one list and the top of the other onto the canvas.
  bool Exchange(std::deque<Canvas>& from, std::deque<Canvas>& to, CellGrid& grid);

  int32_t columns_;
  int32_t rows_;
  bool inStep_ = false;
  Canvas before_;
  std::deque<Canvas> undo_;
  std::deque<Canvas> redo_;
};
