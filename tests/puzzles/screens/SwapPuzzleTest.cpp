#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "PuzzleScreenFixture.h"
#include "shell/Screens.h"
#include "puzzles/StripRules.h"

namespace {

using puzzletest::ButtonFace;
using puzzletest::FramesFor;
using puzzletest::ShownFrame;
using puzzletest::TestButtonFace;

// Just inside the left edge of the test button (662, 478, 89 x 94).
constexpr int32_t kTestX = 663;
constexpr int32_t kTestY = 525;
constexpr int32_t kExitX = 61;
constexpr int32_t kExitY = 534;
// Long enough for a fade-in (one second) from the first frame.
constexpr uint32_t kFadeInFrames = FramesFor(1200);

// The middle of arrow k (1 to 3), which exchanges screen strips k - 1 and k.
int32_t ArrowX() { return 688 + 30; }
int32_t ArrowY(int32_t k) { return 100 * k - 5 + 51; }
// The top row of arrow 1 (at y 95), just inside its edge; the arrows below overlap the
// one above by three rows, so only the first has a top row of its own.
constexpr int32_t kArrowOneTopRow = 96;

// The order the first round starts from: the fixture's seed, then that many exchanges of
// neighbours from the solved order.
StripOrder FirstRoundOrder(int32_t exchanges) {
  SeedRandom(7);
  StripOrder order{0, 1, 2, 3};
  ShuffleStrips(order, exchanges);
  return order;
}

// The picture strip each screen strip shows, -1 where no whole strip is seen.
StripOrder ShownOrder(const ShownFrame& frame) {
  StripOrder order{};
  for (int32_t s = 0; s < kStripCount; ++s) {
    const int32_t top = puzzletest::kBoardTop + 100 * s;
    const puzzletest::CellName left = frame.CellAt(puzzletest::kSwapLeft, top);
    const puzzletest::CellName right = frame.CellAt(puzzletest::kSwapLeft + 490, top + 90);
    const bool whole = left.column == 0 && left.row == 0 && right.column == 49 && right.row == 9 &&
                       left.strip == right.strip;
    order[static_cast<size_t>(s)] = whole ? left.strip : -1;
  }
  return order;
}

// The first screen strip out of place, or -1.
int32_t FirstMisplaced(const StripOrder& order) {
  for (int32_t s = 0; s < kStripCount; ++s)
    if (order[static_cast<size_t>(s)] != s) return s;
  return -1;
}

enum class Result { Empty, Star, Stone };

// What result slot i shows, by the colour of its middle: a yellow star, a grey-blue
// stone, or the row's empty hollow.
Result ResultShown(const ShownFrame& frame, int32_t slot) {
  int32_t red = 0, green = 0, blue = 0, count = 0;
  const int32_t left = 134 + 67 * slot + 20;
  for (int32_t y = 515; y < 545; y += 3)
    for (int32_t x = left; x < left + 26; x += 3, ++count) {
      const uint32_t pixel = frame.Pixel(x, y);
      red += static_cast<int32_t>(pixel & 0xFF);
      green += static_cast<int32_t>((pixel >> 8) & 0xFF);
      blue += static_cast<int32_t>((pixel >> 16) & 0xFF);
    }
  red /= count;
  green /= count;
  blue /= count;
  if (blue > red) return Result::Stone;
  if (red > 200 && green > 170 && blue < 150) return Result::Star;
  return Result::Empty;
}

// The opacity the top strip, showing picture strip 0, is drawn at: the middle of its cell
// (45, 5) against the background, by the channel that differs most.
double TopStripOpacity(const ShownFrame& frame, const ShownFrame& background) {
  const int32_t x = puzzletest::kSwapLeft + 10 * 45 + 5;
  const int32_t y = puzzletest::kBoardTop + 10 * 5 + 5;
  const uint32_t cell = puzzletest::TestCell(45, 5);
  double opacity = 0, widest = 0;
  for (int shift : {0, 8, 16}) {
    const double over = (cell >> shift) & 0xFF;
    const double under = (background.Pixel(x, y) >> shift) & 0xFF;
    const double shown = (frame.Pixel(x, y) >> shift) & 0xFF;
    if (std::abs(over - under) > widest) {
      widest = std::abs(over - under);
      opacity = (shown - under) / (over - under);
    }
  }
  return opacity;
}

// Every cell of the board shows its test colour exactly (opacity 1, nothing over it).
bool BoardWhole(const ShownFrame& frame) {
  const StripOrder order = ShownOrder(frame);
  for (int32_t s = 0; s < kStripCount; ++s)
    if (order[static_cast<size_t>(s)] < 0) return false;
  return true;
}

class SwapPuzzle : public puzzletest::PuzzleScreenTest {};

TEST_F(SwapPuzzle, AnEasyRoundExchangesTwoNeighboursAndOneArrowSolvesIt) {
  StripOrder first{}, solved{};
  ButtonFace face = ButtonFace::Unknown;
  script_.Wait(kFadeInFrames)
      .Do([&] {
        first = ShownOrder(ShownFrame::Read());
        const int32_t s = FirstMisplaced(first);
        SetScriptedPointer(ArrowX(), ArrowY(s + 1));
      })
      .Press()
      .Release()
      .Wait(FramesFor(900))
      .Do([&] { solved = ShownOrder(ShownFrame::Read()); })
      .Click(kTestX, kTestY)
      .Wait(2)
      .Do([&] { face = TestButtonFace(ShownFrame::Read()); })
      .KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);

