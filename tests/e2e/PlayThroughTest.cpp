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
// Points spread over the window where one screen differs from the next.
const std::vector<Spot> kProbes = {{200, 200}, {400, 120}, {700, 300}, {400, 580}, {30, 30}, {480, 330}};

constexpr int32_t kChannelChange = 24;
constexpr size_t kProbesChanged = 2;

int32_t Channel(uint32_t pixel, int shift) { return static_cast<int32_t>((pixel >> shift) & 0xFF); }
bool Differs(uint32_t a, uint32_t b) {
  for (const int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelChange) return true;
  return false;
}

// The game with what a play-through looks for: a screen giving way to the next.
class GameCopy : public tafutest::GameLauncher {
 public:
  std::vector<uint32_t> Snapshot() const {
    std::vector<uint32_t> pixels;
    for (const Spot& probe : kProbes) pixels.push_back(Pixel(probe));
    return pixels;
  }

  // Clicks at spot, then waits until the screen shown before the click has
  // given way to another one.
  bool ClickAndSeeChange(Spot spot) const {
    const std::vector<uint32_t> before = Snapshot();
    return Click(spot) && WaitForChangeFrom(before);
  }
  bool PressEscapeAndSeeChange() const {
    const std::vector<uint32_t> before = Snapshot();
    return Key("Escape") && WaitForChangeFrom(before);
  }

  bool WaitForMenu() const { return WaitForPixel(tafutest::kMenuSky, tafutest::IsBluish); }

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
