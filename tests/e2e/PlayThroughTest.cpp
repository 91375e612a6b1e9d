// The real game played through as a child would: every activity of the menu
// visited and left again with the real mouse and keyboard events of the X server, then
// the window closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

using Spot = tafutest::Point;
using tafutest::kBig;
using tafutest::kCopyColours;
using tafutest::kCopyDrawing;
using tafutest::kEasyButton;
using tafutest::kExit;
using tafutest::kOptions;
using tafutest::kPaint;
using tafutest::kSlide;
using tafutest::kSmall;
using tafutest::kStudioExit;

// The swap button's centre.
constexpr Spot kMenuSwap = {697, 511};

// The game with what a play-through looks for: a screen giving way to the next.
class GameCopy : public tafutest::GameLauncher {
 public:
  // Clicks at spot, then waits until the screen shown before the click has
  // given way to another one.
  bool ClickAndSeeChange(Spot spot) const {
    return ActAndSeeScreenChange([&] { return Click(spot); });
  }
  bool PressEscapeAndSeeChange() const {
    return ActAndSeeScreenChange([&] { return Key("Escape"); });
  }
};

class PlayThrough : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = tafutest::EndToEndUnavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  }
};

TEST_F(PlayThrough, EveryActivityOfTheMenuIsVisitedAndLeftThenTheWindowClosesWithZero) {
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForMenu());

  for (const Spot canvas : {kBig, kSmall}) {
    SCOPED_TRACE(canvas.x == kBig.x ? "big studio" : "small studio");
    ASSERT_TRUE(game.ClickAndSeeChange(kPaint));
    ASSERT_TRUE(game.ClickAndSeeChange(canvas));
    ASSERT_TRUE(game.ClickAndSeeChange(kStudioExit));
    ASSERT_TRUE(game.WaitForMenu());
  }

  for (const Spot activity : {kSlide, kMenuSwap, kCopyDrawing}) {
    SCOPED_TRACE("activity at " + std::to_string(activity.x) + ", " + std::to_string(activity.y));
    ASSERT_TRUE(game.ClickAndSeeChange(activity));
    ASSERT_TRUE(game.ClickAndSeeChange(kEasyButton));
    ASSERT_TRUE(game.PressEscapeAndSeeChange());
    ASSERT_TRUE(game.WaitForMenu());
  }

  {
    SCOPED_TRACE("copy colours");
    ASSERT_TRUE(game.ClickAndSeeChange(kCopyColours));
    ASSERT_TRUE(game.PressEscapeAndSeeChange());
    ASSERT_TRUE(game.WaitForMenu());
  }
  {
    SCOPED_TRACE("options");
    ASSERT_TRUE(game.ClickAndSeeChange(kOptions));
    ASSERT_TRUE(game.ClickAndSeeChange(kExit));
    ASSERT_TRUE(game.WaitForMenu());
  }

  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
