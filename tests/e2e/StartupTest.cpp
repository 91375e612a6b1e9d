#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "GameLauncher.h"
#include "XWindows.h"

namespace {

using Clock = std::chrono::steady_clock;

pid_t StartGame() {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(TAFU_EXE, TAFU_EXE, static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// Waits up to timeout for the child to end; -1 when it is still running.
int WaitForExit(pid_t pid, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  int status = 0;
  while (Clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

tafutest::XWindowInfo WaitForWindow(const std::string& title) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  tafutest::XWindowInfo window;
  while (!window.found && Clock::now() < deadline) {
    window = tafutest::FindXWindow(title);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return window;
}

TEST(Startup, OpensTheWindowAndEndsWithZeroOnAPoliteClose) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  const pid_t game = StartGame();
  ASSERT_GT(game, 0);
  const tafutest::XWindowInfo window = WaitForWindow("TAFU");
  if (!window.found) kill(game, SIGKILL);
  ASSERT_TRUE(window.found);
  EXPECT_EQ(window.width, 800);
  EXPECT_EQ(window.height, 600);

  const auto closed = Clock::now();
  ASSERT_TRUE(tafutest::RequestXWindowClose(window.id));
  const int code = WaitForExit(game, std::chrono::seconds(2));
  if (code < 0) kill(game, SIGKILL);
  EXPECT_EQ(code, 0);
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
  const auto bluish = [](uint32_t p) { return ((p >> 16) & 0xFF) > (p & 0xFF) + 40; };
  const auto warm = [](uint32_t p) { return (p & 0xFF) > ((p >> 16) & 0xFF) + 10; };
  ASSERT_TRUE(game.WaitForPixel(200, 200, bluish));
  ASSERT_TRUE(game.Click(769, 35));
  ASSERT_TRUE(game.WaitForPixel(200, 200, warm, std::chrono::seconds(5)));
  ASSERT_TRUE(game.Click(83, 515));
  ASSERT_TRUE(game.WaitForPixel(200, 200, bluish, std::chrono::seconds(5)));
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
