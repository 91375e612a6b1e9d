#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "PuzzleScreenFixture.h"
#include "TestAssets.h"
#include "shell/Screens.h"
#include "puzzles/StripRules.h"
#include "sound/KSample.h"

namespace {

using puzzletest::FramesFor;
using puzzletest::ShownFrame;

constexpr int32_t kTestX = 706;
constexpr int32_t kTestY = 525;
constexpr uint32_t kFadeInFrames = FramesFor(1200);
constexpr int32_t kLeft = puzzletest::kSlideLeft;

int32_t LeftArrowX() { return 94 + 35; }
int32_t RightArrowX() { return 684 + 34; }
int32_t ArrowY(int32_t strip) { return 68 + 100 * strip + 30; }

// How many cells screen strip s is shown shifted to the right (0 to 49), read from all
// its columns; -1 when the strip is not seen whole and still.
int32_t ShownShift(const ShownFrame& frame, int32_t s) {
  const int32_t top = puzzletest::kBoardTop + 100 * s + 40;
  const puzzletest::CellName first = frame.CellAt(kLeft, top);
  if (first.column < 0 || first.strip != s) return -1;
  const int32_t shift = (50 - first.column) % 50;
  for (int32_t c = 0; c < 50; ++c) {
    const puzzletest::CellName cell = frame.CellAt(kLeft + 10 * c, top);
    if (cell.strip != s || cell.column != ShiftedColumn(c, -shift, 50)) return -1;
  }
  return shift;
}

// Screen strip s rests shifted by shift cells: every pixel of its row 4 in place.
bool RestsAt(const ShownFrame& frame, int32_t s, int32_t shift) {
  for (int32_t c = 0; c < 50; ++c)
    if (!frame.ShowsCell(kLeft + 10 * c, puzzletest::kBoardTop + 100 * s + 40,
                         puzzletest::TestCell(ShiftedColumn(c, -shift, 50), 10 * s + 4)))
      return false;
  return true;
}

std::array<int32_t, 4> ShownShifts(const ShownFrame& frame) {
  std::array<int32_t, 4> shifts{};
  for (int32_t s = 0; s < 4; ++s) shifts[static_cast<size_t>(s)] = ShownShift(frame, s);
  return shifts;
}

bool Whole(const std::array<int32_t, 4>& shifts) { return shifts == std::array<int32_t, 4>{0, 0, 0, 0}; }

// A random seed whose first round at this difficulty displaces strips only by the
// amounts wanted accepts.
uint32_t SeedFor(int32_t difficulty, const std::function<bool(int32_t)>& wanted) {
  for (uint32_t seed = 1; seed < 100000; ++seed) {
    SeedRandom(seed);
    StripOffsets offsets{};
    DisplaceStrips(offsets, difficulty, 50);
    bool all = true;
    for (int32_t offset : offsets) all = all && (offset == 0 || wanted(offset));
    if (all) return seed;
  }
  ADD_FAILURE() << "no seed displaces strips that way";
  return 0;
}

// The strip a seed displaces first, and by how much.
std::pair<int32_t, int32_t> Displacement(uint32_t seed, int32_t difficulty) {
  SeedRandom(seed);
  StripOffsets offsets{};
  DisplaceStrips(offsets, difficulty, 50);
  for (int32_t s = 0; s < 3; ++s)
    if (offsets[static_cast<size_t>(s)] != 0) return {s, offsets[static_cast<size_t>(s)]};
  return {-1, 0};
}

// The test button's ring: green after a right test.
bool TestButtonGreen(const ShownFrame& frame) {
  return puzzletest::TestButtonFace(frame) == puzzletest::ButtonFace::Right;
}

// Result slot 0 shows something other than its empty hollow.
bool FirstResultShown(const ShownFrame& frame, const ShownFrame& empty) {
  int32_t differing = 0;
  for (int32_t y = 510; y < 550; ++y)
    for (int32_t x = 150; x < 185; ++x) differing += frame.Pixel(x, y) != empty.Pixel(x, y);
  return differing > 100;
}

class SlidePuzzle : public puzzletest::PuzzleScreenTest {
 protected:
  // Plays a round whose one displaced strip is off by offset, slides it the way given
  // one step and then another, and checks what the screen shows on the way: after the
  // first step the strip is off by offset + 2 (or - 2), after the second it is whole.
  void SlideRoundTheRing(int32_t offset, SlideDirection direction) {
    const uint32_t seed = SeedFor(kEasy, [offset](int32_t o) { return o == offset; });
    const int32_t strip = Displacement(seed, kEasy).first;
    const int32_t arrowX = direction == SlideDirection::Right ? RightArrowX() : LeftArrowX();
    ShownFrame background, during;
    std::array<int32_t, 4> before{}, middle{}, after{};
    bool wrongFirst = true, rightAfter = false;
    const int32_t step = direction == SlideDirection::Right ? 2 : -2;
    uint32_t pressFrame = 0, stepFrame = 0;
    script_.Wait(1)
        .Do([&] { background = ShownFrame::Read(); })
        .Wait(kFadeInFrames)
        .Do([&] { before = ShownShifts(ShownFrame::Read()); })
        .MoveTo(arrowX, ArrowY(strip))
        .Do([&] {
          SetScriptedButton(MOUSE_LEFT, true);
          pressFrame = script_.FramesPlayed();
        })
        .Release()
        .MoveTo(400, 580)
        .WaitUntil(
            [&] {
              stepFrame = script_.FramesPlayed();
              return RestsAt(ShownFrame::Read(), strip, (offset + step + 50) % 50);
            },
            FramesFor(1000))
        .Wait(FramesFor(100))
        .Do([&] { middle = ShownShifts(ShownFrame::Read()); })
        .Click(kTestX, kTestY)
        .Wait(2)
        .Do([&] { wrongFirst = TestButtonGreen(ShownFrame::Read()); })
        .MoveTo(arrowX, ArrowY(strip))
        .Press()
        .Release()
        .MoveTo(400, 580)
        .Wait(11)
        .Do([&] { during = ShownFrame::Read(); })
        .Wait(FramesFor(400))
        .Do([&] { after = ShownShifts(ShownFrame::Read()); })
        .Click(kTestX, kTestY)
        .Wait(2)
        .Do([&] { rightAfter = TestButtonGreen(ShownFrame::Read()); })
        .KeyDown(KEY_ESCAPE);
    SeedRandom(seed);
    script_.Play(*MainScreen, 2000);

    EXPECT_EQ(SlidePuzzleScreen(kEasy), PuzzleRound::FadeOut) << "Escape while the solved picture fades out";
    std::array<int32_t, 4> expected{0, 0, 0, 0};
    expected[static_cast<size_t>(strip)] = (offset + 50) % 50;
    EXPECT_EQ(before, expected);
    expected[static_cast<size_t>(strip)] = (offset + step + 50) % 50;
    // 20 pixels at 76 per second, 0.912 a frame of 12 ms: the strip rests two cells on in
    // the 22nd frame after the press, read back one frame later.
    EXPECT_EQ(stepFrame - pressFrame, 22u + 1);
    EXPECT_EQ(middle, expected);
    EXPECT_FALSE(wrongFirst);
    EXPECT_TRUE(Whole(after));
    EXPECT_TRUE(rightAfter);

    // Half-way through the step the cells leaving one edge come in at the other, and
    // the panes hide whatever lies beyond the board.
    const int32_t rowY = puzzletest::kBoardTop + 100 * strip + 45;
    const int32_t entering = direction == SlideDirection::Right ? kLeft + 2 : kLeft + 497;
    const puzzletest::CellName cell = NameCellNear(during, entering, rowY);
    const int32_t edgeColumn = direction == SlideDirection::Right ? 48 : 1;
    const int32_t shown = offset + step;
    EXPECT_EQ(cell.strip, strip);
    EXPECT_TRUE(cell.column == ShiftedColumn(edgeColumn, -shown, 50) ||
                cell.column == ShiftedColumn(edgeColumn + 1, -shown, 50) ||
                cell.column == ShiftedColumn(edgeColumn - 1, -shown, 50))
        << cell.column;
    // (The arrows lie over the panes, pulsing; rows clear of them are compared.)
    int32_t uncovered = 0, compared = 0;
    for (int32_t y = 39; y < 443; ++y) {
      if (CloseToAnArrow(y)) continue;
      for (int32_t x : {133, 150, 167, 668, 685, 702}) {
        uncovered += during.Pixel(x, y) != background.Pixel(x, y);
        ++compared;
      }
    }
    EXPECT_GT(compared, 600);
    EXPECT_EQ(uncovered, 0);
  }

