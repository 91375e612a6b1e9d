// Undo and redo on a canvas: steps taken back and done again in order, the hundred kept.
#include <gtest/gtest.h>

#include <cstdint>

#include "board/PictureBuffer.h"
#include "studio/CanvasHistory.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kInk = 0xFF000000u;

// One step on a 15 x 15 canvas: the cell (step % 15, step / 15) painted.
void PaintStep(CanvasHistory& history, CellGrid& grid, int32_t step) {
  history.BeginStep(grid);
  grid.At(step % 15, step / 15) = kInk;
  history.EndStep(grid);
}

bool Painted(const CellGrid& grid, int32_t step) { return grid.At(step % 15, step / 15) == kInk; }

TEST(CanvasHistory, StepsAreUndoneAndRedoneInOrderAndANewStepForgetsWhatWasUndone) {
  CellGrid grid;
  grid.cells.fill(kWhite);
  CanvasHistory history(15, 15);
  EXPECT_FALSE(history.Undo(grid));

  PaintStep(history, grid, 0);
  PaintStep(history, grid, 1);
  // A press that changed nothing is no step.
  history.BeginStep(grid);
  history.EndStep(grid);
  ASSERT_TRUE(history.Undo(grid));
  EXPECT_TRUE(Painted(grid, 0));
  EXPECT_FALSE(Painted(grid, 1));
  ASSERT_TRUE(history.Undo(grid));
  EXPECT_FALSE(Painted(grid, 0));
  EXPECT_FALSE(history.CanUndo());
  ASSERT_TRUE(history.Redo(grid));
  EXPECT_TRUE(Painted(grid, 0) && !Painted(grid, 1));
  EXPECT_TRUE(history.CanRedo());

  PaintStep(history, grid, 2);
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo(grid));
}

TEST(CanvasHistory, KeepsAHundredStepsAndForgetsTheFirstOfAHundredAndOne) {
  CellGrid grid;
  grid.cells.fill(kWhite);
  CanvasHistory history(15, 15);
  for (int32_t step = 0; step < 101; ++step) PaintStep(history, grid, step);
  int32_t undone = 0;
  while (history.Undo(grid)) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_TRUE(Painted(grid, 0));
  EXPECT_FALSE(Painted(grid, 1));
  EXPECT_FALSE(Painted(grid, 100));
}

}  // namespace
