// The real game played with real X mouse events: from the menu into an easy
// swap puzzle, exchanging strips until a test earns a star, and Escape back to the menu.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "GameLauncher.h"
#include "MenuPlaces.h"

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

constexpr int32_t kMenuSwapX = 624 + 73, kMenuSwapY = 437 + 74;
constexpr int32_t kArrowX = 688 + 30;
constexpr int32_t kTestX = 662 + 44, kTestY = 478 + 47;
// A point of the sky in the menu and the difficulty choice, of the wall in the puzzle.
constexpr int32_t kSkyX = 50, kSkyY = 300;

// The board's four strips.
constexpr tafutest::Box kBoard = {170, 41, 500, 400};

int32_t ArrowY(int32_t k) { return 100 * k - 5 + 51; }

uint32_t Red(uint32_t pixel) { return pixel & 0xFF; }
uint32_t Green(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
uint32_t Blue(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
bool IsStarYellow(uint32_t pixel) { return Red(pixel) > 200 && Green(pixel) > 170 && Blue(pixel) < 150; }

// The game with what this test looks for: the menu's sky, a star in the result row.
class RunningGame : public tafutest::GameLauncher {
 public:
  // The menu or the difficulty choice.
  bool MenuShown() const { return tafutest::IsBluish(Pixel(kSkyX, kSkyY)); }
  // A star in any of the first slots of the result row.
  bool StarShown() const {
    for (int32_t slot = 0; slot < 7; ++slot)
      for (int32_t dy : {-4, 0, 4})
        if (IsStarYellow(Pixel(134 + 67 * slot + 33, 500 + 30 + dy))) return true;
    return false;
  }
};

TEST(SwapPlay, FromTheMenuToAStarAndBackWithEscape) {
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  RunningGame game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(WaitFor([&] { return game.MenuShown(); }, 10s));

  // The choice of difficulty comes once the click has sounded; then the puzzle's picture
  // fades in.
  ASSERT_TRUE(game.ActAndSeeScreenChange([&] { return game.Click(kMenuSwapX, kMenuSwapY); }));
  ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(tafutest::kEasyButton); }, kBoard));
  ASSERT_FALSE(game.MenuShown());

  // An easy round has one pair of neighbours exchanged: try each arrow, testing after it
  // and putting the strips back when the test says no.
  bool star = false;
  for (int32_t k = 1; k <= 3 && !star; ++k) {
    ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(kArrowX, ArrowY(k)); }, kBoard));
    ASSERT_TRUE(game.Click(kTestX, kTestY));
    star = WaitFor([&] { return game.StarShown(); }, 2s);
    if (star) break;
    ASSERT_TRUE(game.ActAndWaitForStill([&] { return game.Click(kArrowX, ArrowY(k)); }, kBoard));
  }
  EXPECT_TRUE(star);

  ASSERT_TRUE(game.Key("Escape"));
  EXPECT_TRUE(WaitFor([&] { return game.MenuShown(); }, 5s));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