  static bool CloseToAnArrow(int32_t y) {
    constexpr int32_t kMargin = 6;
    for (int32_t k = 0; k < 3; ++k)
      if (y >= 68 + 100 * k - kMargin && y < 128 + 100 * k + kMargin) return true;
    return false;
  }

  // The cell colour found in a few pixels to the right of (x, y) (past a bevel edge).
  static puzzletest::CellName NameCellNear(const ShownFrame& frame, int32_t x, int32_t y) {
    for (int32_t i = 0; i < 10; ++i) {
      const puzzletest::CellName name = puzzletest::NameCell(frame.Pixel(x + i, y));
      if (name.column >= 0 && name.row == 4) return name;
    }
    return {};
  }
};

TEST_F(SlidePuzzle, AnEasyRoundShiftsOneUpperStripByAnEvenAmount) {
  std::array<int32_t, 4> shifts{};
  script_.Wait(kFadeInFrames).Do([&] { shifts = ShownShifts(ShownFrame::Read()); }).KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);
  SeedRandom(23);
  EXPECT_EQ(SlidePuzzleScreen(kEasy), PuzzleRound::Play);

  int32_t shifted = 0;
  for (int32_t shift : shifts) {
    ASSERT_GE(shift, 0);
    EXPECT_EQ(shift % 2, 0);
    shifted += shift != 0;
  }
  EXPECT_EQ(shifted, 1);
  EXPECT_EQ(shifts[3], 0);
}

