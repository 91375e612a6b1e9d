#include <functional>
#include <utility>
#include <vector>

#include "StudioFixture.h"
#include "board/BoardPicture.h"
#include "studio/PaintTools.h"

namespace studiotest {
namespace {

using tafutest::InputScript;
using Cells = std::vector<std::pair<int32_t, int32_t>>;

constexpr uint32_t kDarkGrey = 0x4C4C4C;   // 0.3 of full
constexpr uint32_t kLightGrey = 0xCCCCCC;  // 0.8 of full

// Presses at (x, y) for two frames, then releases: the pen paints the cell there.
InputScript& Dab(InputScript& script, int32_t x, int32_t y) { return script.MoveTo(x, y).Press().Wait(1).Release(); }
InputScript& Dab(InputScript& script, Spot spot) { return Dab(script, spot.x, spot.y); }

// The frame around a swatch shows its dark outer and light inner top edge.
bool FrameAround(PaletteEntry entry) {
  const int32_t x = SwatchLeft(entry) + 8;
  const int32_t y = SwatchTop(entry);
  return ScreenPixel(x, y) == kDarkGrey && ScreenPixel(x, y + 1) == kLightGrey;
}

TEST_F(StudioTest, AFreshVisitShowsAWhiteCanvasWithBlackSelectedAndThePenOverTheCanvas) {
  tafutest::TestPicture pen(85, 160, 0xFF0000FFu);
  tafutest::TestPicture picker(82, 141, 0xFF00FF00u);
  tafutest::WritePng(ProgramFile("img\\ico\\cursor_pen.png"), pen);
  tafutest::WritePng(ProgramFile("img\\ico\\cursor_pick.png"), picker);
  FillPattern(1);
  InputScript script;
  bool blackFramed = false;
  uint32_t penCursor = 0;
  uint32_t pickerCursor = 0;
  const Spot cell = CellSpot(CanvasSize::Big, 20, 20);
  script.MoveTo(cell.x, cell.y).Wait(1).Do([&] {
    blackFramed = FrameAround(kStartingEntry);
    penCursor = ScreenPixel(cell.x - 5 + 40, cell.y - 5 + 80);
  });
  script.MoveTo(60, 100).Wait(1).Do([&] { pickerCursor = ScreenPixel(60 - 4 + 40, 100 - 3 + 80); });
  ClickButton(script, kStudioExit);

  EXPECT_EQ(RunStudio(CanvasSize::Big, script), StudioEnd::Left);
  EXPECT_TRUE(script.Finished());
  EXPECT_TRUE(PaintedCells().empty());
  EXPECT_TRUE(blackFramed);
  EXPECT_EQ(penCursor, 0x0000FFu);
  EXPECT_EQ(pickerCursor, 0x00FF00u);
  EXPECT_EQ(CursorKind, 0);
}

TEST_F(StudioTest, ThePenPaintsFromTheSecondFrameOfAPress) {
  InputScript script;
  const Spot cell = CellSpot(CanvasSize::Big, 10, 12);
  Cells afterOneFrame{{1, 1}};
  Cells afterTap{{1, 1}};
  script.MoveTo(cell.x, cell.y).Press().Release().Do([&] { afterOneFrame = PaintedCells(); });
  script.Tap().Release().Do([&] { afterTap = PaintedCells(); });
  Dab(script, cell);

  RunStudio(CanvasSize::Big, script, 30);
  EXPECT_TRUE(afterOneFrame.empty());
  EXPECT_TRUE(afterTap.empty());
  EXPECT_EQ(PaintedCells(), (Cells{{10, 12}}));
  EXPECT_EQ(PictureBuffer.At(10, 12), kBlack);
}

TEST_F(StudioTest, AStrokeBetweenTwoFramesPaintsOneCellPerColumnAndRow) {
  InputScript script;
  const Spot from = CellSpot(CanvasSize::Big, 0, 0);
  const Spot to = CellSpot(CanvasSize::Big, 5, 2);
  script.MoveTo(from.x, from.y).Press().MoveTo(to.x, to.y).Release();

  RunStudio(CanvasSize::Big, script, 10);
  EXPECT_EQ(PaintedCells(), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}));
}

TEST_F(StudioTest, AStrokeThatLeavesTheCanvasIsJoinedWhereItComesBack) {
  InputScript script;
  const Spot out = CellSpot(CanvasSize::Big, 3, 3);
  const Spot back = CellSpot(CanvasSize::Big, 3, 10);
  script.MoveTo(out.x, out.y).Press().MoveTo(kNowhere.x, kNowhere.y).Wait(2).MoveTo(back.x, back.y).Release();

  RunStudio(CanvasSize::Big, script, 20);
  Cells expected;
  for (int32_t row = 3; row <= 10; ++row) expected.emplace_back(3, row);
  EXPECT_EQ(PaintedCells(), expected);
}

