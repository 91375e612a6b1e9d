// The real game under the test's X server: a child paints on the big canvas with the
// real mouse through xdotool, saves, and takes the painting back from the gallery.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
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

struct Spot {
  int32_t x;
  int32_t y;
};

// Centres of what the child clicks, in window pixels.
constexpr Spot kMenuPaint = {218, 275};
constexpr Spot kBigCanvas = {291, 300};
constexpr Spot kSave = {392, 536};
constexpr Spot kLoad = {247, 530};
constexpr Spot kTake = {476, 528};
constexpr Spot kExit = {61, 534};
// The red palette entry in column 4, row 3, and the first swatch (column 0, row 0).
constexpr Spot kRedSwatch = {11 + 15 * 4 + 7, 39 + 15 * 3 + 7};
constexpr uint32_t kRed = 0x2F2BEF;
constexpr Spot kFirstSwatch = {18, 46};
constexpr uint32_t kFirstSwatchColour = 0xD1F9FE;
// A point of open sky in the menu.
constexpr Spot kMenuSky = {200, 200};

constexpr int32_t kStrokeRow = 5;
constexpr int32_t kStrokeFirst = 5;
constexpr int32_t kStrokeLast = 20;

Spot BigCell(int32_t column, int32_t row) { return {168 + 10 * column + 5, 40 + 10 * row + 5}; }

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

// A copy of the built game in a folder of its own, so that its paintings stay there.
class GameCopy {
 public:
  GameCopy() {
    const fs::path runtime = TAFU_RUNTIME_DIR;
    fs::copy_file(TAFU_EXE, Exe());
    for (const char* name : {"img", "snd", "game", "setup.ini"}) fs::create_symlink(runtime / name, folder_.Path() / name);
  }
  ~GameCopy() {
    if (pid_ > 0 && Wait(0ms) < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  std::string Exe() const { return folder_ / "tafu"; }
  std::string File(const std::string& name) const { return folder_ / name; }

  bool Start() {
    pid_ = fork();
    if (pid_ == 0) {
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      execl(Exe().c_str(), Exe().c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid_ < 0) return false;
    return WaitFor([this] { return (window_ = tafutest::FindXWindow("TAFU")).found; }, 10s);
  }

  int Wait(std::chrono::milliseconds timeout) {
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout)) return -1;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  uint32_t Pixel(Spot spot) const { return tafutest::ReadXWindowPixel(window_.id, spot.x, spot.y) & 0xFFFFFFu; }
  bool WaitForPixel(Spot spot, const std::function<bool(uint32_t)>& wanted) const {
    return WaitFor([&] { return wanted(Pixel(spot)); }, 10s);
  }

  bool MoveTo(Spot spot) const {
    return Shell("xdotool mousemove --window " + std::to_string(window_.id) + " " + std::to_string(spot.x) + " " +
               std::to_string(spot.y));
  }
  bool Click(Spot spot) const {
    Shell("xdotool windowfocus " + std::to_string(window_.id) + " 2>/dev/null");
    return MoveTo(spot) && Shell("xdotool sleep 0.05 click 1");
  }
  // Presses at from, moves to to while holding, releases there.
  bool Drag(Spot from, Spot to) const {
    return MoveTo(from) && Shell("xdotool sleep 0.1 mousedown 1 sleep 0.2") && MoveTo(to) &&
           Shell("xdotool sleep 0.2 mouseup 1");
  }
  bool Close() const { return tafutest::RequestXWindowClose(window_.id); }

 private:
  tafutest::TempFolder folder_;
  pid_t pid_ = 0;
  tafutest::XWindowInfo window_;
};

bool IsBluish(uint32_t pixel) { return ((pixel >> 16) & 0xFF) > (pixel & 0xFF) + 40; }

// The cell (c, r) of a saved 50 x 40 painting, colour bytes only, as 0xBBGGRR.
uint32_t SavedCell(const std::string& file, int32_t column, int32_t row) {
  const size_t at = 18 + 4 * static_cast<size_t>(row * 50 + column);
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(file[at + i])); };
  return byte(2) | byte(1) << 8 | byte(0) << 16;
}

TEST(StudioClicks, APaintedStrokeIsSavedExactlyAndComesBackFromTheGallery) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  if (!Shell("command -v xdotool >/dev/null")) GTEST_SKIP() << "needs xdotool";
  GameCopy game;
  ASSERT_TRUE(game.Start());
  // The menu's own tests fail when it does not show; this one needs it to begin.
  if (!game.WaitForPixel(kMenuSky, IsBluish)) GTEST_SKIP() << "the main menu does not show in this build";

  ASSERT_TRUE(game.Click(kMenuPaint));
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(game.Click(kBigCanvas));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p == kFirstSwatchColour; }));

  ASSERT_TRUE(game.Click(kRedSwatch));
  ASSERT_TRUE(game.Drag(BigCell(kStrokeFirst, kStrokeRow), BigCell(kStrokeLast, kStrokeRow)));
  ASSERT_TRUE(game.MoveTo({400, 470}));
  ASSERT_TRUE(game.WaitForPixel(BigCell(12, kStrokeRow), [](uint32_t p) { return p == kRed; }));
  ASSERT_TRUE(game.Click(kSave));
  const std::string saved = game.File("draw/big/1.tga");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(saved) && fs::file_size(saved) == 18 + 50 * 40 * 4; }, 5s));

  const std::string file = tafutest::ReadFile(saved);
  for (int32_t row = 0; row < 40; ++row) {
    for (int32_t column = 0; column < 50; ++column) {
      const bool stroke = row == kStrokeRow && column >= kStrokeFirst && column <= kStrokeLast;
      ASSERT_EQ(SavedCell(file, column, row), stroke ? kRed : 0xFFFFFFu) << column << ", " << row;
    }
  }

  // Load shows it in the gallery (no palette there); Take brings it back to the canvas.
  ASSERT_TRUE(game.Click(kLoad));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p != kFirstSwatchColour; }));
  EXPECT_EQ(game.Pixel(BigCell(kStrokeFirst, kStrokeRow)), kRed);
  ASSERT_TRUE(game.Click(kTake));
  ASSERT_TRUE(game.WaitForPixel(kFirstSwatch, [](uint32_t p) { return p == kFirstSwatchColour; }));
  EXPECT_EQ(game.Pixel(BigCell(kStrokeLast, kStrokeRow)), kRed);
  EXPECT_EQ(game.Pixel(BigCell(kStrokeLast + 1, kStrokeRow)), 0xFFFFFFu);

  ASSERT_TRUE(game.Click(kExit));
  ASSERT_TRUE(game.WaitForPixel(kMenuSky, IsBluish));
  EXPECT_FALSE(fs::exists(game.File("draw/big/2.tga")));
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
