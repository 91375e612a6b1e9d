// The real game, started from its build in a private program folder (or an installed copy,
// as another user) and played through the test's X server as a person would: xdotool moves
// the pointer, clicks and presses keys, the X server is asked what the window shows, and the
// window is closed as its close button does.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "XWindows.h"

namespace tafutest {

// Polls condition every 20 ms until it holds (true) or timeout has passed (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Runs an xdotool command line ("key Escape", "mousedown 1"); true when it succeeded.
bool Xdotool(const std::string& arguments);

// The reason an end-to-end test cannot run here, or empty when X and xdotool are at hand.
std::string EndToEndUnavailable();

struct GameRun {
  std::string program{};                                         // another game than the copy, such as an installed one
  std::string user{};                                            // run as this user (with no group) when given
  std::vector<std::string> arguments{};                          // after the program's name
  std::vector<std::pair<std::string, std::string>> variables{};  // set in the game's environment
  std::vector<std::string> unset{};                              // removed from it
};

// A copy of the built game in a folder of its own (its pictures, sounds and setup.ini linked
// in), so that the options and paintings it writes stay there and vanish with the test.
class GameLauncher {
 public:
  // The build's pictures and sounds, puzzle pictures and setup.ini; a test that brings its
  // own puzzle pictures or setup.ini links in less and writes the rest into Folder().
  explicit GameLauncher(const std::vector<std::string>& linked = {"img", "snd", "game", "setup.ini"});
  ~GameLauncher();  // kills a game still running
  GameLauncher(const GameLauncher&) = delete;
  GameLauncher& operator=(const GameLauncher&) = delete;

  std::string Exe() const;
  std::string File(const std::string& name) const;
  // The grown-ups' settings files the game reads: the machine's and the user's, both in the
  // test's folder (the real /etc/tafu and ~/.config/tafu are never read by a test's game).
  std::string SystemSettings() const { return File("etc/tafu.conf"); }
  std::string UserSettings() const { return File("config/tafu/tafu.conf"); }
  void WriteSettings(const std::string& path, const std::string& lines) const;
  const TempFolder& Folder() const { return folder_; }

  // Starts the game with the dummy sound driver; true once its window is on the X server.
  bool Start(const GameRun& run = {});
  // Starts the game without waiting for a window, with its standard output and error
  // collected for Output() and Errors().
  bool Launch(const GameRun& run = {});
  // True once the game's window is on the X server (after Launch; Start waits by itself).
  bool WaitForWindow();
  // The exit status once the game has ended within timeout (128 + signal when killed);
  // -1 while it still runs.
  int Wait(std::chrono::milliseconds timeout);
  std::string Output() const;
  std::string Errors() const;

  // The game's process while it runs; 0 before it was started.
  pid_t Pid() const { return pid_; }
  const XWindowInfo& Window() const { return window_; }
  // Looks the window up again (after it changed size); true when it is still there.
  bool FindWindowAgain();
  // What the X server shows at (x, y) of the window, as 0xBBGGRR.
  uint32_t Pixel(int32_t x, int32_t y) const;
  uint32_t Pixel(Point at) const { return Pixel(at.x, at.y); }
  bool WaitForPixel(int32_t x, int32_t y, const std::function<bool(uint32_t)>& wanted,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  bool WaitForPixel(Point at, const std::function<bool(uint32_t)>& wanted,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
    return WaitForPixel(at.x, at.y, wanted, timeout);
  }

  // Waits up to 10 s for the main menu's blue sky.
  bool WaitForMenu() const;
  // Acts (a click, a key), then waits up to 10 s until the screen shown before has given way
  // to another: two or more of six points spread over the window change colour.
  bool ActAndSeeScreenChange(const std::function<bool()>& act) const;

  // Acts, then waits up to 10 s until the area has changed and stood still again for a
  // quarter of a second: a strip moved, a picture faded in.
  bool ActAndWaitForStill(const std::function<bool()>& act, const Box& area) const;

  // What the X server shows in an area of the window, as ReadXWindowArea gives it.
  std::vector<uint32_t> Area(int32_t x, int32_t y, int32_t width, int32_t height) const;

  bool Focus() const;
  // Asks for a new client size, as a person dragging the window's border does.
  bool Resize(int32_t width, int32_t height) const;
  bool MoveTo(int32_t x, int32_t y) const;
  bool MoveTo(Point at) const { return MoveTo(at.x, at.y); }
  bool Click(int32_t x, int32_t y) const;
  bool Click(Point at) const { return Click(at.x, at.y); }
  // Jumps to (x, y) and presses there in the same instant, as a finger touching the screen
  // does: no hover comes before the press. Release() lifts it.
  bool TouchDown(int32_t x, int32_t y) const;
  bool Release() const;
  // Presses at (x, y) for a few frames and lets go there, as a child dabbing with the pen.
  bool Dab(int32_t x, int32_t y) const;
  bool Dab(Point at) const { return Dab(at.x, at.y); }
  // Presses at from, moves to the other point while holding, releases there.
  bool Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) const;
  bool Drag(Point from, Point to) const { return Drag(from.x, from.y, to.x, to.y); }
  // xdotool key names: "F1", "Escape", "c".
  bool Key(const std::string& key) const;
  bool KeyDown(const std::string& key) const;
  bool KeyUp(const std::string& key) const;
  // Sends WM_DELETE_WINDOW, as the window's close button does.
  bool Close() const;

 private:
  bool Spawn(const GameRun& run, bool captureOutput);

  TempFolder folder_;
  pid_t pid_ = 0;
  XWindowInfo window_;
};

}  // namespace tafutest
