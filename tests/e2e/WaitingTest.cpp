// The real game sleeps while its screen stays the same, and loses nothing by it: a key, a
// click (one right after another press let go too) and the window's close are answered as
// soon as they come, and the test button's result picture still gives way by itself after
// its 1.8 seconds.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "GameLauncher.h"
#include "MenuPlaces.h"

namespace {

using namespace std::chrono_literals;
using namespace tafutest;
using Clock = std::chrono::steady_clock;

// Long enough for the game to be resting. A move of the pointer wakes it, and it rests afresh
// for up to a second: an event 50 ms later that waited for that rest to end would take more
// than kPrompt, which leaves a slow machine time to answer (and to end the game).
constexpr auto kRest = 1500ms;
constexpr auto kPrompt = 900ms;
constexpr Point kBesideNowhere = {kNowhere.x + 1, kNowhere.y};

bool RestAfresh(const GameLauncher& game) {
  std::this_thread::sleep_for(kRest);
  const bool moved = game.MoveTo(kBesideNowhere) && game.MoveTo(kNowhere);
  std::this_thread::sleep_for(50ms);
  return moved;
}
constexpr Point kTestButton = {662 + 44, 478 + 47};
constexpr Point kFirstSlot = {134 + 33, 530};

std::chrono::milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

TEST(Waiting, AtRestAKeyAClickAndACloseAreAnsweredAtOnceAndTheTestPictureStillTurnsBack) {
  if (const std::string unavailable = EndToEndUnavailable(); !unavailable.empty()) GTEST_SKIP() << unavailable;
  GameLauncher game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForPixel(kMenuSky, IsBluish));

  // A click on the swap button, from rest: the pointer's move and the press wake the game.
  ASSERT_TRUE(game.MoveTo(kNowhere));
  std::this_thread::sleep_for(kRest);
  ASSERT_TRUE(game.ActAndSeeScreenChange([&] { return game.Click(kSwap); }));
  // A press held where nothing answers and let go as the pointer leaves for a button: the
  // click there is a press of its own, not the end of the held one.
  ASSERT_TRUE(game.MoveTo(kNowhere) && Xdotool("mousedown 1 sleep 1"));
  const std::string easy = std::to_string(kEasyButton.x) + " " + std::to_string(kEasyButton.y);
  ASSERT_TRUE(game.ActAndSeeScreenChange([&] {
    return Xdotool("mouseup 1 mousemove --window " + std::to_string(game.Window().id) + " " + easy + " sleep 0.05 click 1");
  }));

  // The test on an unsolved board: a stone, and the result picture for 1.8 s, with no input.
  std::this_thread::sleep_for(2s);
  const uint32_t restingTest = game.Pixel(kTestButton);
  const uint32_t emptySlot = game.Pixel(kFirstSlot);
  ASSERT_TRUE(game.Click(kTestButton) && game.MoveTo(kNowhere));
  ASSERT_TRUE(WaitFor([&] { return game.Pixel(kFirstSlot) != emptySlot; }, 2s)) << "no stone";
  const Clock::time_point shown = Clock::now();
  ASSERT_TRUE(WaitFor([&] { return game.Pixel(kTestButton) == restingTest; }, 4s));
  EXPECT_GT(Since(shown), 1500ms);
  EXPECT_LT(Since(shown), 2100ms);

  // Escape from rest leaves the puzzle at once.
  ASSERT_TRUE(RestAfresh(game));
  Clock::time_point pressed = Clock::now();
  ASSERT_TRUE(game.Key("Escape"));
  ASSERT_TRUE(game.WaitForPixel(kMenuSky, IsBluish, 2s));
  EXPECT_LT(Since(pressed), kPrompt);

  // The window's close from rest ends the game at once.
  ASSERT_TRUE(RestAfresh(game));
  pressed = Clock::now();
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(2s), 0);
  EXPECT_LT(Since(pressed), kPrompt);
}

}  // namespace
