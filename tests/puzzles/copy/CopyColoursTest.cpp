#include <gtest/gtest.h>

#include "CopyScreenFixture.h"
#include "InputScript.h"
#include "shell/Screens.h"
#include "board/CellColours.h"
#include "puzzles/CopyColoursScreen.h"

namespace copytest {
namespace {

constexpr uint32_t kGreyGreen = 0x668866u;
constexpr uint32_t kOpaqueRed = 0x0000EEu;

// Sky around two red bars that do not touch, a green column and a white corner.
SmallPicture Meadow() {
  SmallPicture picture(kSky);
  picture.Row(2, 2, 6, kRed);
  picture.Row(10, 2, 6, kRed);
  for (int32_t y = 0; y <= 8; ++y) picture.Set(12, y, kGreen);
  for (int32_t y = 12; y < kCopySide; ++y) picture.Row(y, 10, 14, kWhite);
  return picture;
}

uint32_t AlphaOf(uint32_t cell) { return cell >> 24; }

class CopyColours : public CopyScreenTest {};

TEST_F(CopyColours, HardStartsAllCrossedGreyGreenAndPouringTheRightColoursClearsTheCrossesForAStar) {
  const SmallPicture meadow = Meadow();
  UsePicture(meadow);
  CopyColoursGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);

  const ShownFrame uncoloured;
  for (int32_t x = 0; x < kCopySide; ++x) {
    for (int32_t y = 0; y < kCopySide; ++y) {
      const uint32_t cell = game.Board().At(x, y);
      ASSERT_EQ(cell, (ColourGrey(meadow.At(x, y)) & 0x00FFFFFFu) | 0xFC000000u) << x << "," << y;
      for (int32_t i = 0; i < kCopyCellPitch; ++i) ASSERT_EQ(uncoloured.BoardPixel(x, y, i, i), kGreyGreen);
    }
  }

  // Sky, both red bars, the green column and the white corner: picked and poured.
  const int32_t pours[][2] = {{0, 0}, {2, 2}, {6, 10}, {12, 4}, {14, 14}};
  for (const auto& cell : pours) {
    Pick(frame, cell[0], cell[1]);
    EXPECT_EQ(game.CurrentColour(), meadow.At(cell[0], cell[1]));
    Frame(frame, BoardX(cell[0]), CellY(cell[1]), true);
    Frame(frame, BoardX(cell[0]), CellY(cell[1]), false);
  }
  for (int32_t x = 0; x < kCopySide; ++x)
    for (int32_t y = 0; y < kCopySide; ++y) ASSERT_EQ(game.Board().At(x, y), meadow.At(x, y)) << x << "," << y;

  const ShownFrame coloured;
  EXPECT_EQ(coloured.BoardPixel(4, 2, 5, 5), Rgb(kRed));
  EXPECT_EQ(coloured.BoardPixel(0, 0, 5, 5), Rgb(kSky));
  EXPECT_EQ(coloured.BoardPixel(14, 14, 5, 5), Rgb(kWhite));

