#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "studio/ColourPalette.h"
#include "studio/PaintTools.h"
#include "board/PictureBuffer.h"

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
  // Row by row, columns 0 to 6.
  constexpr uint32_t kColours[19][7] = {
      {0xFFD1F9FEu, 0xFFA3F3FEu, 0xFF6FEEFDu, 0xFF41E8FDu, 0xFF17DFFCu, 0xFF00C3DDu, 0xFF00A5C0u},
      {0xFFD0F1FFu, 0xFFA1E2FEu, 0xFF72D3FEu, 0xFF43C4FDu, 0xFF14B5FCu, 0xFF0092D9u, 0xFF006FB6u},
      {0xFFCAE1FFu, 0xFF99C2FFu, 0xFF66A3FFu, 0xFF3285FFu, 0xFF0065FFu, 0xFF0049E1u, 0xFF00099Du},
      {0xFFD6D5FCu, 0xFFABABF9u, 0xFF817FF6u, 0xFF5655F3u, 0xFF2F2BEFu, 0xFF0F0DD1u, 0xFF0100AEu},
      {0xFFDBD8F1u, 0xFFB4B1E3u, 0xFF9089D4u, 0xFF6D62C3u, 0xFF4436BAu, 0xFF261999u, 0xFF010175u},
      {0xFFDFCBF8u, 0xFFB899EEu, 0xFF9B66E5u, 0xFF7833DAu, 0xFF5400D3u, 0xFF3800B5u, 0xFF160091u},
      {0xFFF2D6F3u, 0xFFDEABE7u, 0xFFD684D6u, 0xFFC459CDu, 0xFFB431BEu, 0xFF9812A2u, 0xFF760080u},
      {0xFFEECEE1u, 0xFFDC9BC2u, 0xFFC96BA2u, 0xFFB83885u, 0xFFA30569u, 0xFF860048u, 0xFF660024u},
      {0xFFE7D2D0u, 0xFFD2A49Du, 0xFFBC776Eu, 0xFFA2483Du, 0xFF8D1C0Cu, 0xFF6E0000u, 0xFF520001u},
      {0xFFF1DCCDu, 0xFFE5BB96u, 0xFFDA956Au, 0xFFC67433u, 0xFFB85200u, 0xFFA03202u, 0xFF781100u},
      {0xFFF4E9CEu, 0xFFE9D399u, 0xFFE0BE65u, 0xFFD3A732u, 0xFFC69100u, 0xFFAA7300u, 0xFF855000u},
      {0xFFDFE5CCu, 0xFFBCCB98u, 0xFF9CB067u, 0xFF7A9633u, 0xFF587D00u, 0xFF3A5E00u, 0xFF153A02u},
      {0xFFCFEADAu, 0xFFA3D3B7u, 0xFF75BD93u, 0xFF46A76Fu, 0xFF15904Du, 0xFF00732Du, 0xFF024E0Cu},
      {0xFFD0EAE4u, 0xFF99D4C6u, 0xFF67BEAAu, 0xFF32A98Du, 0xFF019370u, 0xFF007453u, 0xFF03532Cu},
      {0xFFD6DFE3u, 0xFFA8B7C7u, 0xFF7D9FACu, 0xFF527E8Fu, 0xFF245F73u, 0xFF094055u, 0xFF001E31u},
      {0xFFD1DBE2u, 0xFFA0B4C6u, 0xFF708FA8u, 0xFF43688Eu, 0xFF14436Fu, 0xFF002452u, 0xFF000131u},
      {0xFFCCDAECu, 0xFF9AB4DCu, 0xFF668EC8u, 0xFF3569B6u, 0xFF0046A1u, 0xFF002686u, 0xFF000461u},
      {0xFF8D8F90u, 0xFF767879u, 0xFF606263u, 0xFF404243u, 0xFF333536u, 0xFF0E0D0Fu, 0xFF000000u},
      {0xFFFFFFFFu, 0xFFE9E9E9u, 0xFFD2D2D2u, 0xFFBCBCBCu, 0xFFA3A5A6u, 0xFF8D8D8Du, 0xFF808080u},
  };
  for (int32_t row = 0; row < kPaletteRows; ++row)
    for (int32_t column = 0; column < kPaletteColumns; ++column)
      EXPECT_EQ(PaletteColour({column, row}), kColours[row][column]) << column << ", " << row;
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
