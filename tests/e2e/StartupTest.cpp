#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "XWindows.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(Startup, OpensTheWindowAndEndsWithZeroOnAPoliteClose) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  tafutest::GameLauncher game;
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.Window().width, 800);
  EXPECT_EQ(game.Window().height, 600);

  const auto closed = Clock::now();
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(std::chrono::seconds(2)), 0);
  EXPECT_LT(Clock::now() - closed, std::chrono::seconds(2));
}

// As from a text console or over ssh: SDL would settle for an invisible driver and run
// the frame loop where nobody sees it.
TEST(Startup, WithoutADisplayTheGameSaysSoAndEndsWithOneAtOnce) {
  tafutest::GameLauncher game;
  const auto started = Clock::now();
  ASSERT_TRUE(game.Launch({.unset = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}}));
  EXPECT_EQ(game.Wait(std::chrono::seconds(1)), 1);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(1));
  const std::string errors = game.Errors();
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  EXPECT_NE(errors.find("display"), std::string::npos) << errors;
  EXPECT_EQ(game.Output(), "");
}

// SDL's own choice of sound driver, as on a player's machine: without a sound card the
// audio libraries complain each time the device is asked for. Every sound the game makes
// (dozens at start-up, more on each new screen) must not ask again and repeat them.
TEST(Startup, WithoutASoundDeviceNothingOnStandardErrorRepeats) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  tafutest::GameLauncher game;
  ASSERT_TRUE(game.Launch({.unset = {"SDL_AUDIODRIVER"}}));
  ASSERT_TRUE(game.WaitForWindow());
  // The menu's blue sky, the options screen's warm wall, the menu again.
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish));
  ASSERT_TRUE(game.Click(tafutest::kOptions));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsWarm, std::chrono::seconds(5)));
  ASSERT_TRUE(game.Click(tafutest::kExit));
  ASSERT_TRUE(game.WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish, std::chrono::seconds(5)));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(std::chrono::seconds(5)), 0);

  std::istringstream errors(game.Errors());
  std::set<std::string> seen;
  std::string repeated;
  for (std::string line; std::getline(errors, line);)
    if (!seen.insert(line).second) repeated += line + "\n";
  EXPECT_EQ(repeated, "");
}

// SHOWFPS = 1 in setup.ini puts the frames the game counted in each real second in its title
// (" 83 FPS"). With the pointer on a pulsing button of the menu every frame is drawn, each
// held to the 12 ms of 80 frames a second, and 83 of those fit in a second; the best second
// counts, up to ten of them, since a busy machine can only lose frames. The next rates'
// delays, 11 and 13 ms, give 90 and 76.
TEST(Startup, CountsTheFramesOfEightyASecondInARealSecond) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  tafutest::GameLauncher game({"img", "snd", "game"});
  tafutest::WriteFile(game.File("setup.ini"), "[DEBUG]\r\nSHOWFPS=1\r\n");
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.MoveTo(tafutest::kPaint));
  int best = 0;
  const auto until = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < until && best < 80) {
    const std::string title = tafutest::XWindowTitle(game.Window().id);
    if (title.ends_with(" FPS")) best = std::max(best, std::stoi(title));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_GE(best, 80) << "every second counted fewer frames";
  EXPECT_LE(best, 86);
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(std::chrono::seconds(5)), 0);
}

}  // namespace
