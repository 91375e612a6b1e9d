#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "studio/ColourPalette.h"
#include "studio/PaintTools.h"
#include "studio/PictureBuffer.h"

namespace {

using Cells = std::vector<std::pair<int32_t, int32_t>>;

Cells CellsOf(uint32_t colour) {
  Cells cells;
  for (int32_t row = 0; row < kGridRows; ++row)
    for (int32_t column = 0; column < kGridColumns; ++column)
      if (PictureBuffer.At(column, row) == colour) cells.emplace_back(column, row);
  return cells;
}

TEST(ColourPalette, HoldsOneHundredAndThirtyThreeDifferentOpaqueColours) {
  const std::set<uint32_t> distinct(ColourPalette.begin(), ColourPalette.end());
  EXPECT_EQ(distinct.size(), 133u);
  for (const uint32_t colour : ColourPalette) EXPECT_EQ(colour >> 24, 0xFFu);
  EXPECT_EQ(PaletteColour({0, 18}), kWhite);
  EXPECT_EQ(PaletteColour(kStartingEntry), kBlack);
  EXPECT_EQ(PaletteColour({0, 0}), 0xFFD1F9FEu);
  EXPECT_EQ(PaletteColour({6, 16}), 0xFF000461u);
  EXPECT_EQ(PaletteColour({6, 18}), 0xFF808080u);
}

TEST(ColourPalette, SwatchesAreHitStrictlyInsideThePalette) {
  EXPECT_FALSE(PaletteEntryAt(11, 100));
  EXPECT_EQ(PaletteEntryAt(12, 100), (PaletteEntry{0, 4}));
  EXPECT_EQ(PaletteEntryAt(115, 100), (PaletteEntry{6, 4}));
  EXPECT_FALSE(PaletteEntryAt(116, 100));
  EXPECT_FALSE(PaletteEntryAt(50, 39));
  EXPECT_EQ(PaletteEntryAt(50, 40), (PaletteEntry{2, 0}));
  EXPECT_EQ(PaletteEntryAt(50, 323), (PaletteEntry{2, 18}));
  EXPECT_FALSE(PaletteEntryAt(50, 324));
  EXPECT_EQ(PaletteEntryAt(26, 54), (PaletteEntry{1, 1}));
}

TEST(ColourPalette, FindsTheEntryOfAColourOrNone) {
  for (int32_t column = 0; column < kPaletteColumns; ++column)
    for (int32_t row = 0; row < kPaletteRows; ++row)
      EXPECT_EQ(FindPaletteColour(PaletteColour({column, row})), (PaletteEntry{column, row}));
  EXPECT_FALSE(FindPaletteColour(0xFF123456u));
  EXPECT_FALSE(FindPaletteColour(0x00000000u));
}

TEST(StrokeLine, FlatAndSteepLinesHaveACellInEveryColumnAndRowEitherWay) {
  ClearPictureBuffer();
  StrokeLine(0, 0, 14, 3, kBlack);
  Cells expected;
  for (int32_t c = 0; c <= 4; ++c) expected.emplace_back(c, 0);
  for (int32_t c = 4; c <= 9; ++c) expected.emplace_back(c, 1);
  for (int32_t c = 9; c <= 13; ++c) expected.emplace_back(c, 2);
  expected.emplace_back(14, 3);
  EXPECT_EQ(CellsOf(kBlack), expected);

  ClearPictureBuffer();
  StrokeLine(14, 3, 0, 0, kBlack);
  expected = {{0, 0}};
  for (int32_t c = 1; c <= 5; ++c) expected.emplace_back(c, 1);
  for (int32_t c = 5; c <= 10; ++c) expected.emplace_back(c, 2);
  for (int32_t c = 10; c <= 14; ++c) expected.emplace_back(c, 3);
  EXPECT_EQ(CellsOf(kBlack), expected);

  ClearPictureBuffer();
  StrokeLine(49, 0, 48, 39, kBlack);
  const Cells steep = CellsOf(kBlack);
  std::set<int32_t> rows;
  for (const auto& [column, row] : steep) {
    EXPECT_TRUE(column == 48 || column == 49);
    rows.insert(row);
  }
  EXPECT_EQ(rows.size(), 40u);

  ClearPictureBuffer();
  StrokeLine(7, 9, 7, 9, kBlack);
  EXPECT_EQ(CellsOf(kBlack), (Cells{{7, 9}}));
}

TEST(BucketFill, FillsTheWholeBigCanvasAndStopsAtItsLimits) {
  ClearPictureBuffer();
  BucketFill(25, 20, kBlack, 50, 40);
  EXPECT_EQ(CellsOf(kBlack).size(), 2000u);

  ClearPictureBuffer();
  BucketFill(3, 3, kBlack, 15, 15);
  const Cells small = CellsOf(kBlack);
  EXPECT_EQ(small.size(), 225u);
  for (const auto& [column, row] : small) EXPECT_TRUE(column < 15 && row < 15);

  BucketFill(3, 3, kBlack, 15, 15);
  EXPECT_EQ(CellsOf(kBlack).size(), 225u);
  BucketFill(20, 3, kBlack, 15, 15);
  EXPECT_EQ(CellsOf(kBlack).size(), 225u);
}

TEST(BucketFill, AWindingOneCellCorridorIsFilledEndToEnd) {
  // Black walls on every other row, each with a gap at alternate ends: a corridor of
  // white that winds through the whole canvas.
  ClearPictureBuffer();
  for (int32_t row = 1; row < kGridRows; row += 2)
    for (int32_t column = 0; column < kGridColumns; ++column)
      if (column != ((row / 2) % 2 == 0 ? kGridColumns - 1 : 0)) PictureBuffer.At(column, row) = kBlack;
  const size_t corridor = CellsOf(kWhite).size();
  const uint32_t red = 0xFF0000FFu;
  BucketFill(0, 0, red, kGridColumns, kGridRows);
  EXPECT_EQ(CellsOf(red).size(), corridor);
  EXPECT_TRUE(CellsOf(kWhite).empty());
}

}  // namespace