  // Escape came while the solved picture was fading out.
  EXPECT_EQ(SwapPuzzleScreen(kEasy), PuzzleRound::FadeOut);
  const int32_t s = FirstMisplaced(first);
  ASSERT_GE(s, 0);
  ASSERT_LT(s, 3);
  StripOrder expected{0, 1, 2, 3};
  std::swap(expected[static_cast<size_t>(s)], expected[static_cast<size_t>(s) + 1]);
  EXPECT_EQ(first, expected);
  EXPECT_EQ(solved, (StripOrder{0, 1, 2, 3}));
  EXPECT_EQ(face, ButtonFace::Right);
}

TEST_F(SwapPuzzle, AnExchangeTakesAbout770MsAtOpacityPointEightAndIgnoresClicksMeanwhile) {
  ShownFrame background;
  StripOrder start{}, end{};
  std::vector<ShownFrame> during;
  uint32_t clickFrame = 0;
  uint32_t changeFrame = 0;
  script_.Wait(1)
      .Do([&] { background = ShownFrame::Read(); })
      .Wait(kFadeInFrames)
      .Do([&] {
        start = ShownOrder(ShownFrame::Read());
        SetScriptedPointer(ArrowX(), kArrowOneTopRow);
      })
      .Press()
      .Do([&] {
        SetScriptedButton(MOUSE_LEFT, false);
        clickFrame = script_.FramesPlayed();
      })
      .Wait(9)
      .Do([&] { during.push_back(ShownFrame::Read()); })
      .Click(ArrowX(), ArrowY(3))
      .WaitUntil(
          [&] {
            const StripOrder order = ShownOrder(ShownFrame::Read());
            if (order == start || std::find(order.begin(), order.end(), -1) != order.end()) return false;
            changeFrame = script_.FramesPlayed();
            return true;
          },
          200)
      .Wait(FramesFor(1000))
      .Do([&] { end = ShownOrder(ShownFrame::Read()); })
      .KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);
  EXPECT_EQ(SwapPuzzleScreen(kEasy), PuzzleRound::Play);

  // 100 pixels at 130 per second, 1.56 a frame of 12 ms: 65 frames, and two more until
  // the new order is read back.
  ASSERT_GT(changeFrame, clickFrame);
  const uint32_t frames = changeFrame - clickFrame;
  EXPECT_GE(frames, 65u + 1);
  EXPECT_LE(frames, 65u + 3);
  StripOrder expected = start;
  std::swap(expected[0], expected[1]);
  EXPECT_EQ(end, expected) << "the click on arrow 3 during the exchange is ignored";

  // Some ten frames into the exchange: screen strip 0 has come down and strip 1 gone up
  // by about 12 pixels (1.56 a frame), both at opacity 0.8 over the background.
  ASSERT_EQ(during.size(), 1u);
  const int32_t shift = 12;
  const auto expectBlend = [&](int32_t screenStrip, int32_t pictureStrip, int32_t dy, std::array<int32_t, 3> rows) {
    for (int32_t r : rows) {
      const int32_t x = puzzletest::kSwapLeft + 10 * 20 + 5;
      const int32_t y = puzzletest::kBoardTop + 100 * screenStrip + 10 * r + dy + 5;
      const uint32_t cell = puzzletest::TestCell(20, 10 * pictureStrip + r);
      const uint32_t under = background.Pixel(x, y);
      const uint32_t shown = during[0].Pixel(x, y);
      for (int shiftBits : {0, 8, 16}) {
        const double blend = 0.8 * ((cell >> shiftBits) & 0xFF) + 0.2 * ((under >> shiftBits) & 0xFF);
        EXPECT_NEAR(static_cast<double>((shown >> shiftBits) & 0xFF), blend, 2.5)
            << "strip " << screenStrip << " row " << r << " channel " << shiftBits;
      }
    }
  };
  // Where the two strips cross, the lower one lies over the upper one.
  expectBlend(0, start[0], shift, {0, 4, 6});
  expectBlend(1, start[1], -shift, {4, 6, 9});
}