TEST_F(SlidePuzzle, AHardRoundShiftsAllThreeUpperStripsAndNeverTheBottomOne) {
  std::array<int32_t, 4> shifts{};
  script_.Wait(kFadeInFrames).Do([&] { shifts = ShownShifts(ShownFrame::Read()); }).KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);
  SeedRandom(31);
  EXPECT_EQ(SlidePuzzleScreen(kHard), PuzzleRound::Play);

  for (int32_t s = 0; s < 3; ++s) {
    EXPECT_GT(shifts[static_cast<size_t>(s)], 0) << s;
    EXPECT_EQ(shifts[static_cast<size_t>(s)] % 2, 0) << s;
  }
  EXPECT_EQ(shifts[3], 0);
}

// 46 slid right becomes 48, and 48 slid right comes round to 0.
TEST_F(SlidePuzzle, FortyEightSlidRightComesRoundToZero) { SlideRoundTheRing(46, SlideDirection::Right); }

// -46 slid left becomes -48, and -48 slid left comes round to 0.
TEST_F(SlidePuzzle, MinusFortyEightSlidLeftComesRoundToZero) { SlideRoundTheRing(-46, SlideDirection::Left); }

TEST_F(SlidePuzzle, TheTestIsRightOnlyOnceEveryStripIsBack) {
  const auto oneStep = [](int32_t o) { return o == 2 || o == -2; };
  const uint32_t seed = SeedFor(kMedium, oneStep);
  SeedRandom(seed);
  StripOffsets offsets{};
  DisplaceStrips(offsets, kMedium, 50);
  std::vector<std::pair<int32_t, int32_t>> moves;  // strip, arrow x
  for (int32_t s = 0; s < 3; ++s) {
    const int32_t offset = offsets[static_cast<size_t>(s)];
    if (offset != 0) moves.push_back({s, offset > 0 ? LeftArrowX() : RightArrowX()});
  }
  ASSERT_EQ(moves.size(), 2u);

  ShownFrame empty;
  bool greenAfterOne = true, resultAfterOne = false, greenAfterBoth = false;
  script_.Wait(kFadeInFrames)
      .Do([&] { empty = ShownFrame::Read(); })
      .Click(moves[0].second, ArrowY(moves[0].first))
      .Wait(FramesFor(400))
      .Click(kTestX, kTestY)
      .Wait(2)
      .Do([&] { greenAfterOne = TestButtonGreen(ShownFrame::Read()); })
      .MoveTo(400, 580)
      .Wait(FramesFor(1000))
      .Do([&] { resultAfterOne = FirstResultShown(ShownFrame::Read(), empty); })
      .Click(moves[1].second, ArrowY(moves[1].first))
      .Wait(FramesFor(400))
      .Click(kTestX, kTestY)
      .Wait(2)
      .Do([&] { greenAfterBoth = TestButtonGreen(ShownFrame::Read()); })
      .KeyDown(KEY_ESCAPE);
  SeedRandom(seed);
  script_.Play(*MainScreen, 2000);

  EXPECT_EQ(SlidePuzzleScreen(kMedium), PuzzleRound::FadeOut);
  EXPECT_FALSE(greenAfterOne);
  EXPECT_TRUE(resultAfterOne) << "a stone";
  EXPECT_TRUE(greenAfterBoth);
}

