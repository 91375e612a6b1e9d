#include <gtest/gtest.h>

#include "board/CellColours.h"
#include "board/CellTile.h"
#include "board/PictureBuffer.h"

namespace {

uint32_t TilePixel(const TileBuffer& tile, int c, int r) { return tile[static_cast<size_t>(r * kTileSide + c)]; }

TEST(CellColours, ChannelsClampAndKeepTheirAlpha) {
  EXPECT_EQ(ClampChannel(255.5), 255u);
  EXPECT_EQ(ClampChannel(254.99), 254u);
  EXPECT_EQ(ClampChannel(0.0), 0u);
  EXPECT_EQ(ClampChannel(-0.5), 0u);
  EXPECT_EQ(ColourLift(0xFF102030u, 170), 0xFFBACADAu);
  EXPECT_EQ(ColourLift(kWhite, 170), kWhite);
  EXPECT_EQ(ColourLift(0xFD102030u, 100), 0xFD748494u);
  EXPECT_EQ(ColourGrey(kWhite), kWhite);
  EXPECT_EQ(ColourGrey(0xFF0000FFu), 0xFF4C4C4Cu);
  EXPECT_EQ(ColourGrey(0x12000000u), 0x12000000u);
  EXPECT_EQ(ColourDarken(kWhite, 1.3), 0xFFC4C4C4u);
  EXPECT_EQ(ColourBrighten(0x80644B32u, 1.3), 0x80826141u);
  EXPECT_EQ(ColourBrighten(kWhite, 1.3), kWhite);
}

TEST(CellTiles, BevelOfWhiteAtSizeTenHasLightTopAndRightAndDarkLeftAndBottom) {
  TileBuffer tile;
  BevelTile(tile, kWhite, 10);
  const uint32_t dark = 0xFFC4C4C4u;  // 196 = trunc(255 / 1.3)
  for (int c = 0; c < kTileSide; ++c) {
    for (int r = 0; r < kTileSide; ++r) {
      const bool isDark = r >= 9 || c == 0;
      EXPECT_EQ(TilePixel(tile, c, r), isDark ? dark : kWhite) << c << "," << r;
    }
  }
}

TEST(CellTiles, BevelOfAColourFollowsTheFirstRuleThatApplies) {
  const uint32_t v = 0xFF204060u;
  const uint32_t light = ColourBrighten(v, 1.3);
  const uint32_t dark = ColourDarken(v, 1.3);
  ASSERT_NE(light, v);
  ASSERT_NE(dark, v);
  TileBuffer tile;
  BevelTile(tile, v, 15);
  EXPECT_EQ(TilePixel(tile, 0, 0), dark);     // left edge wins over the top edge
  EXPECT_EQ(TilePixel(tile, 14, 14), dark);   // bottom row wins over the right edge
  EXPECT_EQ(TilePixel(tile, 14, 0), light);   // right edge
  EXPECT_EQ(TilePixel(tile, 14, 13), light);
  EXPECT_EQ(TilePixel(tile, 7, 0), light);    // top edge
  EXPECT_EQ(TilePixel(tile, 7, 7), v);        // inside
  EXPECT_EQ(TilePixel(tile, 15, 7), v);       // the column the next cell paints over
  EXPECT_EQ(TilePixel(tile, 15, 0), light);   // its top pixel is still on the top row
  EXPECT_EQ(TilePixel(tile, 15, 15), dark);   // rows below the cell are dark
}

TEST(CellTiles, FillWhiteCoversTheFirstNSquaredEntriesOnly) {
  std::array<uint32_t, 128 * 128> swatch{};
  FillWhite(swatch, 67);
  EXPECT_EQ(swatch[67 * 67 - 1], kWhite);
  EXPECT_EQ(swatch[67 * 67], 0u);
  std::array<uint32_t, 10> small{};
  FillWhite(small, 16);  // never past the end of the buffer
  EXPECT_EQ(small[9], kWhite);
  TileBuffer tile{};
  FillWhite(tile, 16);
  EXPECT_EQ(tile[255], kWhite);
}

TEST(CellTiles, CrossedTileIsTheValueWithAMarkedDiagonal) {
  TileBuffer tile;
  CrossedTile(tile, 0xFD00FF00u, 0xFF0000EEu);
  for (int c = 0; c < kTileSide; ++c)
    for (int r = 0; r < kTileSide; ++r)
      EXPECT_EQ(TilePixel(tile, c, r), c == r ? 0xFF0000EEu : 0xFD00FF00u) << c << "," << r;
}

}  // namespace