TEST_F(SwapPuzzle, AWrongTestAddsAStoneShowsItsPictureForAboutTwoSecondsAndKeepsThePicture) {
  StripOrder before{}, after{};
  ButtonFace soon = ButtonFace::Unknown, back = ButtonFace::Unknown;
  Result slot0 = Result::Empty, slot1 = Result::Star;
  bool whole = false;
  uint32_t releaseFrame = 0, backFrame = 0;
  script_.Wait(kFadeInFrames)
      .Do([&] { before = ShownOrder(ShownFrame::Read()); })
      .MoveTo(kTestX, kTestY)
      .Press()
      .Do([&] {
        SetScriptedButton(MOUSE_LEFT, false);
        releaseFrame = script_.FramesPlayed();
      })
      .MoveTo(400, 580)
      .Do([&] { soon = TestButtonFace(ShownFrame::Read()); })
      .WaitUntil(
          [&] {
            backFrame = script_.FramesPlayed();
            return TestButtonFace(ShownFrame::Read()) != ButtonFace::Wrong;
          },
          FramesFor(3000))
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        back = TestButtonFace(frame);
        after = ShownOrder(frame);
        whole = BoardWhole(frame);
        slot0 = ResultShown(frame, 0);
        slot1 = ResultShown(frame, 1);
      })
      .Click(kExitX, kExitY);
  script_.Play(*MainScreen, 2000);

  // The exit button leaves once its click has sounded, in the middle of play.
  EXPECT_EQ(SwapPuzzleScreen(kMedium), PuzzleRound::Play);
  EXPECT_EQ(soon, ButtonFace::Wrong);
  EXPECT_EQ(back, ButtonFace::Test);
  // The result shows for 1.8 s (150 frames at 83 a second), read back a few frames later.
  EXPECT_GE((backFrame - releaseFrame) * 12, 1800u);
  EXPECT_LE((backFrame - releaseFrame) * 12, 1890u);
  EXPECT_TRUE(whole);
  EXPECT_EQ(after, before);
  EXPECT_FALSE(IsOrderSolved(after));
  EXPECT_EQ(slot0, Result::Stone);
  EXPECT_EQ(slot1, Result::Empty);
}

TEST_F(SwapPuzzle, ARightTestAddsAStarFadesOutAndANewShuffledRoundFadesIn) {
  StripOrder next{};
  ShownFrame background;
  bool wholeAfterClick = true, goneLater = false, wholeAgain = false;
  Result slot0 = Result::Empty;
  uint32_t releaseFrame = 0, fadingFrame = 0;
  double fadingOpacity = 0;
  script_.Wait(1)
      .Do([&] { background = ShownFrame::Read(); })
      .Wait(kFadeInFrames)
      .Do([&] {
        const int32_t s = FirstMisplaced(ShownOrder(ShownFrame::Read()));
        SetScriptedPointer(ArrowX(), ArrowY(s + 1));
      })
      .Press()
      .Release()
      .Wait(FramesFor(900))
      .MoveTo(kTestX, kTestY)
      .Press()
      .Do([&] {
        SetScriptedButton(MOUSE_LEFT, false);
        releaseFrame = script_.FramesPlayed();
      })
      .MoveTo(400, 580)
      .Wait(FramesFor(500))
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        wholeAfterClick = BoardWhole(frame);
        fadingOpacity = TopStripOpacity(frame, background);
        fadingFrame = script_.FramesPlayed();
      })
      .Wait(FramesFor(600))
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        // Only the background where the board was.
        goneLater = frame.CellAt(puzzletest::kSwapLeft + 250, 241).column < 0 &&
                    frame.CellAt(puzzletest::kSwapLeft + 250, 141).column < 0;
        slot0 = ResultShown(frame, 0);
      })
      .Wait(FramesFor(1300))
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        wholeAgain = BoardWhole(frame);
        next = ShownOrder(frame);
      })
      .KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);

  EXPECT_EQ(SwapPuzzleScreen(kEasy), PuzzleRound::Play);
  EXPECT_FALSE(wholeAfterClick) << "half-way through the fade-out";
  // 41 of the 43 frames since the release faded the board by 12 ms each at one opacity
  // per second, the other two are those of the test and of reading back.
  ASSERT_EQ(fadingFrame - releaseFrame, 43u);
  EXPECT_NEAR(fadingOpacity, 1 - 41 * 0.012, 0.01);
  EXPECT_TRUE(goneLater);
  EXPECT_EQ(slot0, Result::Star);
  EXPECT_TRUE(wholeAgain);
  EXPECT_FALSE(IsOrderSolved(next));
}

