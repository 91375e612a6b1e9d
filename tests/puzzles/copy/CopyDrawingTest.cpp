#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "CopyScreenFixture.h"
#include "input/KControls.h"
#include "puzzles/CopyDrawingScreen.h"

namespace copytest {
namespace {

constexpr uint32_t kOpaqueRed = 0x0000EEu;
// Where the tool buttons take a click.
constexpr int32_t kPenButtonX = 736;
constexpr int32_t kPenButtonY = 110;
constexpr int32_t kBucketButtonX = 742;
constexpr int32_t kBucketButtonY = 300;

using Cells = std::set<std::pair<int32_t, int32_t>>;

// Sky with a navy bar in row 3, a red bar in row 7 and a green row 11: something to draw
// in every row the easy round leaves out.
SmallPicture Boat() {
  SmallPicture picture(kSky);
  picture.Row(3, 2, 8, kNavy);
  picture.Row(7, 4, 10, kRed);
  picture.Row(11, 0, 14, kGreen);
  return picture;
}

Cells CellsHolding(const CopyBoard& board, uint32_t value) {
  Cells cells;
  for (int32_t x = 0; x < kCopySide; ++x)
    for (int32_t y = 0; y < kCopySide; ++y)
      if (board.At(x, y) == value) cells.insert({x, y});
  return cells;
}

class CopyDrawing : public CopyScreenTest {
 protected:
  // A pen press held over the given board cells, one frame each, then released.
  static void Stroke(PuzzleFrame& frame, std::initializer_list<std::pair<int32_t, int32_t>> cells) {
    for (const auto& [x, y] : cells) Frame(frame, BoardX(x), CellY(y), true);
    Frame(frame, BoardX(cells.begin()->first), CellY(cells.begin()->second), false);
  }
};

TEST_F(CopyDrawing, EachDifficultyGivesItsBandsOfRows) {
  const SmallPicture boat = Boat();
  UsePicture(boat);
  const struct {
    Difficulty difficulty;
    std::set<int32_t> missing;
  } levels[] = {{kEasy, {3, 7, 11}}, {kMedium, {3, 4, 5, 9, 10, 11}},
                {kHard, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}}};
  for (const auto& level : levels) {
    SCOPED_TRACE(level.difficulty);
    CopyDrawingGame game(level.difficulty);
    PuzzleFrame frame(game, game.FrameSettings());
    UntilPlaying(frame);
    for (int32_t y = 0; y < kCopySide; ++y)
      for (int32_t x = 0; x < kCopySide; ++x)
        ASSERT_EQ(game.Board().At(x, y), level.missing.count(y) ? kWhite : boat.At(x, y)) << x << "," << y;
  }
}

TEST_F(CopyDrawing, EasyTestCrossesWhatIsMissingInRowsThreeSevenAndElevenAndTheRightColourClearsACross) {
  const SmallPicture boat = Boat();
  UsePicture(boat);
  CopyDrawingGame game(kEasy);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  ClickTest(frame);
  EXPECT_EQ(frame.Results()[0].kind, ResultKind::Stone);
  Idle(frame, 1);
  const ShownFrame tested;
  for (int32_t x = 0; x < kCopySide; ++x) {
    for (int32_t y = 0; y < kCopySide; ++y) {
      const bool wrong = (y == 3 || y == 7 || y == 11) && boat.At(x, y) != kWhite;
      ASSERT_EQ(game.Board().At(x, y) >> 24, wrong ? 0xFDu : 0xFFu) << x << "," << y;
      ASSERT_EQ(tested.BoardPixel(x, y, 6, 6) == kOpaqueRed, wrong) << x << "," << y;
    }
  }

  Pick(frame, 5, 3);
  Stroke(frame, {{5, 3}, {5, 3}});
  Idle(frame, 1);
  EXPECT_EQ(game.Board().At(5, 3), kNavy);
  const ShownFrame drawn;
  EXPECT_EQ(drawn.BoardPixel(5, 3, 6, 6), Rgb(kNavy));
  EXPECT_EQ(drawn.BoardPixel(4, 3, 6, 6), kOpaqueRed);
}

TEST_F(CopyDrawing, APictureWhoseMissingRowsAreWhiteIsSolvedAtOnce) {
  SmallPicture picture = Boat();
  picture.Row(3, 0, 14, kWhite);
  picture.Row(7, 0, 14, kWhite);
  picture.Row(11, 0, 14, kWhite);
  UsePicture(picture);
  CopyDrawingGame game(kEasy);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  ClickTest(frame);
  EXPECT_EQ(frame.Results()[0].kind, ResultKind::Star);
  EXPECT_EQ(frame.Round(), PuzzleRound::FadeOut);
}

TEST_F(CopyDrawing, APressOfOneFramePaintsNothingAndOfTwoFramesPaintsTheCell) {
  UsePicture(Boat());
  CopyDrawingGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  Pick(frame, 3, 3);
  Stroke(frame, {{0, 3}});
  EXPECT_EQ(CellsHolding(game.Board(), kNavy), Cells{});
  Stroke(frame, {{1, 3}, {1, 3}});
  EXPECT_EQ(CellsHolding(game.Board(), kNavy), (Cells{{1, 3}}));
}

TEST_F(CopyDrawing, AFastDragFromCornerToCornerPaintsAConnectedDiagonal) {
  UsePicture(Boat());
  CopyDrawingGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  Pick(frame, 5, 7);
  Stroke(frame, {{0, 0}, {14, 14}});
  Cells diagonal;
  for (int32_t i = 0; i < kCopySide; ++i) diagonal.insert({i, i});
  EXPECT_EQ(CellsHolding(game.Board(), kRed), diagonal);
}

TEST_F(CopyDrawing, ADetourOverThePictureContinuesTheStrokeInThePickedColour) {
  UsePicture(Boat());
  CopyDrawingGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  Pick(frame, 5, 7);
  Frame(frame, BoardX(0), CellY(5), true);
  Frame(frame, BoardX(3), CellY(5), true);
  Frame(frame, PictureX(4), CellY(3), true);
  Frame(frame, BoardX(3), CellY(9), true);
  Frame(frame, BoardX(3), CellY(9), false);
  EXPECT_EQ(CellsHolding(game.Board(), kRed), (Cells{{0, 5}, {1, 5}, {2, 5}}));
  EXPECT_EQ(CellsHolding(game.Board(), kNavy), (Cells{{3, 5}, {3, 6}, {3, 7}, {3, 8}, {3, 9}}));
}

TEST_F(CopyDrawing, TheBucketFillsTheChildsOwnRegionsNotThePictures) {
  UsePicture(Boat());
  CopyDrawingGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  Pick(frame, 5, 7);
  Stroke(frame, {{0, 8}, {14, 8}});
  ClickAt(frame, kBucketButtonX, kBucketButtonY);
  Idle(frame, 2);
  ASSERT_EQ(game.Tool(), CopyTool::Bucket);

  Pick(frame, 0, 11);
  Frame(frame, BoardX(2), CellY(2), true);
  Frame(frame, BoardX(2), CellY(2), false);
  Cells above;
  for (int32_t x = 0; x < kCopySide; ++x)
    for (int32_t y = 0; y < 8; ++y) above.insert({x, y});
  EXPECT_EQ(CellsHolding(game.Board(), kGreen), above);
  EXPECT_EQ(CellsHolding(game.Board(), kRed).size(), 15u);

  const CopyBoard before = game.Board();
  Frame(frame, BoardX(6), CellY(6), true);
  Frame(frame, BoardX(6), CellY(6), false);
  EXPECT_EQ(game.Board().cells, before.cells) << "filling a region with its own colour";

  ClickAt(frame, kPenButtonX, kPenButtonY);
  Idle(frame, 2);
  EXPECT_EQ(game.Tool(), CopyTool::Pen);
}

// Wrong cells are crossed with a red of alpha 0: seen on the opaque board, not while it
// fades.
TEST_F(CopyDrawing, CrossesShowOnlyOnceTheBoardIsOpaque) {
  UsePicture(Boat());
  CopyDrawingGame game(kEasy);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  ClickTest(frame);
  Idle(frame, 1);
  EXPECT_EQ(ShownFrame().BoardPixel(2, 3, 4, 4), kOpaqueRed);

  SetScriptedKey(KEY_C, true);
  SetScriptedKey(KEY_N, true);
  Idle(frame, 10);
  SetScriptedKey(KEY_C, false);
  SetScriptedKey(KEY_N, false);
  ASSERT_EQ(frame.Round(), PuzzleRound::FadeOut);
  ASSERT_LT(frame.Opacity(), 0.99f);
  const ShownFrame fading;
  EXPECT_EQ(fading.BoardPixel(2, 3, 4, 4), Rgb(kBackdrop));
  EXPECT_NE(fading.BoardPixel(2, 3, 5, 4), Rgb(kBackdrop));
}

}  // namespace
}  // namespace copytest
