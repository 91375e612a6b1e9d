// The copy games' rules: the template a copy-colours round starts from, and the rows a
// copy-drawing round gives, on a picture with a known colour.
#include <gtest/gtest.h>

#include <cstdint>

#include "board/CopyBoard.h"
#include "board/PictureBuffer.h"
#include "puzzles/CopyRules.h"

namespace {

// 0xAABBGGRR: red 40, green 100, blue 200, opaque.
constexpr uint32_t kPictureCell = 0xFFC86428u;

void FillPicture() {
  for (int32_t x = 0; x < 15; ++x)
    for (int32_t y = 0; y < 15; ++y) PictureBuffer.At(x, y) = kPictureCell;
}

TEST(CopyRules, TheColouringTemplateIsLiftedOnEasyAndMediumAndGreyAndMarkedOnHard) {
  FillPicture();
  struct Case {
    Difficulty difficulty;
    uint32_t cell;
  };
  // Lifted by 170 (green and blue held at 255) and by 100 (blue held); grey 0.299 R + 0.587 G + 0.114 B = 93.
  const Case cases[] = {{1, 0xFFFFFFD2u}, {2, 0xFFFFC88Cu}, {3, 0xFC5D5D5Du}};
  for (const Case& c : cases) {
    CopyBoard board{};
    MakeColouringTemplate(board, c.difficulty);
    EXPECT_EQ(board.At(0, 0), c.cell) << c.difficulty;
    EXPECT_EQ(board.At(14, 14), c.cell) << c.difficulty;
  }
}

TEST(CopyRules, CopyDrawingGivesThreeRowsOfEveryFourOnEasyThreeOfEverySixOnMediumAndNoneOnHard) {
  FillPicture();
  struct Case {
    Difficulty difficulty;
    const char* given;  // row by row, 'g' given
  };
  const Case cases[] = {
      {1, "ggg-ggg-ggg-ggg"},
      {2, "ggg---ggg---ggg"},
      {3, "---------------"},
  };
  for (const Case& c : cases) {
    CopyBoard board{};
    CopyGivenRows(board, c.difficulty);
    for (int32_t y = 0; y < 15; ++y) {
      const bool given = c.given[y] == 'g';
      EXPECT_EQ(IsGivenRow(y, c.difficulty), given) << c.difficulty << " row " << y;
      EXPECT_EQ(board.At(7, y), given ? kPictureCell : 0u) << c.difficulty << " row " << y;
    }
  }
}

}  // namespace
