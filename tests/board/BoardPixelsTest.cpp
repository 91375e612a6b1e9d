#include <gtest/gtest.h>

#include <random>

#include "board/BoardPicture.h"
#include "board/CellColours.h"

namespace {

// The board as drawing it cell by cell paints it: for each row from the top and each
// column from the left, the tile of the cell, its top-left cellWidth x cellSize pixels
// placed cellSize apart, later cells covering earlier ones.
std::vector<uint32_t> CellByCell(const std::vector<uint32_t>& values, int columns, int rows, int size, int width,
                                 TilePainter painter) {
  const int boardWidth = columns * size + width - size;
  std::vector<uint32_t> canvas(static_cast<size_t>(boardWidth * rows * size), 0);
  TileBuffer tile;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      painter(tile, values[static_cast<size_t>(r * columns + c)], size);
      for (int j = 0; j < size; ++j)
        for (int i = 0; i < width; ++i)
          canvas[static_cast<size_t>((r * size + j) * boardWidth + c * size + i)] = tile[static_cast<size_t>(j * 16 + i)];
    }
  }
  return canvas;
}

void ExpectSamePixels(const BoardPixels& board, const std::vector<uint32_t>& expected, const char* what) {
  ASSERT_EQ(static_cast<size_t>(board.Width() * board.Height()), expected.size()) << what;
  for (int y = 0; y < board.Height(); ++y)
    for (int x = 0; x < board.Width(); ++x)
      ASSERT_EQ(board.Pixel(x, y), expected[static_cast<size_t>(y * board.Width() + x)]) << what << " " << x << "," << y;
}

void MarkedTile(TileBuffer& tile, uint32_t value, int32_t size) {
  if ((value >> 24) == kWrongCellMark)
    CrossedTile(tile, value, 0xFF0000EEu);
  else
    BevelTile(tile, value, size);
}

struct Layout {
  const char* name;
  int columns, rows, size, width;
  TilePainter painter;
};

// Swap and slide boards, copy-game boards with their covered sixteenth column, the
// painting canvases with their eleventh, and a marking painter.
const Layout kLayouts[] = {
    {"puzzle board", 50, 40, 10, 10, BevelTile}, {"copy board", 15, 15, 15, 16, BevelTile},
    {"big canvas", 50, 40, 10, 11, BevelTile},   {"small canvas", 15, 15, 15, 16, BevelTile},
    {"marked board", 15, 15, 15, 16, MarkedTile},
};

TEST(BoardPixels, ComposedBoardsEqualTheCellByCellDrawingAsCellsChange) {
  std::mt19937 random(42);
  const uint32_t palette[5] = {kWhite, kBlack, 0xFF0000FFu, 0xFD00FF00u, 0xFF336699u};
  for (const Layout& layout : kLayouts) {
    BoardPixels board;
    ASSERT_TRUE(board.Create(layout.columns, layout.rows, layout.size, layout.width, layout.painter));
    EXPECT_EQ(board.Width(), layout.columns * layout.size + layout.width - layout.size);
    EXPECT_EQ(board.Height(), layout.rows * layout.size);
    std::vector<uint32_t> values(static_cast<size_t>(layout.columns * layout.rows));
    for (int round = 0; round < 6; ++round) {
      // Whole new boards first, then a few cells at a time.
      const size_t changes = round < 2 ? values.size() : 1 + random() % 20;
      for (size_t k = 0; k < changes; ++k) {
        const size_t i = round < 2 ? k : random() % values.size();
        values[i] = round == 1 ? (kOpaque | (random() & 0xFFFFFF)) : palette[random() % 5];
        board.SetCell(static_cast<int>(i) % layout.columns, static_cast<int>(i) / layout.columns, values[i]);
      }
      EXPECT_TRUE(board.TakeChanges());
      ExpectSamePixels(board, CellByCell(values, layout.columns, layout.rows, layout.size, layout.width, layout.painter),
                       layout.name);
    }
    board.SetCell(0, 0, values[0]);
    EXPECT_FALSE(board.TakeChanges()) << "setting a cell to what it shows changes nothing";
  }
}

TEST(BoardPixels, GridsAndCopyBoardsAreShownInTheirOwnIndexing) {
  CellGrid grid;
  for (int c = 0; c < kGridColumns; ++c)
    for (int r = 0; r < kGridRows; ++r) grid.At(c, r) = kOpaque | static_cast<uint32_t>(c << 8 | r);
  BoardPixels board;
  ASSERT_TRUE(board.Create(50, 40, 10, 10));
  board.ShowGrid(grid);
  std::vector<uint32_t> values(2000);
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 50; ++c) values[static_cast<size_t>(r * 50 + c)] = grid.At(c, r);
  ExpectSamePixels(board, CellByCell(values, 50, 40, 10, 10, BevelTile), "grid");

  CopyBoard copy;
  for (int x = 0; x < 15; ++x)
    for (int y = 0; y < 15; ++y) copy.At(x, y) = kOpaque | static_cast<uint32_t>(x << 16 | y);
  ASSERT_TRUE(board.Create(15, 15, 15, 16));
  board.ShowCopyBoard(copy);
  values.assign(225, 0);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) values[static_cast<size_t>(y * 15 + x)] = copy.At(x, y);
  ExpectSamePixels(board, CellByCell(values, 15, 15, 15, 16, BevelTile), "copy board");
}

TEST(BoardPixels, ImpossibleLayoutsAndCellsOffTheBoardAreRefused) {
  BoardPixels board;
  EXPECT_FALSE(board.Create(0, 40, 10, 10));
  EXPECT_FALSE(board.Create(50, 40, 17, 17));
  EXPECT_FALSE(board.Create(50, 40, 10, 9));
  EXPECT_FALSE(board.Create(50, 40, 10, 17));
  EXPECT_FALSE(board.Create(50, 40, 10, 10, nullptr));
  EXPECT_EQ(board.Width(), 0);
  ASSERT_TRUE(board.Create(3, 2, 10, 11));
  board.TakeChanges();
  board.SetCell(3, 0, kBlack);
  board.SetCell(0, -1, kBlack);
  board.SetCell(0, 2, kBlack);
  EXPECT_FALSE(board.TakeChanges());
}

}  // namespace