// The slide sound is replaced by a short blip, and the frames are given in real time,
// so that each step's sound can be heard start and stop. The sound is listened to apart
// from the frames, every 2 ms: a slow frame on a busy machine hides no blip.
TEST_F(SlidePuzzle, HoldingAnArrowKeepsTheStripMovingWithOneSoundAStep) {
  SharedAssets.Clear();
  tafutest::WriteWave(folder_ / "snd/sfx/slide.wav", 120);
  LoadSharedAssets();
  KSample* slide = SharedAssets.Sound(kSharedSlideSound);

  std::atomic<bool> listening{true};
  std::atomic<int32_t> sounds{0};
  std::thread listener([&] {
    bool wasPlaying = false;
    while (listening) {
      const bool playing = slide->IsPlaying();
      if (playing && !wasPlaying) ++sounds;
      wasPlaying = playing;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  int32_t steps = 0;
  int32_t lastShift = -1;
  uint32_t held = 0;
  const auto watch = [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(12));
    // While a step is on its way the strip can look shifted by an odd number of cells.
    const int32_t shift = ShownShift(ShownFrame::Read(), 0);
    if (shift >= 0 && shift % 2 == 0) {
      if (lastShift >= 0 && shift != lastShift) ++steps;
      lastShift = shift;
    }
  };
  script_.Wait(kFadeInFrames)
      .Do(watch)
      .MoveTo(RightArrowX(), ArrowY(0))
      .Press()
      .WaitUntil(
          [&] {
            watch();
            return ++held >= FramesFor(2630);
          },
          1000)
      .Release()
      .WaitUntil(
          [&] {
            watch();
            return ++held >= FramesFor(2630) + FramesFor(500);
          },
          1000)
      .KeyDown(KEY_ESCAPE);
  SeedRandom(5);
  script_.Play(*MainScreen, 3000);

  EXPECT_EQ(SlidePuzzleScreen(kEasy), PuzzleRound::Play);
  listening = false;
  listener.join();
  // 20 pixels at 76 per second: a step each 263 ms.
  EXPECT_GE(steps, 9);
  EXPECT_LE(steps, 11);
  EXPECT_EQ(sounds, steps);
}

TEST_F(SlidePuzzle, CAndNSkipAlsoQuietensTheTestButtonDuringTheFadeOut) {
  ShownFrame empty;
  bool result = true, wholeAgain = false;
  script_.Wait(kFadeInFrames)
      .Do([&] { empty = ShownFrame::Read(); })
      .KeyDown(KEY_C)
      .KeyDown(KEY_N)
      .KeyUp(KEY_N)
      .KeyUp(KEY_C)
      .Click(kTestX, kTestY)
      .MoveTo(400, 580)
      .Wait(FramesFor(1200))
      .Do([&] { result = FirstResultShown(ShownFrame::Read(), empty); })
      .Wait(FramesFor(1200))
      .Do([&] { wholeAgain = ShownShift(ShownFrame::Read(), 3) == 0; })
      .KeyDown(KEY_ESCAPE);
  SeedRandom(9);
  script_.Play(*MainScreen, 2000);

  EXPECT_EQ(SlidePuzzleScreen(kEasy), PuzzleRound::Play);
  EXPECT_FALSE(result) << "the click during the skip's fade-out was ignored";
  EXPECT_TRUE(wholeAgain) << "a new round faded in";
}

TEST_F(SlidePuzzle, EveryCellLandsOnItsPixelsWithItsBevel) {
  ShownFrame shown;
  script_.Wait(kFadeInFrames).Do([&] { shown = ShownFrame::Read(); }).KeyDown(KEY_ESCAPE);
  script_.Play(*MainScreen, 2000);
  SeedRandom(41);
  SlidePuzzleScreen(kHard);

  const std::array<int32_t, 4> shifts = ShownShifts(shown);
  int32_t wrong = 0;
  for (int32_t y = 0; y < 40; ++y) {
    const int32_t shift = shifts[static_cast<size_t>(y / 10)];
    ASSERT_GE(shift, 0);
    for (int32_t x = 0; x < 50; ++x) {
      const int32_t c = ShiftedColumn(x, shift, 50);
      wrong += !shown.ShowsCell(kLeft + 10 * c, puzzletest::kBoardTop + 10 * y, puzzletest::TestCell(x, y));
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