TEST_F(SwapPuzzle, TheSeventhResultEndsPlayAndTheScreenReturnsFiveOnceTheRowHasFaded) {
  std::array<Result, 7> row{};
  StripOrder before{}, after{};
  bool wholeAfter = false;
  uint32_t seventhFrame = 0;
  script_.Wait(kFadeInFrames).Do([&] { before = ShownOrder(ShownFrame::Read()); });
  // Six stones, each given time to fade in fully.
  for (int i = 0; i < 6; ++i) script_.Click(kTestX, kTestY).Wait(FramesFor(1100));
  script_
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        for (int32_t i = 0; i < 7; ++i) row[static_cast<size_t>(i)] = ResultShown(frame, i);
      })
      .Click(kTestX, kTestY)
      .Do([&] { seventhFrame = script_.FramesPlayed(); })
      // The arrows no longer answer.
      .Click(ArrowX(), ArrowY(1))
      .Wait(FramesFor(1000))
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        after = ShownOrder(frame);
        wholeAfter = BoardWhole(frame);
      });
  script_.Play(*MainScreen, 2500);

  EXPECT_EQ(SwapPuzzleScreen(kHard), PuzzleRound::Finished);
  EXPECT_EQ(before, FirstRoundOrder(13)) << "thirteen exchanges at the hard level";
  for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(row[static_cast<size_t>(i)], Result::Stone) << i;
  EXPECT_EQ(row[6], Result::Empty);
  // Seven slots at full opacity fade out one after another, a second each.
  const uint32_t fadeFrames = script_.FramesPlayed() - seventhFrame;
  EXPECT_GT(fadeFrames, FramesFor(6500));
  EXPECT_LT(fadeFrames, FramesFor(7600));
  EXPECT_EQ(after, before);
  EXPECT_TRUE(wholeAfter) << "the board does not fade after the seventh result";
}

TEST_F(SwapPuzzle, CAndNSkipThePictureDuringPlayButNotDuringTheFadeIn) {
  bool wholeAfterFadeIn = false, fading = false, wholeAgain = false;
  Result slot0 = Result::Star;
  script_.Wait(10)
      .KeyDown(KEY_C)
      .KeyDown(KEY_N)
      .Wait(10)
      .KeyUp(KEY_C)
      .KeyUp(KEY_N)
      .Wait(kFadeInFrames - 24)
      .Do([&] { wholeAfterFadeIn = BoardWhole(ShownFrame::Read()); })
      .KeyDown(KEY_C)
      .KeyDown(KEY_N)
      .KeyUp(KEY_N)
      .KeyUp(KEY_C)
      .Wait(FramesFor(400))
      .Do([&] { fading = !BoardWhole(ShownFrame::Read()); })
      .Wait(FramesFor(2200))
      .Do([&] {
        const ShownFrame frame = ShownFrame::Read();
        wholeAgain = BoardWhole(frame);
        slot0 = ResultShown(frame, 0);
      })
      .KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);

  EXPECT_EQ(SwapPuzzleScreen(kEasy), PuzzleRound::Play);
  EXPECT_TRUE(wholeAfterFadeIn) << "C+N during the fade-in does nothing";
  EXPECT_TRUE(fading);
  EXPECT_TRUE(wholeAgain);
  EXPECT_EQ(slot0, Result::Empty) << "a skip adds no result";
}

TEST_F(SwapPuzzle, EveryCellLandsOnItsPixelsWithItsBevel) {
  ShownFrame shown;
  script_.Wait(kFadeInFrames).Do([&] { shown = ShownFrame::Read(); }).KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);
  SwapPuzzleScreen(kMedium);

  const StripOrder order = ShownOrder(shown);
  ASSERT_FALSE(IsOrderSolved(order));
  EXPECT_EQ(order, FirstRoundOrder(3)) << "three exchanges at the medium level";
  int32_t wrong = 0;
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 50; ++x) {
      const int32_t pictureRow = order[static_cast<size_t>(y / 10)] * 10 + y % 10;
      wrong += !shown.ShowsCell(puzzletest::kSwapLeft + 10 * x, puzzletest::kBoardTop + 10 * y,
                                puzzletest::TestCell(x, pictureRow));
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(SwapPuzzle, EscapeDuringAnExchangeLeavesAtOnce) {
  uint32_t escapeFrame = 0;
  script_.Wait(kFadeInFrames)
      .Click(ArrowX(), ArrowY(1))
      .Wait(5)
      .Do([&] {
        SetScriptedKey(KEY_ESCAPE, true);
        escapeFrame = script_.FramesPlayed();
      });
  script_.Play(*MainScreen, 2000);

  EXPECT_EQ(SwapPuzzleScreen(kEasy), PuzzleRound::Play);
  EXPECT_EQ(script_.FramesPlayed(), escapeFrame);
}

}  // namespace
