#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DrawingWindowTest.h"
#include "TestSupport.h"
#include "graphic/KGraphic.h"
#include "board/BoardPicture.h"
#include "puzzles/ResultRow.h"
#include "services/KClock.h"

namespace {

// A window whose frames are cleared to a colour no cell tile shows.
class BoardDrawing : public tafutest::DrawingWindowTest {
 protected:
  BoardDrawing() : DrawingWindowTest({0.2f, 0.6f, 0.4f}) {}

  // The back buffer's pixels in a rectangle, colour only.
  static std::vector<uint32_t> Read(int x, int y, int width, int height) {
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(width * height));
    for (int row = y; row < y + height; ++row)
      for (int column = x; column < x + width; ++column)
        pixels.push_back(tafutest::ReadPixel(column, row) & 0x00FFFFFFu);
    return pixels;
  }

  static void ExpectSame(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected, int width,
                         const char* what) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
      ASSERT_EQ(actual[i], expected[i]) << what << std::hex << " at " << std::dec << i % static_cast<size_t>(width)
                                        << "," << i / static_cast<size_t>(width);
  }
};

// Cells in runs of a few colours with some single cells, the way pictures look.
std::vector<uint32_t> PictureCells(int columns, int rows, uint32_t seed) {
  std::mt19937 random(seed);
  const uint32_t palette[4] = {0xFFFFFFFFu, 0xFF0000FFu, 0xFF1E7FD0u, 0xFF202020u};
  std::vector<uint32_t> cells(static_cast<size_t>(columns * rows));
  uint32_t current = palette[0];
  for (uint32_t& cell : cells) {
    if (random() % 4 == 0) current = random() % 3 ? palette[random() % 4] : (0xFF000000u | (random() & 0xFFFFFF));
    cell = current;
  }
  return cells;
}

// The board drawn the old way: one cell tile, repainted when the colour changes,
// each cell blitted in turn.
void DrawCellByCell(CellTile& tile, const std::vector<uint32_t>& cells, int columns, int rows, int size, int width,
                    int left, int top, float opacity, bool opaque) {
  tile.ResetCache();
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      tile.Paint(cells[static_cast<size_t>(r * columns + c)], size);
      const auto x = static_cast<int16_t>(left + size * c);
      const auto y = static_cast<int16_t>(top + size * r);
      if (opaque)
        tile.DrawOpaque(width, size, x, y);
      else
        tile.DrawBlended(width, size, x, y, opacity);
    }
  }
}

void Show(BoardPicture& board, const std::vector<uint32_t>& cells, int columns, int rows) {
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) board.SetCell(c, r, cells[static_cast<size_t>(r * columns + c)]);
}

struct Case {
  const char* name;
  int columns, rows, size, width, left, top;
  float opacity;
  bool opaque;
};

// The swap board fading in and shown, the copy games' boards, the painting canvases.
TEST_F(BoardDrawing, BoardPictureDrawsWhatTheCellTileDrawsPixelForPixel) {
  const Case cases[] = {
      {"swap board", 50, 40, 10, 10, 170, 41, 1.0f, false},
      {"swap board fading", 50, 40, 10, 10, 170, 41, 0.45f, false},
      {"copy picture", 15, 15, 15, 16, 122, 161, 1.0f, true},
      {"copy board", 15, 15, 15, 16, 374, 161, 1.0f, false},
      {"big canvas", 50, 40, 10, 11, 168, 40, 1.0f, true},
      {"small canvas", 15, 15, 15, 16, 307, 119, 1.0f, true},
  };
  CellTile tile;
  ASSERT_TRUE(tile.Create());
  uint32_t seed = 1;
  for (const Case& c : cases) {
    BoardPicture board;
    ASSERT_TRUE(board.Create(c.columns, c.rows, c.size, c.width));
    const int width = c.columns * c.size + c.width - c.size + 2;
    const int height = c.rows * c.size + 2;
    // Twice, so the second picture is an update of the first.
    for (int round = 0; round < 2; ++round) {
      const std::vector<uint32_t> cells = PictureCells(c.columns, c.rows, seed++);
      ClearScreen();
      DrawCellByCell(tile, cells, c.columns, c.rows, c.size, c.width, c.left, c.top, c.opacity, c.opaque);
      const std::vector<uint32_t> expected = Read(c.left - 1, c.top - 1, width, height);

      ClearScreen();
      Show(board, cells, c.columns, c.rows);
      if (c.opaque)
        board.DrawOpaque(static_cast<int16_t>(c.left), static_cast<int16_t>(c.top));
      else
        board.DrawBlended(static_cast<int16_t>(c.left), static_cast<int16_t>(c.top), c.opacity);
      ExpectSame(Read(c.left - 1, c.top - 1, width, height), expected, width, c.name);
    }
  }
}

