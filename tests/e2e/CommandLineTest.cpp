// The built game started with options, as a parent or an administrator starts it from a
// terminal: what it answers, with which exit status, and whether a window appears.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "GameLauncher.h"
#include "SoundCapture.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using tafutest::WaitFor;

constexpr int32_t kOptionsX = 769, kOptionsY = 35;
constexpr int32_t kFifthMusicLedX = 397 + 28 * 4 + 17, kFifthMusicLedY = 325;
constexpr int32_t kBackgroundX = 200, kBackgroundY = 200;

uint32_t Red(uint32_t pixel) { return pixel & 0xFF; }
uint32_t Blue(uint32_t pixel) { return (pixel >> 16) & 0xFF; }

struct Ending {
  int status = -1;
  bool windowSeen = false;
};

// Waits for the game to end while watching the X server for its window.
Ending WatchUntilEnd(tafutest::GameLauncher& game, std::chrono::milliseconds timeout = 5s) {
  Ending ending;
  WaitFor(
      [&] {
        ending.windowSeen = ending.windowSeen || tafutest::FindXWindow("TAFU").found;
        ending.status = game.Wait(0ms);
        return ending.status >= 0;
      },
      timeout);
  return ending;
}

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = tafutest::EndToEndUnavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
  }
};

TEST_F(CommandLine, HelpAndVersionAnswerOnStandardOutputWithoutAWindow) {
  tafutest::GameLauncher help;
  ASSERT_TRUE(help.Launch({.arguments = {"--help"}}));
  Ending ending = WatchUntilEnd(help);
  EXPECT_EQ(ending.status, 0);
  EXPECT_FALSE(ending.windowSeen);
  EXPECT_EQ(help.Errors(), "");
  EXPECT_TRUE(help.Output().starts_with("Usage: tafu")) << help.Output();
  for (const char* option : {"--fullscreen", "--windowed", "--mute", "--export-paintings DIR", "--help", "--version"})
    EXPECT_NE(help.Output().find(option), std::string::npos) << option;

  tafutest::GameLauncher version;
  ASSERT_TRUE(version.Launch({.arguments = {"--mute", "--version", "--no-such-option"}}));
  ending = WatchUntilEnd(version);
  EXPECT_EQ(ending.status, 0);
  EXPECT_FALSE(ending.windowSeen);
  EXPECT_EQ(version.Output(), "tafu 1.0.0\n");
  EXPECT_EQ(version.Errors(), "");
}

TEST_F(CommandLine, AMistakeIsNamedOnOneLineAndEndsWithTwo) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
      {{"--loud"}, "'--loud'"},
      {{"--mute", "--export-paintings"}, "'--export-paintings'"},
      {{"paintings"}, "'paintings'"},
  };
  for (const auto& [arguments, named] : mistakes) {
    tafutest::GameLauncher game;
    ASSERT_TRUE(game.Launch({.arguments = arguments}));
    const Ending ending = WatchUntilEnd(game);
    EXPECT_EQ(ending.status, 2) << named;
    EXPECT_FALSE(ending.windowSeen) << named;
    EXPECT_EQ(game.Output(), "") << named;
    const std::string errors = game.Errors();
    EXPECT_EQ(LineCount(errors), 1u) << errors;
    EXPECT_NE(errors.find(named), std::string::npos) << errors;
    EXPECT_NE(errors.find("tafu --help"), std::string::npos) << errors;
  }
}

TEST_F(CommandLine, FullscreenOpensTheGameAndSavesNothing) {
  tafutest::GameLauncher game;
  ASSERT_TRUE(game.Start({.arguments = {"--fullscreen"}}));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_FALSE(fs::exists(game.File("options.raw")));
}

// Saved: full screen, music 30, effects 70. The run is windowed and silent; the music
// volume chosen meanwhile is saved, and nothing else of the run is.
TEST_F(CommandLine, WindowedAndMuteHoldForThisRunOnly) {
  tafutest::GameLauncher game;
  const std::string saved = {0, 0, 0, 0, 30, 0, 0, 0, 70, 0, 0, 0};
  tafutest::WriteFile(game.File("options.raw"), saved);
  {
    tafutest::SoundCapture capture(game.File("muted.raw"));
    ASSERT_TRUE(game.Start({.arguments = {"--windowed", "--mute"}, .variables = {{"SDL_AUDIODRIVER", "disk"}}}));
    EXPECT_EQ(game.Window().width, 800);
    EXPECT_EQ(game.Window().height, 600);
    ASSERT_TRUE(game.WaitForPixel(kBackgroundX, kBackgroundY, [](uint32_t p) { return Blue(p) > Red(p) + 40; }));
    ASSERT_TRUE(game.Click(kOptionsX, kOptionsY));
    ASSERT_TRUE(game.WaitForPixel(kBackgroundX, kBackgroundY, [](uint32_t p) { return Red(p) > Blue(p) + 10; }));
    ASSERT_TRUE(game.Click(kFifthMusicLedX, kFifthMusicLedY));
    ASSERT_TRUE(WaitFor([&] { return tafutest::ReadFile(game.File("options.raw")) != saved; }, 5s));
    ASSERT_TRUE(WaitFor([&] { return capture.FramesWritten() > tafutest::FramesIn(1500); }, 10s));
    ASSERT_TRUE(game.Close());
    EXPECT_EQ(game.Wait(5s), 0);
    const std::vector<int16_t> muted = capture.Samples();
    EXPECT_EQ(tafutest::PeakIn(muted, 0, tafutest::FrameCount(muted)), 0);
  }
  const std::string chosen = {0, 0, 0, 0, 40, 0, 0, 0, 70, 0, 0, 0};
  EXPECT_EQ(tafutest::ReadFile(game.File("options.raw")), chosen);

  // The next run plays its menu music at the saved volume again (in a window: a full-screen
  // window never gets the input focus on an X server without a window manager).
  tafutest::SoundCapture capture(game.File("next.raw"));
  ASSERT_TRUE(game.Start({.arguments = {"--windowed"}, .variables = {{"SDL_AUDIODRIVER", "disk"}}}));
  ASSERT_TRUE(WaitFor([&] { return capture.FramesWritten() > tafutest::FramesIn(1500); }, 10s));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  const std::vector<int16_t> heard = capture.Samples();
  EXPECT_GT(tafutest::PeakIn(heard, 0, tafutest::FrameCount(heard)), 0);
  EXPECT_EQ(tafutest::ReadFile(game.File("options.raw")), chosen);
}

}  // namespace
