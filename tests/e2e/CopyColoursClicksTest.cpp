// The real game under the test's X server, played with the real mouse and keyboard through
// xdotool: from the menu into the copy-colours game, one colour picked and poured, and
// Escape back to the menu.
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

// Last: Xlib defines names such as None that the headers above use.
#include <X11/Xlib.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int32_t kSide = 15;
// Cell colours of the test's picture, 0xAABBGGRR, and as the window shows them.
constexpr uint32_t kOrange = 0xFF2080F0u;
constexpr uint32_t kRed = 0xFF2020E0u;
uint32_t Shown(uint32_t cell) { return cell & 0x00FFFFFFu; }

// Where the child clicks, in window pixels: the menu's copy-colours button, the middle of
// a cell of the left picture and of the board, and a point of the menu's sky.
constexpr int32_t kCopyColoursButtonX = 428, kCopyColoursButtonY = 434;
int32_t PictureX(int32_t x) { return 122 + 15 * x + 7; }
int32_t BoardX(int32_t x) { return 374 + 15 * x + 7; }
int32_t CellY(int32_t y) { return 161 + 15 * y + 7; }
constexpr int32_t kSwatchX = 360, kSwatchY = 90;
constexpr int32_t kSkyX = 200, kSkyY = 200;

// SDL makes and drops a probe window while the game starts: a window that vanishes while
// the test walks the window tree is no error of the test's (Xlib would end the program).
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

bool IsBluish(uint32_t pixel) { return ((pixel >> 16) & 0xFF) > (pixel & 0xFF) + 40; }

// An orange picture with a red bar in row 2, as the one shipped small picture, TGA top row first.
std::string PictureFile() {
  std::string bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = kSide;
  bytes[14] = kSide;
  bytes[16] = 32;
  for (int32_t y = 0; y < kSide; ++y) {
    for (int32_t x = 0; x < kSide; ++x) {
      const uint32_t cell = y == 2 && x >= 2 && x <= 6 ? kRed : kOrange;
      for (const int shift : {16, 8, 0, 24}) bytes.push_back(static_cast<char>((cell >> shift) & 0xFF));
    }
  }
  return bytes;
}

// The built game in a folder of its own with the real pictures and sounds and the test's
// one small puzzle picture.
class GameCopy {
 public:
  GameCopy() {
    const fs::path runtime = TAFU_RUNTIME_DIR;
    fs::copy_file(TAFU_EXE, exe());
    for (const char* name : {"img", "snd"}) fs::create_symlink(runtime / name, folder_.Path() / name);
    fs::create_directories(folder_.Path() / "game" / "small");
    tafutest::WriteFile(folder_ / "game/small/1.tga", PictureFile());
    tafutest::WriteFile(folder_ / "setup.ini", "[DEBUG]\r\nSHOWFPS=0\r\n[SMALL_IMAGES]\r\nCOUNT=1\r\n");
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

  // The exit code once the game has ended within timeout; -1 while it still runs.
  int Wait(std::chrono::milliseconds timeout) {
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout)) return -1;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  uint32_t Pixel(int32_t x, int32_t y) const { return tafutest::ReadXWindowPixel(window_.id, x, y); }
  bool WaitForPixel(int32_t x, int32_t y, uint32_t shown) const {
    return WaitFor([&] { return Pixel(x, y) == shown; }, 5s);
  }

  // Moves the real pointer over the window and clicks the left button.
  bool Click(int32_t x, int32_t y) const {
    return Xdotool("windowfocus " + Id()) && Xdotool("mousemove --window " + Id() + " " + std::to_string(x) + " " +
                                                     std::to_string(y)) &&
           Xdotool("sleep 0.05 click 1");
  }
  bool Key(const std::string& key) const { return Xdotool("windowfocus " + Id()) && Xdotool("key " + key); }
  bool Close() const { return tafutest::RequestXWindowClose(window_.id); }

 private:
  std::string Id() const { return std::to_string(window_.id); }
  static bool Xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " 2>/dev/null").c_str()) == 0;
  }

  tafutest::TempFolder folder_;
  pid_t pid_ = 0;
  tafutest::XWindowInfo window_;
};

TEST(CopyColoursClicks, FromTheMenuPickAndPourARegionThenEscapeBackToTheMenu) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
  XSetErrorHandler(IgnoreXError);
  GameCopy game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(WaitFor([&] { return IsBluish(game.Pixel(kSkyX, kSkyY)); }, 10s)) << "no menu";

  ASSERT_TRUE(game.Click(kCopyColoursButtonX, kCopyColoursButtonY));
  ASSERT_TRUE(game.WaitForPixel(PictureX(0), CellY(0), Shown(kOrange))) << "no copy-colours picture";

  ASSERT_TRUE(game.Click(PictureX(3), CellY(2)));
  ASSERT_TRUE(game.WaitForPixel(kSwatchX, kSwatchY, Shown(kRed))) << "the swatch did not take the picked colour";

  ASSERT_TRUE(game.Click(BoardX(6), CellY(2)));
  ASSERT_TRUE(game.WaitForPixel(BoardX(2), CellY(2), Shown(kRed))) << "the bar was not poured";
  EXPECT_EQ(game.Pixel(BoardX(4), CellY(2)), Shown(kRed));
  EXPECT_NE(game.Pixel(BoardX(1), CellY(2)), Shown(kRed)) << "the pour left its region";
  EXPECT_NE(game.Pixel(BoardX(4), CellY(3)), Shown(kRed)) << "the pour left its region";

  ASSERT_TRUE(game.Key("Escape"));
  ASSERT_TRUE(WaitFor([&] { return IsBluish(game.Pixel(kSkyX, kSkyY)); }, 5s)) << "Escape did not lead to the menu";
  ASSERT_TRUE(game.Close());
  EXPECT_EQ(game.Wait(5s), 0);
}

}  // namespace