// Strips drawn apart, at their own opacity and shift, as the swap puzzle moves two
// of them past each other, and the slide puzzle's wrap-around copies.
TEST_F(BoardDrawing, StripsDrawnApartMatchTheirCells) {
  CellTile tile;
  ASSERT_TRUE(tile.Create());
  const std::vector<uint32_t> cells = PictureCells(50, 40, 99);
  BoardPicture board;
  ASSERT_TRUE(board.Create(50, 40, 10, 10));
  Show(board, cells, 50, 40);

  struct Strip {
    int shiftX, shiftY;
    float opacity;
  };
  const Strip strips[4] = {{0, 0, 1.0f}, {0, 37, 0.8f}, {0, -37, 0.8f}, {-13, 0, 1.0f}};
  ClearScreen();
  for (int s = 0; s < 4; ++s) {
    tile.ResetCache();
    for (int r = 0; r < 10; ++r) {
      for (int x = 0; x < 50; ++x) {
        tile.Paint(cells[static_cast<size_t>((10 * s + r) * 50 + x)], 10);
        const auto y = static_cast<int16_t>(41 + 10 * (10 * s + r) + strips[s].shiftY);
        tile.DrawBlended(10, 10, static_cast<int16_t>(170 + 10 * x + strips[s].shiftX), y, strips[s].opacity);
        if (s == 3 && x <= 1)
          tile.DrawBlended(10, 10, static_cast<int16_t>(170 + 10 * (x + 50) + strips[s].shiftX), y, strips[s].opacity);
      }
    }
  }
  const std::vector<uint32_t> expected = Read(150, 0, 540, 480);

  ClearScreen();
  for (int s = 0; s < 4; ++s)
    board.DrawCellsBlended(0, 10 * s, 50, 10, static_cast<int16_t>(170 + strips[s].shiftX),
                           static_cast<int16_t>(41 + 100 * s + strips[s].shiftY), strips[s].opacity);
  board.DrawCellsBlended(0, 30, 2, 10, static_cast<int16_t>(170 + 500 + strips[3].shiftX), 341, 1.0f);
  ExpectSame(Read(150, 0, 540, 480), expected, 540, "strips");
}

// Crossed cells whose mark has alpha 0 show it only when the board is copied opaque.
TEST_F(BoardDrawing, MarkedCellsComeFromTheBoardsOwnTilePainter) {
  BoardPicture board;
  ASSERT_TRUE(board.Create(15, 15, 15, 16, [](TileBuffer& tile, uint32_t value, int32_t size) {
    if ((value >> 24) == kWrongCellMark)
      CrossedTile(tile, value, 0x000000EEu);
    else
      BevelTile(tile, value, size);
  }));
  for (int x = 0; x < 15; ++x)
    for (int y = 0; y < 15; ++y) board.SetCell(x, y, 0xFFFF0000u);
  board.SetCell(2, 3, 0xFD00FF00u);
  ClearScreen();
  board.DrawOpaque(374, 161);
  EXPECT_EQ(tafutest::ReadPixel(374 + 30 + 5, 161 + 45 + 5) & 0xFFFFFF, 0xEEu);  // the diagonal, red
  EXPECT_EQ(tafutest::ReadPixel(374 + 30 + 6, 161 + 45 + 5) & 0xFFFFFF, 0x00FF00u);
  ClearScreen();
  board.DrawBlended(374, 161, 1.0f);
  EXPECT_EQ(tafutest::ReadPixel(374 + 30 + 5, 161 + 45 + 5) & 0xFFFFFF, tafutest::ReadPixel(5, 5) & 0xFFFFFF);
}

// A small picture of one colour, drawn through a picture made from its pixels.
struct SolidPicture {
  explicit SolidPicture(uint32_t colour) : pixels(128 * 128, colour), picture(CreateGraphic()) {
    picture->CreateFromPixels(pixels.data(), 128, 128, true);
  }
  std::vector<uint32_t> pixels;
  std::unique_ptr<KGraphic> picture;
};

// Frames timed by a stepped clock: seven results fade in and rock, then the closing
// fade ends about seven seconds after it starts.
TEST_F(BoardDrawing, ResultRowDrawsItsSlotsAndReportsTheEndOfTheClosingFade) {
  SolidPicture star(0xFF00FFFFu);
  SolidPicture stone(0xFF808080u);
  ResultRow row;
  for (int i = 0; i < 7; ++i) AddResult(row, i != 3);
  SharedResultMotion = ResultMotion();
  UseSteppedClock(1000);
  uint64_t last = GetMilliseconds();
  auto frame = [&] {
    AdvanceSteppedClock(12);
    const uint64_t now = GetMilliseconds();
    const auto elapsed = static_cast<float>(now - last);
    last = now;
    ClearScreen();
    return DrawResultRow(*star.picture, *stone.picture, row, elapsed);
  };
  for (int i = 0; i < 100; ++i) ASSERT_FALSE(frame());
  // Slot centres: (134 + 67i + 33, 500 + 30); the rocking keeps the centre covered.
  EXPECT_EQ(tafutest::ReadPixel(134 + 33, 530) & 0xFFFFFF, 0x00FFFFu);
  EXPECT_EQ(tafutest::ReadPixel(134 + 3 * 67 + 32, 534) & 0xFFFFFF, 0x808080u);
  EXPECT_EQ(tafutest::ReadPixel(134 + 6 * 67 + 33, 530) & 0xFFFFFF, 0x00FFFFu);

  StartClosingFade(row);
  const uint64_t start = GetMilliseconds();
  int frames = 0;
  while (!frame()) ASSERT_LT(++frames, 1000);
  const uint64_t took = GetMilliseconds() - start;
  EXPECT_GE(took, 6900u);
  EXPECT_LE(took, 7300u);
  UseRealClock();
}

}  // namespace