  ClickTest(frame);
  EXPECT_EQ(frame.Results()[0].kind, ResultKind::Star);
  EXPECT_EQ(frame.Round(), PuzzleRound::FadeOut);
}

TEST_F(CopyColours, PaleCopiesShowNoCrossesUntilATestCrossesEveryCellThatIsNotWhite) {
  const SmallPicture meadow = Meadow();
  UsePicture(meadow);
  const struct {
    Difficulty difficulty;
    double lift;
  } levels[] = {{kEasy, 170}, {kMedium, 100}};
  for (const auto& level : levels) {
    SCOPED_TRACE(level.difficulty);
    CopyColoursGame game(level.difficulty);
    PuzzleFrame frame(game, game.FrameSettings());
    UntilPlaying(frame);
    const ShownFrame pale;
    for (int32_t x = 0; x < kCopySide; ++x) {
      for (int32_t y = 0; y < kCopySide; ++y) {
        ASSERT_EQ(game.Board().At(x, y), ColourLift(meadow.At(x, y), level.lift));
        ASSERT_EQ(pale.BoardPixel(x, y, 5, 5), Rgb(ColourLift(meadow.At(x, y), level.lift))) << x << "," << y;
      }
    }

    ClickTest(frame);
    EXPECT_EQ(frame.Results()[0].kind, ResultKind::Stone);
    EXPECT_EQ(frame.Round(), PuzzleRound::Play);
    Idle(frame, 1);
    const ShownFrame tested;
    for (int32_t x = 0; x < kCopySide; ++x) {
      for (int32_t y = 0; y < kCopySide; ++y) {
        const bool white = meadow.At(x, y) == kWhite;
        ASSERT_EQ(AlphaOf(game.Board().At(x, y)), white ? 0xFFu : 0xFDu) << x << "," << y;
        ASSERT_EQ(tested.BoardPixel(x, y, 7, 7) == kOpaqueRed, !white) << x << "," << y;
      }
    }
  }
}

TEST_F(CopyColours, APourColoursThePicturesRegionThroughCrossedCellsAndAgainChangesNothing) {
  const SmallPicture meadow = Meadow();
  UsePicture(meadow);
  CopyColoursGame game(kMedium);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  ClickTest(frame);

  Pick(frame, 3, 2);
  for (int32_t i = 0; i < 4; ++i) Frame(frame, BoardX(5), CellY(2), true);
  Frame(frame, BoardX(5), CellY(2), false);
  for (int32_t x = 0; x < kCopySide; ++x) {
    for (int32_t y = 0; y < kCopySide; ++y) {
      const bool inBar = y == 2 && x >= 2 && x <= 6;
      if (inBar)
        ASSERT_EQ(game.Board().At(x, y), kRed) << x << "," << y;
      else
        ASSERT_NE(game.Board().At(x, y), kRed) << x << "," << y;
    }
  }
  EXPECT_EQ(AlphaOf(game.Board().At(4, 10)), 0xFDu) << "the other bar is a region of its own";

  const CopyBoard before = game.Board();
  Frame(frame, BoardX(2), CellY(2), true);
  Frame(frame, BoardX(2), CellY(2), false);
  EXPECT_EQ(game.Board().cells, before.cells);
}

TEST_F(CopyColours, PickingAndPouringWorkWhileTheRoundFadesIn) {
  UsePicture(Meadow());
  CopyColoursGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  Idle(frame, 2);
  ASSERT_EQ(frame.Round(), PuzzleRound::FadeIn);
  Pick(frame, 12, 0);
  Frame(frame, BoardX(12), CellY(8), true);
  EXPECT_EQ(frame.Round(), PuzzleRound::FadeIn);
  EXPECT_EQ(game.Board().At(12, 0), kGreen);
}

TEST_F(CopyColours, TheSwatchShowsThePickedColourAndBoardsSitWhereTheyBelong) {
  UsePicture(Meadow());
  CopyColoursGame game(kHard);
  PuzzleFrame frame(game, game.FrameSettings());
  UntilPlaying(frame);
  const ShownFrame white;
  EXPECT_EQ(white.At(kSwatchX, kSwatchY), Rgb(kWhite));
  Pick(frame, 4, 2);
  Idle(frame, 1);
  const ShownFrame shown;
  EXPECT_EQ(shown.At(kSwatchX, kSwatchY), Rgb(kRed));
  EXPECT_EQ(shown.At(kSwatchX + kSwatchSide - 1, kSwatchY + kSwatchSide - 1), Rgb(kRed));
  EXPECT_EQ(shown.At(kSwatchX - 1, kSwatchY + 30), Rgb(kBackdrop));
  EXPECT_EQ(shown.At(kSwatchX + kSwatchSide, kSwatchY + 30), Rgb(kBackdrop));
  EXPECT_EQ(shown.At(kSwatchX + 30, kSwatchY + kSwatchSide), Rgb(kBackdrop));

  // The left picture's bevels: light along the top and the right, dark along the left
  // and the bottom, the plain colour inside and in the sixteenth column of the last cell.
  const uint32_t light = Rgb(ColourBrighten(kRed, 1.3));
  const uint32_t dark = Rgb(ColourDarken(kRed, 1.3));
  EXPECT_EQ(shown.PicturePixel(4, 2, 5, 0), light);
  EXPECT_EQ(shown.PicturePixel(4, 2, 14, 5), light);
  EXPECT_EQ(shown.PicturePixel(4, 2, 0, 5), dark);
  EXPECT_EQ(shown.PicturePixel(4, 2, 5, 14), dark);
  EXPECT_EQ(shown.PicturePixel(4, 2, 5, 5), Rgb(kRed));
  EXPECT_EQ(shown.PicturePixel(14, 0, 15, 5), Rgb(kSky));
  EXPECT_EQ(shown.PicturePixel(14, 0, 16, 5), Rgb(kBackdrop));
  EXPECT_EQ(shown.PicturePixel(0, 0, -1, 5), Rgb(kBackdrop));
  EXPECT_EQ(shown.PicturePixel(0, 0, 5, -1), Rgb(kBackdrop));
  EXPECT_EQ(shown.PicturePixel(0, 14, 5, 15), Rgb(kBackdrop));
}

// The screen as the menu runs it: seven tests, right or wrong, end the visit once the
// row of results has faded out.
TEST_F(CopyColours, TheSeventhTestEndsTheGameWithFive) {
  UsePicture(Meadow());
  tafutest::InputScript script;
  script.MoveTo(60, 60).Wait(150);
  for (int i = 0; i < 7; ++i) script.Click(kTestButtonX, kTestButtonY).Wait(3);
  script.MoveTo(60, 60);
  script.Play(*MainScreen, 2500);
  EXPECT_EQ(CopyColoursScreen(kHard), PuzzleRound::Finished);
  EXPECT_LT(script.FramesPlayed(), 2500u);
}

}  // namespace
}  // namespace copytest