TEST_F(StudioTest, TheEraserPaintsWhite) {
  InputScript script;
  const Spot left = CellSpot(CanvasSize::Big, 0, 5);
  const Spot right = CellSpot(CanvasSize::Big, 9, 5);
  script.MoveTo(left.x, left.y).Press().MoveTo(right.x, right.y).Release();
  ClickButton(script, kEraserButton);
  const Spot from = CellSpot(CanvasSize::Big, 2, 5);
  const Spot to = CellSpot(CanvasSize::Big, 6, 5);
  script.MoveTo(from.x, from.y).Press().MoveTo(to.x, to.y).Release();

  RunStudio(CanvasSize::Big, script, 30);
  EXPECT_EQ(PaintedCells(), (Cells{{0, 5}, {1, 5}, {7, 5}, {8, 5}, {9, 5}}));
  for (int32_t column = 2; column <= 6; ++column) EXPECT_EQ(PictureBuffer.At(column, 5), 0xFFFFFFFFu);
}

// An outline of black around columns and rows 11 to 13, open only at its top-left
// corner cell (10, 10): the inside touches the outside there only at a corner.
void DrawOutline() {
  for (int32_t i = 10; i <= 14; ++i) {
    PictureBuffer.At(i, 10) = kBlack;
    PictureBuffer.At(i, 14) = kBlack;
    PictureBuffer.At(10, i) = kBlack;
    PictureBuffer.At(14, i) = kBlack;
  }
  PictureBuffer.At(10, 10) = kWhite;
}

TEST_F(StudioTest, TheBucketFillsOnlyTheInsideOfAClosedOutline) {
  const PaletteEntry red = {4, 3};
  InputScript script;
  script.Wait(1).Do(DrawOutline);
  ClickButton(script, kBucketButton);
  const Spot swatch = SwatchSpot(red);
  script.Click(swatch.x, swatch.y);
  const Spot inside = CellSpot(CanvasSize::Big, 12, 12);
  script.Click(inside.x, inside.y).Wait(2);

  RunStudio(CanvasSize::Big, script, 30);
  for (int32_t column = 0; column < kGridColumns; ++column) {
    for (int32_t row = 0; row < kGridRows; ++row) {
      const bool outline = (column >= 10 && column <= 14 && (row == 10 || row == 14)) ||
                           (row >= 10 && row <= 14 && (column == 10 || column == 14));
      const bool corner = column == 10 && row == 10;
      const bool interior = column >= 11 && column <= 13 && row >= 11 && row <= 13;
      const uint32_t expected = interior ? PaletteColour(red) : (outline && !corner ? kBlack : kWhite);
      ASSERT_EQ(PictureBuffer.At(column, row), expected) << column << ", " << row;
    }
  }
}

TEST_F(StudioTest, TheBucketWithWhiteOnWhiteChangesNothingAndTheSmallCanvasFillsItsOwnRegionOnly) {
  InputScript script;
  ClickButton(script, kBucketButton);
  ClickButton(script, SwatchSpot({0, 18}));
  const Spot cell = CellSpot(CanvasSize::Small, 7, 7);
  script.Click(cell.x, cell.y);
  Cells afterWhite{{1, 1}};
  script.Do([&] { afterWhite = PaintedCells(); });
  ClickButton(script, SwatchSpot(kStartingEntry));
  script.Click(cell.x, cell.y).Wait(1);

  RunStudio(CanvasSize::Small, script, 40);
  EXPECT_TRUE(afterWhite.empty());
  const Cells painted = PaintedCells();
  EXPECT_EQ(painted.size(), 225u);
  for (const auto& [column, row] : painted) EXPECT_TRUE(column < 15 && row < 15) << column << ", " << row;
}

TEST_F(StudioTest, ThePickerMovesTheFrameToPaletteColoursOnly) {
  const PaletteEntry entry = {2, 3};
  constexpr uint32_t kOffPalette = 0xFF123456u;
  InputScript script;
  script.Wait(1).Do([&] {
    PictureBuffer.At(5, 5) = PaletteColour(entry);
    PictureBuffer.At(6, 5) = kOffPalette;
  });
  ClickButton(script, kPickerButton);
  const Spot palette = CellSpot(CanvasSize::Big, 5, 5);
  const Spot other = CellSpot(CanvasSize::Big, 6, 5);
  bool framedAfterPalette = false;
  bool framedAfterOther = false;
  bool blackStillFramed = true;
  script.Click(palette.x, palette.y).Wait(1).Do([&] {
    framedAfterPalette = FrameAround(entry);
    blackStillFramed = FrameAround(kStartingEntry);
  });
  script.Click(other.x, other.y).Wait(1).Do([&] { framedAfterOther = FrameAround(entry); });
  ClickButton(script, kPenButton);
  Dab(script, CellSpot(CanvasSize::Big, 20, 20));

  RunStudio(CanvasSize::Big, script, 40);
  EXPECT_TRUE(framedAfterPalette);
  EXPECT_FALSE(blackStillFramed);
  EXPECT_TRUE(framedAfterOther);
  EXPECT_EQ(PictureBuffer.At(20, 20), kOffPalette);
}

