// The real game played through as a child would: every activity of the menu
// visited and left again with the real mouse and keyboard through xdotool, then
// the window closed.
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
#include <vector>

#include "TestSupport.h"
#include "XWindows.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

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

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

int32_t Channel(uint32_t pixel, int shift) { return static_cast<int32_t>((pixel >> shift) & 0xFF); }
bool IsBluish(uint32_t pixel) { return Channel(pixel, 16) > Channel(pixel, 0) + 40; }
bool Differs(uint32_t a, uint32_t b) {
  for (const int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelChange) return true;
  return false;
}

bool Shell(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

// A copy of the built game in a folder of its own, so that what it writes stays
// there.
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

  // The exit code once the game has ended within timeout; -1 while it still
  // runs.
  int Wait(std::chrono::milliseconds timeout) {
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout)) return -1;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  uint32_t Pixel(Spot spot) const { return tafutest::ReadXWindowPixel(window_.id, spot.x, spot.y); }
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
    return Focus() && Shell("xdotool key Escape") && WaitForChangeFrom(before);
  }

  bool WaitForMenu() const {
    return WaitFor([this] { return IsBluish(Pixel(kMenuSky)); }, 10s);
  }

  bool Close() const { return tafutest::RequestXWindowClose(window_.id); }

 private:
  bool Focus() const {
    std::system(("xdotool windowfocus " + std::to_string(window_.id) + " 2>/dev/null").c_str());
    return true;
  }
  bool Click(Spot spot) const {
    return Focus() &&
           Shell("xdotool mousemove --window " + std::to_string(window_.id) + " " + std::to_string(spot.x) + " " +
                 std::to_string(spot.y)) &&
           Shell("xdotool sleep 0.05 click 1");
  }
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

  tafutest::TempFolder folder_;
  pid_t pid_ = 0;
  tafutest::XWindowInfo window_;
};

class PlayThrough : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
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
