// The real game played with the real mouse through xdotool: from the menu into an easy
// swap puzzle, exchanging strips until a test earns a star, and Escape back to the menu.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "XWindows.h"

#include <X11/Xlib.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int32_t kMenuSwapX = 624 + 73, kMenuSwapY = 437 + 74;
constexpr int32_t kEasyX = 100 + 72, kEasyY = 227 + 73;
constexpr int32_t kArrowX = 688 + 30;
constexpr int32_t kTestX = 662 + 44, kTestY = 478 + 47;
// A point of the sky in the menu and the difficulty choice, of the wall in the puzzle.
constexpr int32_t kSkyX = 50, kSkyY = 300;

// SDL makes and drops a probe window while the game starts; a window that vanishes while
// the test walks the window tree is no error of the test's.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int32_t ArrowY(int32_t k) { return 100 * k - 5 + 51; }

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

uint32_t Red(uint32_t pixel) { return pixel & 0xFF; }
uint32_t Green(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
uint32_t Blue(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
bool IsSky(uint32_t pixel) { return Blue(pixel) > Red(pixel) + 40; }
bool IsStarYellow(uint32_t pixel) { return Red(pixel) > 200 && Green(pixel) > 170 && Blue(pixel) < 150; }

class RunningGame {
 public:
  RunningGame() {
    const fs::path runtime = TAFU_RUNTIME_DIR;
    fs::copy_file(TAFU_EXE, folder_ / "tafu");
    for (const char* name : {"img", "snd", "game", "setup.ini"})
      fs::create_symlink(runtime / name, folder_.Path() / name);
  }
  ~RunningGame() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }

  bool Start() {
    const std::string exe = folder_ / "tafu";
    pid_ = fork();
    if (pid_ == 0) {
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return pid_ > 0 && WaitFor([this] { return (window_ = tafutest::FindXWindow("TAFU")).found; }, 10s);
  }

  uint32_t Pixel(int32_t x, int32_t y) const { return tafutest::ReadXWindowPixel(window_.id, x, y); }

  bool Click(int32_t x, int32_t y) const {
    const std::string id = std::to_string(window_.id);
    return std::system(("xdotool windowfocus " + id + " 2>/dev/null").c_str()) >= 0 &&
           std::system(("xdotool mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y))
                           .c_str()) == 0 &&
           std::system("xdotool sleep 0.05 click 1") == 0;
  }
  bool Escape() const {
    return std::system(("xdotool key --window " + std::to_string(window_.id) + " Escape").c_str()) == 0;
  }

  // The menu or the difficulty choice.
  bool MenuShown() const { return IsSky(Pixel(kSkyX, kSkyY)); }
  // A star in any of the first slots of the result row.
  bool StarShown() const {
    for (int32_t slot = 0; slot < 7; ++slot)
      for (int32_t dy : {-4, 0, 4})
        if (IsStarYellow(Pixel(134 + 67 * slot + 33, 500 + 30 + dy))) return true;
    return false;
  }

  int ExitCode(std::chrono::milliseconds timeout) {
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout)) return -1;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  bool Close() const { return tafutest::RequestXWindowClose(window_.id); }

 private:
  tafutest::TempFolder folder_;
  pid_t pid_ = 0;
  tafutest::XWindowInfo window_;
};

TEST(SwapPlay, FromTheMenuToAStarAndBackWithEscape) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
  XSetErrorHandler(IgnoreXError);
  RunningGame game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(WaitFor([&] { return game.MenuShown(); }, 10s));

  ASSERT_TRUE(game.Click(kMenuSwapX, kMenuSwapY));
  // The choice of difficulty comes once the click has sounded.
  std::this_thread::sleep_for(1500ms);
  ASSERT_TRUE(game.Click(kEasyX, kEasyY));
  ASSERT_TRUE(WaitFor([&] { return !game.MenuShown(); }, 5s));
  // The puzzle's picture fades in.
  std::this_thread::sleep_for(1500ms);

  // An easy round has one pair of neighbours exchanged: try each arrow, testing after it
  // and putting the strips back when the test says no.
  bool star = false;
  for (int32_t k = 1; k <= 3 && !star; ++k) {
    ASSERT_TRUE(game.Click(kArrowX, ArrowY(k)));
    std::this_thread::sleep_for(1200ms);
    ASSERT_TRUE(game.Click(kTestX, kTestY));
    star = WaitFor([&] { return game.StarShown(); }, 2s);
    if (star) break;
    ASSERT_TRUE(game.Click(kArrowX, ArrowY(k)));
    std::this_thread::sleep_for(1200ms);
  }
  EXPECT_TRUE(star);

  ASSERT_TRUE(game.Escape());
  EXPECT_TRUE(WaitFor([&] { return game.MenuShown(); }, 5s));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.ExitCode(5s), 0);
}

}  // namespace
