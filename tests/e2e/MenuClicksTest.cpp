// The real game under the test's X server, played with real X mouse events.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "GameLauncher.h"
#include "MenuPlaces.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

using tafutest::kExit;
using tafutest::kMenuSky;
using tafutest::kOptions;
using tafutest::MusicLed;

// The game with what these tests wait for: the menu's blue sky, the options screen's warm wall.
class GameCopy : public tafutest::GameLauncher {
 public:
  bool WaitForOptions() const { return WaitForPixel(kMenuSky, tafutest::IsWarm, 5s); }
};

class MenuClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = tafutest::EndToEndUnavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  }
};

TEST_F(MenuClicks, TheExitButtonEndsTheGameWithZero) {
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForMenu());
  ASSERT_TRUE(game.Click(kExit));
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_FALSE(fs::exists(game.File("options.raw")));
}

TEST_F(MenuClicks, AVolumeChosenInTheOptionsIsSavedBeforeTheWindowCloses) {
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForMenu());
  ASSERT_TRUE(game.Click(kOptions));
  ASSERT_TRUE(game.WaitForOptions());
  ASSERT_TRUE(game.Click(MusicLed(4)));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(game.File("options.raw")); }, 5s));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  const std::string expected = {1, 0, 0, 0, 0x28, 0, 0, 0, 0x32, 0, 0, 0};
  EXPECT_EQ(tafutest::ReadFile(game.File("options.raw")), expected);
}

TEST_F(MenuClicks, AWindowTakenAwayFromOverTheWaitingGameShowsTheMenuAgain) {
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForMenu());
  {
    // Red, and holding the focus: the game stands still behind it.
    tafutest::XCover cover(game.Window().id, 0xFF0000);
    ASSERT_TRUE(cover.IsShown());
    ASSERT_TRUE(tafutest::Xdotool("sleep 0.5"));
    cover.Uncover();
    EXPECT_TRUE(game.WaitForMenu()) << "the uncovered window shows " << std::hex << game.Pixel(kMenuSky);
  }
  ASSERT_TRUE(game.Click(kOptions));
  EXPECT_TRUE(game.WaitForOptions());
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
