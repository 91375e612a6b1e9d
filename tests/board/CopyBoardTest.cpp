#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "board/CopyBoard.h"
#include "board/PictureBuffer.h"

namespace {

constexpr uint32_t kRed = 0xFF0000FFu;
using Cells = std::set<std::pair<int, int>>;

CopyBoard WhiteBoard() {
  CopyBoard board;
  board.cells.fill(kWhite);
  return board;
}

Cells CellsOf(const CopyBoard& board, uint32_t value) {
  Cells cells;
  for (int x = 0; x < kCopySide; ++x)
    for (int y = 0; y < kCopySide; ++y)
      if (board.At(x, y) == value) cells.insert({x, y});
  return cells;
}

Cells Span(int x0, int x1, int y) {
  Cells cells;
  for (int x = x0; x <= x1; ++x) cells.insert({x, y});
  return cells;
}

Cells Join(std::initializer_list<Cells> parts) {
  Cells all;
  for (const Cells& part : parts) all.insert(part.begin(), part.end());
  return all;
}

TEST(BoardLines, DiagonalFlatAndSingleCellLines) {
  CopyBoard board = WhiteBoard();
  BoardLine(board, 14, 14, 0, 0, kRed);
  Cells diagonal;
  for (int i = 0; i < 15; ++i) diagonal.insert({i, i});
  EXPECT_EQ(CellsOf(board, kRed), diagonal);

  board = WhiteBoard();
  BoardLine(board, 14, 3, 0, 0, kRed);
  EXPECT_EQ(CellsOf(board, kRed), Join({Span(0, 4, 0), Span(4, 9, 1), Span(9, 13, 2), Span(14, 14, 3)}));

  board = WhiteBoard();
  BoardLine(board, 0, 0, 14, 3, kRed);
  EXPECT_EQ(CellsOf(board, kRed), Join({Span(0, 0, 0), Span(1, 5, 1), Span(5, 10, 2), Span(10, 14, 3)}));

  board = WhiteBoard();
  BoardLine(board, 3, 5, 3, 5, kRed);
  EXPECT_EQ(CellsOf(board, kRed), Cells({{3, 5}}));
}

// Every line between two board cells is gap-free (each column and each row it spans
// holds a cell of it), stays within the box of its ends and includes both ends.
TEST(BoardLines, EveryLineBetweenBoardCellsIsGapFreeAndStaysBetweenItsEnds) {
  for (int x0 = 0; x0 < kCopySide; ++x0)
    for (int y0 = 0; y0 < kCopySide; y0 += 2)
      for (int x1 = 0; x1 < kCopySide; ++x1)
        for (int y1 = 0; y1 < kCopySide; y1 += 3) {
          CopyBoard board = WhiteBoard();
          BoardLine(board, x1, y1, x0, y0, kRed);
          const Cells cells = CellsOf(board, kRed);
          ASSERT_TRUE(cells.count({x0, y0}) && cells.count({x1, y1}));
          std::set<int> columns, rows;
          for (auto [x, y] : cells) {
            ASSERT_TRUE(x >= std::min(x0, x1) && x <= std::max(x0, x1) && y >= std::min(y0, y1) &&
                        y <= std::max(y0, y1));
            columns.insert(x);
            rows.insert(y);
          }
          ASSERT_EQ(columns.size(), static_cast<size_t>(std::abs(x1 - x0) + 1));
          ASSERT_EQ(rows.size(), static_cast<size_t>(std::abs(y1 - y0) + 1));
        }
}

TEST(BoardLines, LinesWithAnEndOffTheBoardDrawNothing) {
  CopyBoard board = WhiteBoard();
  BoardLine(board, 15, 3, 0, 0, kRed);
  BoardLine(board, 3, 3, -1, 0, kRed);
  BoardLine(board, 2147483647, 0, -2147483647, 0, kRed);
  EXPECT_TRUE(CellsOf(board, kRed).empty());
}

// The fills as they were written first, by recursion.
void RecursiveBoardFill(CopyBoard& board, int x, int y, uint32_t v, int w, int h) {
  const uint32_t old = board.At(x, y);
  if (old == v) return;
  board.At(x, y) = v;
  const int nx[4] = {x + 1, x - 1, x, x};
  const int ny[4] = {y, y, y + 1, y - 1};
  for (int i = 0; i < 4; ++i)
    if (nx[i] >= 0 && nx[i] < w && ny[i] >= 0 && ny[i] < h && board.At(nx[i], ny[i]) == old)
      RecursiveBoardFill(board, nx[i], ny[i], v, w, h);
}

void RecursiveSourceFill(CopyBoard& board, int x, int y, uint32_t v, int w, int h) {
  if (board.At(x, y) == v) return;
  const uint32_t p = PictureBuffer.At(x, y);
  board.At(x, y) = v;
  const int nx[4] = {x + 1, x - 1, x, x};
  const int ny[4] = {y, y, y + 1, y - 1};
  for (int i = 0; i < 4; ++i)
    if (nx[i] >= 0 && nx[i] < w && ny[i] >= 0 && ny[i] < h && PictureBuffer.At(nx[i], ny[i]) == p)
      RecursiveSourceFill(board, nx[i], ny[i], v, w, h);
}

TEST(BoardFills, WhiteOnWhiteChangesNothingAndRedFillsEverything) {
  CopyBoard board = WhiteBoard();
  BoardFill(board, 7, 7, kWhite, 15, 15);
  EXPECT_EQ(CellsOf(board, kWhite).size(), 225u);
  BoardFill(board, 7, 7, kRed, 15, 15);
  EXPECT_EQ(CellsOf(board, kRed).size(), 225u);

  ClearPictureBuffer();
  board = WhiteBoard();
  SourceRegionFill(board, 0, 14, kRed, 15, 15);
  EXPECT_EQ(CellsOf(board, kRed).size(), 225u);
  SourceRegionFill(board, 0, 14, kWhite, 15, 15);
  EXPECT_EQ(CellsOf(board, kWhite).size(), 225u);
}

TEST(BoardFills, SourceRegionFillColoursExactlyTheFourConnectedPictureRegion) {
  ClearPictureBuffer();
  // A ring of blue around (7, 7), a blue cell touching it only at a corner, and a
  // blue cell outside the bounds given to the fill.
  const uint32_t blue = 0xFFFF0000u;
  for (int i = 4; i <= 10; ++i) {
    PictureBuffer.At(i, 4) = PictureBuffer.At(i, 10) = blue;
    PictureBuffer.At(4, i) = PictureBuffer.At(10, i) = blue;
  }
  PictureBuffer.At(11, 11) = blue;
  PictureBuffer.At(13, 4) = PictureBuffer.At(12, 4) = PictureBuffer.At(11, 4) = blue;
  CopyBoard board = WhiteBoard();
  board.At(0, 0) = 0xFF00FF00u;
  SourceRegionFill(board, 4, 7, kRed, 12, 15);
  Cells ring;
  for (int i = 4; i <= 10; ++i) ring.insert({{i, 4}, {i, 10}, {4, i}, {10, i}});
  ring.insert({11, 4});
  EXPECT_EQ(CellsOf(board, kRed), ring);
  EXPECT_EQ(board.At(0, 0), 0xFF00FF00u);
}

// On random pictures and boards the fills give exactly what the recursive fills give.
TEST(BoardFills, FillsEqualTheRecursiveFillsOnRandomBoards) {
  std::mt19937 random(1234);
  const uint32_t colours[3] = {kWhite, kRed, 0xFF00FF00u};
  for (int trial = 0; trial < 3000; ++trial) {
    for (int x = 0; x < kCopySide; ++x)
      for (int y = 0; y < kCopySide; ++y) PictureBuffer.At(x, y) = colours[random() % (trial % 2 ? 2 : 3)];
    CopyBoard board;
    for (uint32_t& cell : board.cells) cell = colours[random() % 3];
    const int w = 1 + static_cast<int>(random() % 15);
    const int h = 1 + static_cast<int>(random() % 15);
    const int x = static_cast<int>(random() % static_cast<unsigned>(w));
    const int y = static_cast<int>(random() % static_cast<unsigned>(h));
    const uint32_t v = colours[random() % 3];

    CopyBoard expected = board;
    CopyBoard actual = board;
    RecursiveBoardFill(expected, x, y, v, w, h);
    BoardFill(actual, x, y, v, w, h);
    ASSERT_EQ(actual.cells, expected.cells) << trial;

    expected = board;
    actual = board;
    RecursiveSourceFill(expected, x, y, v, w, h);
    SourceRegionFill(actual, x, y, v, w, h);
    ASSERT_EQ(actual.cells, expected.cells) << trial;
  }
}

TEST(BoardFills, StartsOutsideTheBoundsChangeNothing) {
  CopyBoard board = WhiteBoard();
  BoardFill(board, 15, 0, kRed, 15, 15);
  BoardFill(board, 5, 5, kRed, 5, 15);
  BoardFill(board, -1, 0, kRed, 15, 15);
  SourceRegionFill(board, 0, 15, kRed, 15, 15);
  SourceRegionFill(board, 0, 0, kRed, 0, 0);
  EXPECT_TRUE(CellsOf(board, kRed).empty());
  BoardFill(board, 0, 0, kRed, 99, 99);  // bounds larger than the board are the board
  EXPECT_EQ(CellsOf(board, kRed).size(), 225u);
}

TEST(CopyBoards, ClearingWhitensBothBoardsAndNothingElse) {
  for (uint32_t& cell : PictureBuffer.cells) cell = kRed;
  CopyBoard board;
  ClearSmallBoards(board);
  EXPECT_EQ(CellsOf(board, kWhite).size(), 225u);
  EXPECT_EQ(PictureBuffer.At(14, 14), kWhite);
  EXPECT_EQ(PictureBuffer.At(15, 0), kRed);
  EXPECT_EQ(PictureBuffer.At(0, 15), kRed);
}

TEST(CopyBoards, CheckMarksEveryDifferingCellAndOnlyThose) {
  CopyBoard board;
  ClearSmallBoards(board);
  PictureBuffer.At(3, 4) = kRed;
  board.At(3, 4) = kRed;
  const CopyBoard solved = board;
  EXPECT_TRUE(CheckCopyBoard(board));
  EXPECT_EQ(board.cells, solved.cells);

  board.At(6, 2) = 0xFF00FF00u;
  board.At(14, 14) = 0xFEFFFFFFu;  // differs in the alpha byte only
  board.At(3, 4) = kWhite;
  EXPECT_FALSE(CheckCopyBoard(board));
  for (int x = 0; x < kCopySide; ++x) {
    for (int y = 0; y < kCopySide; ++y) {
      uint32_t expected = solved.At(x, y);
      if (x == 6 && y == 2) expected = 0xFD00FF00u;
      if (x == 14 && y == 14) expected = 0xFDFFFFFFu;
      if (x == 3 && y == 4) expected = 0xFDFFFFFFu;
      EXPECT_EQ(board.At(x, y), expected) << x << "," << y;
    }
  }
  // A marked cell stays wrong until it is drawn over with the right colour.
  EXPECT_FALSE(CheckCopyBoard(board));
  board.At(6, 2) = kWhite;
  board.At(14, 14) = kWhite;
  board.At(3, 4) = kRed;
  EXPECT_TRUE(CheckCopyBoard(board));
}

}  // namespace
