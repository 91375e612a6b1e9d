#include <gtest/gtest.h>

#include "app/Frame.h"
#include "puzzles/CopyGames.h"

namespace {

TEST(CopyGames, CellsUnderThePointerLeaveOutTheBoardsOuterEdges) {
  EXPECT_FALSE(CopyPictureCellAt(122, 200));
  EXPECT_EQ(CopyPictureCellAt(123, 162), (CopyCell{0, 0}));
  EXPECT_EQ(CopyPictureCellAt(346, 385), (CopyCell{14, 14}));
  EXPECT_FALSE(CopyPictureCellAt(347, 200));
  EXPECT_FALSE(CopyPictureCellAt(200, 161));
  EXPECT_FALSE(CopyPictureCellAt(200, 386));
  EXPECT_EQ(CopyBoardCellAt(389, 176), (CopyCell{1, 1}));
  EXPECT_EQ(CopyBoardCellAt(388, 175), (CopyCell{0, 0}));
  EXPECT_FALSE(CopyBoardCellAt(374, 200));
  EXPECT_FALSE(CopyBoardCellAt(599, 200));
  EXPECT_FALSE(CopyBoardCellAt(300, 200));
}

TEST(CopyGames, TheCursorIsThePickerOverThePictureAndTheToolOverTheBoard) {
  int32_t cursor = kCursorArrow;
  ChooseCopyCursor(cursor, kCursorPen, 60, 60);
  EXPECT_EQ(cursor, kCursorArrow);
  ChooseCopyCursor(cursor, kCursorPen, 200, 200);
  EXPECT_EQ(cursor, kCursorPicker);
  ChooseCopyCursor(cursor, kCursorPen, 500, 200);
  EXPECT_EQ(cursor, kCursorPen);
  ChooseCopyCursor(cursor, kCursorBucket, 500, 200);
  EXPECT_EQ(cursor, kCursorBucket);
}

}  // namespace
