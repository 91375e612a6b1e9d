// Idle CPU of the whole game, watched from outside: build/tafu is started through the tests'
// launcher, every screen a child may leave it on is reached with real clicks and keys of the
// X server, the pointer is put still in the window's corner, and the time every thread of the
// process (Mesa's renderer included) spends on a CPU is read from /proc over ten seconds.
// Then once more on the menu muted, and with one-switch scanning on, the ring moving by
// itself, and other children's programs from Debian where they are installed (tuxpaint,
// gcompris-qt), measured the same way: muted, in a window, on their first screen, the
// pointer still.
// Usage: idle_bench [repetitions]. Prints "idle.<screen> %core v1 v2 ..." lines.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "GameLauncher.h"
#include "ProcessCpu.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"

namespace {

using namespace std::chrono_literals;

using Spot = tafutest::Point;
using tafutest::kBig;
using tafutest::kCopyColours;
using tafutest::kCopyDrawing;
using tafutest::kEasyButton;
using tafutest::kLoadButton;
using tafutest::kOptions;
using tafutest::kPaint;
using tafutest::kSaveMiddle;
using tafutest::kSlide;
using tafutest::kSmall;
using tafutest::kStudioExit;
using tafutest::kSwap;
// Back on the selection and options screens.
constexpr Spot kBack = tafutest::kExit;
// Where the pointer rests while the CPU is read: the window's corner, over no button.
constexpr Spot kRest = {1, 1};

// Long enough for a round's fade-in and a button's last pulse to end.
constexpr auto kSettle = 2s;
constexpr auto kSample = 10s;

// Share of one core a process takes over kSample once it has settled; -1 when unreadable.
double SettledCorePercent(pid_t pid) {
  std::this_thread::sleep_for(kSettle);
  const double before = tafubench::ProcessCpuSeconds(pid);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(kSample);
  const double after = tafubench::ProcessCpuSeconds(pid);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (before < 0 || after < 0) return -1;
  return 100.0 * (after - before) / seconds;
}

class Game : public tafutest::GameLauncher {
 public:
  bool ClickAndSeeChange(Spot spot) const {
    return ActAndSeeScreenChange([&] { return Click(spot); });
  }
  bool EscapeAndSeeChange() const {
    return ActAndSeeScreenChange([&] { return Key("Escape"); });
  }
  // Share of one core the whole process uses while the screen rests, pointer still.
  double IdleCorePercent() const {
    MoveTo(kRest);
    return SettledCorePercent(Pid());
  }
};

// One step of the walk through the game: reach a screen (from where the last step left
// off), and whether the CPU is read there under a name.
struct Step {
  std::string name;  // empty: only passed through
  std::function<bool(const Game&)> reach;
};

std::vector<Step> Walk() {
  const auto click = [](Spot spot) { return [spot](const Game& game) { return game.ClickAndSeeChange(spot); }; };
  const auto escape = [](const Game& game) { return game.EscapeAndSeeChange(); };
  std::vector<Step> steps = {
      {"menu", [](const Game&) { return true; }},
      {"options", click(kOptions)},
      {"", click(kBack)},
  };
  for (const auto& [name, spot] : {std::pair{"swap", kSwap}, std::pair{"slide", kSlide},
                                   std::pair{"copy_drawing", kCopyDrawing}}) {
    steps.push_back({std::string(name) == "swap" ? "difficulty_selection" : "", click(spot)});
    steps.push_back({name, click(kEasyButton)});
    steps.push_back({"", escape});
  }
  steps.push_back({"copy_colours", click(kCopyColours)});
  steps.push_back({"", escape});
  for (const auto& [size, spot] : {std::pair{"big", kBig}, std::pair{"small", kSmall}}) {
    steps.push_back({std::string(size) == "big" ? "canvas_selection" : "", click(kPaint)});
    steps.push_back({std::string(size) + "_studio", click(spot)});
    // A painting of its own, so that the gallery has one to show.
    steps.push_back({"", [](const Game& game) {
                       game.Click(kSaveMiddle);
                       std::this_thread::sleep_for(1s);
                       return true;
                     }});
    steps.push_back({std::string(size) + "_gallery", click(kLoadButton)});
    steps.push_back({"", click(kStudioExit)});
    steps.push_back({"", click(kStudioExit)});
  }
  return steps;
}

// Another children's program, started as a child would find it.
struct Peer {
  std::string name;
  std::vector<std::string> command;
  std::chrono::seconds startup;  // until its first screen has settled
};

const std::vector<Peer>& Peers() {
  static const std::vector<Peer> peers = {
      {"tuxpaint", {"tuxpaint", "--nosound", "--windowed", "--800x600", "--nolockfile"}, 6s},
      {"gcompris", {"/usr/games/gcompris-qt", "--mute", "--window"}, 12s},
  };
  return peers;
}

// Share of one core the program takes at rest; negative when it is not installed or ended.
double PeerIdleCorePercent(const Peer& peer, const tafutest::TempFolder& home) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("HOME", home.Path().c_str(), 1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& part : peer.command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  std::this_thread::sleep_for(peer.startup);
  double percent = -1;
  if (waitpid(pid, nullptr, WNOHANG) == 0) {
    tafutest::Xdotool("mousemove 1 1");
    percent = SettledCorePercent(pid);
    // Once measured it is ended outright: asked to quit, one may wait for an answer for ever.
    kill(pid, SIGKILL);
  }
  waitpid(pid, nullptr, 0);
  return percent;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const std::string unavailable = tafutest::EndToEndUnavailable();
  if (!unavailable.empty()) {
    std::fprintf(stderr, "idle_bench: %s\n", unavailable.c_str());
    return 1;
  }
  std::map<std::string, std::vector<double>> figures;
  std::vector<std::string> order;
  for (int run = 0; run < repetitions; ++run) {
    Game game;
    if (!game.Start()) {
      std::fprintf(stderr, "idle_bench: the game did not start\n");
      return 1;
    }
    std::this_thread::sleep_for(kSettle);
    for (const Step& step : Walk()) {
      if (!step.reach(game)) {
        std::fprintf(stderr, "idle_bench: could not reach %s\n", step.name.empty() ? "a screen" : step.name.c_str());
        break;
      }
      if (step.name.empty()) continue;
      if (run == 0) order.push_back(step.name);
      figures[step.name].push_back(game.IdleCorePercent());
      std::fprintf(stderr, "idle_bench: %s %.2f %%core\n", step.name.c_str(), figures[step.name].back());
    }
    game.Close();
    game.Wait(5s);
    // Muted, as the other programs are measured; and one switch, the ring stepping round the
    // menu's buttons every 1.5 s.
    for (const auto& [name, option] : {std::pair{"menu_muted", "--mute"}, std::pair{"menu_scanning", "--scanning"}}) {
      Game menu;
      if (!menu.Start({.arguments = {option}})) continue;
      std::this_thread::sleep_for(kSettle);
      if (run == 0) order.push_back(name);
      figures[name].push_back(menu.IdleCorePercent());
      menu.Close();
      menu.Wait(5s);
    }
  }
  const tafutest::TempFolder home;
  for (const Peer& peer : Peers()) {
    for (int run = 0; run < repetitions; ++run) {
      const double percent = PeerIdleCorePercent(peer, home);
      if (percent < 0) break;
      if (run == 0) order.push_back("peer_" + peer.name);
      figures["peer_" + peer.name].push_back(percent);
      std::fprintf(stderr, "idle_bench: %s %.2f %%core\n", peer.name.c_str(), percent);
    }
  }
  std::printf("# idle CPU of the whole process, pointer still, %lld s per screen\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(kSample).count()));
  for (const std::string& name : order) {
    std::printf("idle.%s %%core", name.c_str());
    for (double value : figures[name]) std::printf(" %.2f", value);
    std::printf("\n");
  }
  return 0;
}
