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

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

struct Spot {
  int32_t x;
  int32_t y;
};

// Centres of what the child clicks, in window pixels.
constexpr Spot kMenuPaint = {218, 275};
constexpr Spot kMenuSlide = {681, 313};
constexpr Spot kMenuSwap = {697, 511};
constexpr Spot kMenuCopyDrawing = {603, 130};
constexpr Spot kMenuCopyColours = {428, 434};
constexpr Spot kMenuOptions = {769, 35};
constexpr Spot kBigCanvas = {291, 300};
constexpr Spot kSmallCanvas = {553, 300};
constexpr Spot kEasy = {172, 300};
// The back button of the selection and options screens and the studio's exit.
constexpr Spot kBack = {83, 515};
constexpr Spot kStudioExit = {61, 534};
// Points spread over the window where one screen differs from the next.
const std::vector<Spot> kProbes = {{200, 200}, {400, 120}, {700, 300}, {400, 580}, {30, 30}, {480, 330}};
// The menu's open sky.
constexpr Spot kMenuSky = {200, 200};

constexpr int32_t kChannelChange = 24;
constexpr size_t kProbesChanged = 2;

int32_t Channel(uint32_t pixel, int shift) { return static_cast<int32_t>((pixel >> shift) & 0xFF); }
bool IsBluish(uint32_t pixel) { return Channel(pixel, 16) > Channel(pixel, 0) + 40; }
bool Differs(uint32_t a, uint32_t b) {
  for (const int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelChange) return true;
  return false;
}

// The game with what a play-through looks for: a screen giving way to the next.
class GameCopy : public tafutest::GameLauncher {
 public:
  uint32_t Pixel(Spot spot) const { return GameLauncher::Pixel(spot.x, spot.y); }
  std::vector<uint32_t> Snapshot() const {
    std::vector<uint32_t> pixels;
    for (const Spot& probe : kProbes) pixels.push_back(Pixel(probe));
    return pixels;
  }

  // Clicks at spot, then waits until the screen shown before the click has
  // given way to another one.
  bool ClickAndSeeChange(Spot spot) const {
    const std::vector<uint32_t> before = Snapshot();
    return Click(spot.x, spot.y) && WaitForChangeFrom(before);
  }
  bool PressEscapeAndSeeChange() const {
    const std::vector<uint32_t> before = Snapshot();
    return Key("Escape") && WaitForChangeFrom(before);
  }

  bool WaitForMenu() const { return WaitForPixel(kMenuSky.x, kMenuSky.y, IsBluish); }

 private:
  bool WaitForChangeFrom(const std::vector<uint32_t>& before) const {
    return WaitFor(
        [&] {
          const std::vector<uint32_t> now = Snapshot();
          size_t changed = 0;
          for (size_t i = 0; i < now.size(); ++i) changed += Differs(now[i], before[i]) ? 1 : 0;
          return changed >= kProbesChanged;
        },
        10s);
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

  for (const Spot canvas : {kBigCanvas, kSmallCanvas}) {
    SCOPED_TRACE(canvas.x == kBigCanvas.x ? "big studio" : "small studio");
    ASSERT_TRUE(game.ClickAndSeeChange(kMenuPaint));
    ASSERT_TRUE(game.ClickAndSeeChange(canvas));
    ASSERT_TRUE(game.ClickAndSeeChange(kStudioExit));
    ASSERT_TRUE(game.WaitForMenu());
  }

  for (const Spot activity : {kMenuSlide, kMenuSwap, kMenuCopyDrawing}) {
    SCOPED_TRACE("activity at " + std::to_string(activity.x) + ", " + std::to_string(activity.y));
    ASSERT_TRUE(game.ClickAndSeeChange(activity));
    ASSERT_TRUE(game.ClickAndSeeChange(kEasy));
    ASSERT_TRUE(game.PressEscapeAndSeeChange());
    ASSERT_TRUE(game.WaitForMenu());
  }

  {
    SCOPED_TRACE("copy colours");
    ASSERT_TRUE(game.ClickAndSeeChange(kMenuCopyColours));
    ASSERT_TRUE(game.PressEscapeAndSeeChange());
    ASSERT_TRUE(game.WaitForMenu());
  }
  {
    SCOPED_TRACE("options");
    ASSERT_TRUE(game.ClickAndSeeChange(kMenuOptions));
    ASSERT_TRUE(game.ClickAndSeeChange(kBack));
    ASSERT_TRUE(game.WaitForMenu());
  }

  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