struct HitProbe {
  int32_t x;
  int32_t y;
  Cells painted;
};

// Dabs the pen at every probe in turn and records which cells each one painted.
void ProbeHits(const std::vector<HitProbe>& probes, const std::function<StudioEnd(InputScript&)>& run) {
  InputScript script;
  std::vector<Cells> seen(probes.size());
  for (size_t i = 0; i < probes.size(); ++i) {
    Dab(script, probes[i].x, probes[i].y).Do([&seen, i] {
      seen[i] = PaintedCells();
      ClearPictureBuffer();
    });
  }
  run(script);
  for (size_t i = 0; i < probes.size(); ++i)
    EXPECT_EQ(seen[i], probes[i].painted) << "at " << probes[i].x << ", " << probes[i].y;
}

TEST_F(StudioTest, TheBigCanvasEdgesAreStrict) {
  const std::vector<HitProbe> probes = {
      {168, 100, {}},  {169, 100, {{0, 6}}},   {667, 100, {{49, 6}}}, {668, 100, {}},
      {300, 40, {}},   {300, 41, {{13, 0}}},   {300, 439, {{13, 39}}}, {300, 440, {}},
  };
  ProbeHits(probes, [this](InputScript& s) { return RunStudio(CanvasSize::Big, s, 60); });
}

TEST_F(StudioTest, TheSmallCanvasEdgesAreStrict) {
  const std::vector<HitProbe> probes = {
      {307, 200, {}},  {308, 200, {{0, 5}}},   {531, 200, {{14, 5}}}, {532, 200, {}},
      {400, 119, {}},  {400, 120, {{6, 0}}},   {400, 343, {{6, 14}}}, {400, 344, {}},
  };
  ProbeHits(probes, [this](InputScript& s) { return RunStudio(CanvasSize::Small, s, 60); });
}

TEST_F(StudioTest, ASmallStrokeDraggedAcrossTheScreenStaysInsideTheCanvas) {
  InputScript script;
  const Spot start = CellSpot(CanvasSize::Small, 1, 1);
  const Spot end = CellSpot(CanvasSize::Small, 14, 13);
  script.MoveTo(start.x, start.y).Press().MoveTo(700, 590).MoveTo(end.x, end.y).MoveTo(0, 0).Release();

  RunStudio(CanvasSize::Small, script, 20);
  const Cells painted = PaintedCells();
  EXPECT_FALSE(painted.empty());
  for (const auto& [column, row] : painted) EXPECT_TRUE(column < 15 && row < 15) << column << ", " << row;
}

// Every canvas pixel is what the board picture of bevelled cells gives for the grid.
void ExpectCanvasDrawn(CanvasSize size) {
  const CanvasGeometry& canvas = GetCanvasGeometry(size);
  BoardPixels expected;
  ASSERT_TRUE(expected.Create(canvas.columns, canvas.rows, canvas.cellSize, canvas.cellSize + 1));
  expected.ShowGrid(PictureBuffer);
  const std::vector<uint32_t> shown = ReadScreen(canvas.left, canvas.top, expected.Width(), expected.Height());
  for (int32_t y = 0; y < expected.Height(); ++y)
    for (int32_t x = 0; x < expected.Width(); ++x)
      ASSERT_EQ(shown[static_cast<size_t>(y * expected.Width() + x)], expected.Pixel(x, y) & 0x00FFFFFFu)
          << "pixel " << x << ", " << y;
}

TEST_F(StudioTest, BothCanvasesAreDrawnPixelForPixelAsBevelledCells) {
  for (const CanvasSize size : {CanvasSize::Big, CanvasSize::Small}) {
    InputScript script;
    script.Wait(1).Do([] { FillPattern(7); }).Do([size] { ExpectCanvasDrawn(size); });
    ClickButton(script, kStudioExit);
    RunStudio(size, script, 10);
    EXPECT_TRUE(script.Finished());
  }
}

}  // namespace
}  // namespace studiotest
