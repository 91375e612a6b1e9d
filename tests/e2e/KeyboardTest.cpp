// Every key the game answers, pressed on the real game through the X server: F1 on the
// menu and on a selection screen, C and N together and Escape in a puzzle.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "GameLauncher.h"
#include "MenuPlaces.h"

namespace {

using namespace std::chrono_literals;

using tafutest::IsBluish;
using tafutest::Channel;
using tafutest::IsWarm;
using tafutest::kMenuSky;

constexpr int32_t kSwapX = 697, kSwapY = 511;
constexpr int32_t kWallX = 30, kWallY = 100;  // warm in the puzzles, cool in the menu and selection screens
// Points on the swap puzzle's board; the picture is chosen at random.
constexpr int32_t kBoardPoints[][2] = {{200, 200}, {300, 250}, {400, 300}, {250, 350}, {450, 150}};

bool IsNearWhite(uint32_t pixel) { return Channel(pixel, 0) >= 245 && Channel(pixel, 8) >= 245 && Channel(pixel, 16) >= 245; }

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = tafutest::EndToEndUnavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.WaitForMenu());
  }
  bool WaitForChangeFrom(uint32_t before, int32_t x, int32_t y) {
    return game.WaitForPixel(x, y, [before](uint32_t now) { return now != before; });
  }

  tafutest::GameLauncher game;
};

TEST_F(Keyboard, F1PressedOnceRebuildsTheMenuWhichThenAnswersAClick) {
  ASSERT_TRUE(game.KeyDown("F1"));
  ASSERT_TRUE(tafutest::Xdotool("sleep 0.3"));
  ASSERT_TRUE(game.KeyUp("F1"));
  ASSERT_TRUE(game.WaitForMenu());
  ASSERT_TRUE(game.Click(tafutest::kOptions));
  EXPECT_TRUE(game.WaitForPixel(kMenuSky, IsWarm, 5s));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

TEST_F(Keyboard, AWindowClosedWhileF1IsHeldEndsTheGameOnceF1IsUp) {
  ASSERT_TRUE(game.KeyDown("F1"));
  ASSERT_TRUE(tafutest::Xdotool("sleep 0.3"));
  ASSERT_TRUE(game.Close());
  ASSERT_TRUE(tafutest::Xdotool("sleep 0.3"));
  ASSERT_TRUE(game.KeyUp("F1"));
  EXPECT_EQ(game.Wait(5s), 0);
}

TEST_F(Keyboard, F1OnASelectionScreenAndCWithNThenEscapeInAPuzzle) {
  const uint32_t menuSky = game.Pixel(kMenuSky);
  ASSERT_TRUE(game.Click(kSwapX, kSwapY));
  ASSERT_TRUE(WaitForChangeFrom(menuSky, kMenuSky.x, kMenuSky.y));
  // A press of F1 that is over before the choice does not throw the choice away.
  ASSERT_TRUE(game.Key("F1"));
  ASSERT_TRUE(game.Click(tafutest::kEasyButton));
  ASSERT_TRUE(game.WaitForPixel(kWallX, kWallY, IsWarm)) << "the menu came back instead of the puzzle";

  // C and N held together skip the round: the board, once faded in, fades out to white
  // before the next one.
  ASSERT_TRUE(tafutest::WaitFor(
      [&] {
        const uint32_t before = game.Pixel(kBoardPoints[0][0], kBoardPoints[0][1]);
        tafutest::Xdotool("sleep 0.3");
        return game.Pixel(kBoardPoints[0][0], kBoardPoints[0][1]) == before;
      },
      10s));
  int32_t x = -1, y = -1;
  for (const auto& point : kBoardPoints)
    if (x < 0 && !IsNearWhite(game.Pixel(point[0], point[1]))) x = point[0], y = point[1];
  ASSERT_GE(x, 0) << "no coloured point on the board";
  ASSERT_TRUE(game.KeyDown("c"));
  ASSERT_TRUE(game.KeyDown("n"));
  EXPECT_TRUE(game.WaitForPixel(x, y, IsNearWhite, 5s));
  ASSERT_TRUE(game.KeyUp("n"));
  ASSERT_TRUE(game.KeyUp("c"));

  ASSERT_TRUE(game.Key("Escape"));
  ASSERT_TRUE(game.WaitForMenu());
  ASSERT_TRUE(game.Click(tafutest::kExit));
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
