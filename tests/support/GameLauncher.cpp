#include "GameLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "MenuPlaces.h"
#include "TestPaths.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace tafutest {

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

bool Xdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments + " 2>/dev/null").c_str()) == 0;
}

std::string EndToEndUnavailable() {
  if (!std::getenv("DISPLAY")) return "needs an X server";
  if (std::system("command -v xdotool >/dev/null") != 0) return "needs xdotool";
  return {};
}

GameLauncher::GameLauncher(const std::vector<std::string>& linked) {
  const fs::path runtime = tafutest::RuntimeDir();
  fs::copy_file(tafutest::GameExe(), Exe());
  for (const std::string& name : linked) fs::create_symlink(runtime / name, folder_.Path() / name);
}

GameLauncher::~GameLauncher() {
  if (pid_ > 0 && Wait(0ms) < 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::string GameLauncher::Exe() const { return folder_ / "tafu"; }
std::string GameLauncher::File(const std::string& name) const { return folder_ / name; }

void GameLauncher::WriteSettings(const std::string& path, const std::string& lines) const {
  fs::create_directories(fs::path(path).parent_path());
  WriteFile(path, lines);
}

bool GameLauncher::Spawn(const GameRun& run, bool captureOutput) {
  // The game draws its own pointer wherever the X pointer is: one left over the middle of the
  // screen by an earlier test would cover what this one reads there.
  if (std::getenv("DISPLAY")) Xdotool("mousemove 0 0");
  const std::string exe = run.program.empty() ? Exe() : run.program;
  const std::string reuid = "--reuid=" + run.user;
  const std::string output = File("stdout.txt");
  const std::string errors = File("stderr.txt");
  const std::string systemSettings = SystemSettings();
  const std::string configFolder = File("config");
  pid_ = fork();
  if (pid_ == 0) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("TAFU_SYSTEM_CONFIG", systemSettings.c_str(), 1);
    setenv("XDG_CONFIG_HOME", configFolder.c_str(), 1);
    for (const std::string& name : run.unset) unsetenv(name.c_str());
    for (const auto& [name, value] : run.variables) setenv(name.c_str(), value.c_str(), 1);
    if (captureOutput) {
      dup2(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
      dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    }
    std::vector<const char*> argv;
    if (!run.user.empty()) argv = {"setpriv", reuid.c_str(), "--regid=nogroup", "--clear-groups"};
    argv.push_back(exe.c_str());
    for (const std::string& argument : run.arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    execvp(argv[0], const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  return pid_ > 0;
}

bool GameLauncher::Start(const GameRun& run) { return Spawn(run, false) && WaitForWindow(); }

bool GameLauncher::WaitForWindow() {
  return WaitFor([this] { return (window_ = FindXWindow("TAFU")).found; }, 10s);
}

bool GameLauncher::Launch(const GameRun& run) { return Spawn(run, true); }

int GameLauncher::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  int status = 0;
  if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout)) return -1;
  pid_ = 0;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string GameLauncher::Output() const { return fs::exists(File("stdout.txt")) ? ReadFile(File("stdout.txt")) : ""; }
std::string GameLauncher::Errors() const { return fs::exists(File("stderr.txt")) ? ReadFile(File("stderr.txt")) : ""; }

namespace {

// Points spread over the window where one screen differs from the next, and how much a
// channel must move to count as a change.
constexpr Point kScreenProbes[] = {{200, 200}, {400, 120}, {700, 300}, {400, 580}, {30, 30}, {480, 330}};
constexpr int32_t kChannelChange = 24;
constexpr size_t kProbesChanged = 2;

bool Differs(uint32_t a, uint32_t b) {
  for (const int shift : {0, 8, 16}) {
    const int32_t from = static_cast<int32_t>((a >> shift) & 0xFF);
    const int32_t to = static_cast<int32_t>((b >> shift) & 0xFF);
    if (std::abs(from - to) > kChannelChange) return true;
  }
  return false;
}

}  // namespace

bool GameLauncher::ActAndSeeScreenChange(const std::function<bool()>& act) const {
  std::vector<uint32_t> before;
  for (const Point probe : kScreenProbes) before.push_back(Pixel(probe));
  if (!act()) return false;
  return WaitFor(
      [&] {
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) changed += Differs(Pixel(kScreenProbes[i]), before[i]) ? 1 : 0;
        return changed >= kProbesChanged;
      },
      std::chrono::seconds(10));
}

bool GameLauncher::ActAndWaitForStill(const std::function<bool()>& act, const Box& area) const {
  const std::vector<uint32_t> before = Area(area.x, area.y, area.width, area.height);
  if (!act()) return false;
  std::vector<uint32_t> last = before;
  auto lastChange = std::chrono::steady_clock::now();
  return WaitFor(
      [&] {
        const std::vector<uint32_t> now = Area(area.x, area.y, area.width, area.height);
        const auto at = std::chrono::steady_clock::now();
        if (now != last) {
          last = now;
          lastChange = at;
        }
        return last != before && at - lastChange >= std::chrono::milliseconds(250);
      },
      std::chrono::seconds(10));
}

uint32_t GameLauncher::Pixel(int32_t x, int32_t y) const { return ReadXWindowPixel(window_.id, x, y) & 0xFFFFFFu; }

bool GameLauncher::WaitForPixel(int32_t x, int32_t y, const std::function<bool(uint32_t)>& wanted,
                                std::chrono::milliseconds timeout) const {
  return WaitFor([&] { return wanted(Pixel(x, y)); }, timeout);
}

bool GameLauncher::WaitForMenu() const { return WaitForPixel(kMenuSky, IsBluish); }

bool GameLauncher::FindWindowAgain() { return (window_ = FindXWindow("TAFU")).found; }

std::vector<uint32_t> GameLauncher::Area(int32_t x, int32_t y, int32_t width, int32_t height) const {
  return ReadXWindowArea(window_.id, x, y, width, height);
}

bool GameLauncher::Resize(int32_t width, int32_t height) const {
  return Xdotool("windowsize " + std::to_string(window_.id) + " " + std::to_string(width) + " " +
                 std::to_string(height));
}

bool GameLauncher::Focus() const {
  Xdotool("windowfocus " + std::to_string(window_.id));
  return true;
}

bool GameLauncher::MoveTo(int32_t x, int32_t y) const {
  return Xdotool("mousemove --window " + std::to_string(window_.id) + " " + std::to_string(x) + " " + std::to_string(y));
}

bool GameLauncher::Click(int32_t x, int32_t y) const {
  return Focus() && MoveTo(x, y) && Xdotool("sleep 0.05 click 1");
}

bool GameLauncher::TouchDown(int32_t x, int32_t y) const {
  return Focus() && Xdotool("mousemove --window " + std::to_string(window_.id) + " " + std::to_string(x) + " " +
                            std::to_string(y) + " mousedown 1");
}

bool GameLauncher::Release() const { return Xdotool("mouseup 1"); }

bool GameLauncher::Dab(int32_t x, int32_t y) const { return MoveTo(x, y) && Xdotool("mousedown 1 sleep 0.06 mouseup 1"); }

bool GameLauncher::Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) const {
  return MoveTo(fromX, fromY) && Xdotool("sleep 0.1 mousedown 1 sleep 0.2") && MoveTo(toX, toY) &&
         Xdotool("sleep 0.2 mouseup 1");
}

bool GameLauncher::Key(const std::string& key) const { return Focus() && Xdotool("key " + key); }
bool GameLauncher::KeyDown(const std::string& key) const { return Focus() && Xdotool("keydown " + key); }
bool GameLauncher::KeyUp(const std::string& key) const { return Focus() && Xdotool("keyup " + key); }

bool GameLauncher::Close() const { return RequestXWindowClose(window_.id); }

}  // namespace tafutest
