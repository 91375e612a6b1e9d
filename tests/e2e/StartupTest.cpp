#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <sstream>
#include <string>

#include "GameLauncher.h"
#include "MenuPlaces.h"

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

}  // namespace
