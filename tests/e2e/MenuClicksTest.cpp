// The real game under the test's X server, played with the real mouse through xdotool.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "XWindows.h"


namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Centres of what the child clicks, in window pixels.
constexpr int32_t kExitX = 83, kExitY = 515;
constexpr int32_t kOptionsX = 769, kOptionsY = 35;
constexpr int32_t kFifthMusicLedX = 397 + 28 * 4 + 17, kFifthMusicLedY = 325;
// A point of open sky in the menu and of the wall in the options screen.
constexpr int32_t kBackgroundX = 200, kBackgroundY = 200;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

uint32_t Red(uint32_t pixel) { return pixel & 0xFF; }
uint32_t Blue(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
bool IsBluish(uint32_t pixel) { return Blue(pixel) > Red(pixel) + 40; }
bool IsWarm(uint32_t pixel) { return Red(pixel) > Blue(pixel) + 10; }

// A copy of the built game in a folder of its own, so that what it writes stays there.
class GameCopy {
 public:
  GameCopy() {
    const fs::path runtime = TAFU_RUNTIME_DIR;
    fs::copy_file(TAFU_EXE, exe());
    for (const char* name : {"img", "snd", "game", "setup.ini"})
      fs::create_symlink(runtime / name, folder_.Path() / name);
  }
  ~GameCopy() {
    if (pid_ > 0 && Wait(0ms) < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  std::string exe() const { return folder_ / "tafu"; }
  std::string File(const std::string& name) const { return folder_ / name; }

  // Starts the game and waits for its window; false when none came.
  bool Start() {
    pid_ = fork();
    if (pid_ == 0) {
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      execl(exe().c_str(), exe().c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid_ < 0) return false;
    return WaitFor([this] { return (window_ = tafutest::FindXWindow("TAFU")).found; }, 10s);
  }

  // The exit code once the game has ended within timeout; -1 while it still runs.
  int Wait(std::chrono::milliseconds timeout) {
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout)) return -1;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  uint32_t Pixel(int32_t x, int32_t y) const { return tafutest::ReadXWindowPixel(window_.id, x, y); }

  // Moves the real pointer over the window and clicks the left button.
  bool Click(int32_t x, int32_t y) const {
    const std::string id = std::to_string(window_.id);
    const std::string move = "xdotool mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y);
    return std::system(("xdotool windowfocus " + id + " 2>/dev/null").c_str()) >= 0 &&
           std::system(move.c_str()) == 0 && std::system("xdotool sleep 0.05 click 1") == 0;
  }

  bool Close() const { return tafutest::RequestXWindowClose(window_.id); }

  // The menu is shown once its blue sky is drawn at the background point.
  bool WaitForMenu() const {
    return WaitFor([this] { return IsBluish(Pixel(kBackgroundX, kBackgroundY)); }, 10s);
  }
  // The options screen's wall is warm where the menu's sky is blue.
  bool WaitForOptions() const {
    return WaitFor([this] { return IsWarm(Pixel(kBackgroundX, kBackgroundY)); }, 5s);
  }

 private:
  tafutest::TempFolder folder_;
  pid_t pid_ = 0;
  tafutest::XWindowInfo window_;
};

class MenuClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
  }
};

TEST_F(MenuClicks, TheExitButtonEndsTheGameWithZero) {
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForMenu());
  ASSERT_TRUE(game.Click(kExitX, kExitY));
  EXPECT_EQ(game.Wait(5s), 0);
  EXPECT_FALSE(fs::exists(game.File("options.raw")));
}

TEST_F(MenuClicks, AVolumeChosenInTheOptionsIsSavedBeforeTheWindowCloses) {
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForMenu());
  ASSERT_TRUE(game.Click(kOptionsX, kOptionsY));
  ASSERT_TRUE(game.WaitForOptions());
  ASSERT_TRUE(game.Click(kFifthMusicLedX, kFifthMusicLedY));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(game.File("options.raw")); }, 5s));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
  const std::string expected = {1, 0, 0, 0, 0x28, 0, 0, 0, 0x32, 0, 0, 0};
  EXPECT_EQ(tafutest::ReadFile(game.File("options.raw")), expected);
}

}  // namespace
