// Idle CPU of the whole game, watched from outside: build/tafu is started through the tests'
// launcher, every screen a child may leave it on is reached with real clicks and keys of the
// X server, the pointer is put still in the window's corner, and utime + stime of the
// process (every thread, Mesa's renderer included) is read from /proc over ten seconds.
// Usage: idle_bench [repetitions]. Prints "idle.<screen> %core v1 v2 ..." lines.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "GameLauncher.h"

namespace {

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
constexpr Spot kBack = {83, 515};
constexpr Spot kStudioSave = {392, 536};
constexpr Spot kStudioLoad = {247, 530};
constexpr Spot kExit = {61, 534};
// Where the pointer rests while the CPU is read: the window's corner, over no button.
constexpr Spot kRest = {1, 1};
// Points spread over the window where one screen differs from the next.
const std::vector<Spot> kProbes = {{200, 200}, {400, 120}, {700, 300}, {400, 580}, {30, 30}, {480, 330}};
constexpr int32_t kChannelChange = 24;
constexpr size_t kProbesChanged = 2;

// Long enough for a round's fade-in and a button's last pulse to end.
constexpr auto kSettle = 2s;
constexpr auto kSample = 10s;

int32_t Channel(uint32_t pixel, int shift) { return static_cast<int32_t>((pixel >> shift) & 0xFF); }
bool Differs(uint32_t a, uint32_t b) {
  for (const int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelChange) return true;
  return false;
}

// utime + stime of the process, in seconds; negative when it cannot be read.
double ProcessCpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::vector<std::string> values;
  for (std::string field; fields >> field;) values.push_back(field);
  // After the name: state is field 3, utime field 14, stime field 15.
  if (values.size() < 13) return -1;
  return (std::stod(values[11]) + std::stod(values[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class Game : public tafutest::GameLauncher {
 public:
  std::vector<uint32_t> Snapshot() const {
    std::vector<uint32_t> pixels;
    for (const Spot& probe : kProbes) pixels.push_back(Pixel(probe.x, probe.y));
    return pixels;
  }
  // Acts, then waits until the screen shown before has given way to another one.
  bool AndSeeChange(const std::function<bool()>& act) const {
    const std::vector<uint32_t> before = Snapshot();
    return act() && tafutest::WaitFor(
                        [&] {
                          const std::vector<uint32_t> now = Snapshot();
                          size_t changed = 0;
                          for (size_t i = 0; i < now.size(); ++i) changed += Differs(now[i], before[i]) ? 1 : 0;
                          return changed >= kProbesChanged;
                        },
                        10s);
  }
  bool ClickAndSeeChange(Spot spot) const {
    return AndSeeChange([&] { return Click(spot.x, spot.y); });
  }
  bool EscapeAndSeeChange() const {
    return AndSeeChange([&] { return Key("Escape"); });
  }
  // Share of one core the whole process uses while the screen rests, pointer still.
  double IdleCorePercent() const {
    MoveTo(kRest.x, kRest.y);
    std::this_thread::sleep_for(kSettle);
    const double before = ProcessCpuSeconds(Pid());
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(kSample);
    const double after = ProcessCpuSeconds(Pid());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (before < 0 || after < 0) return -1;
    return 100.0 * (after - before) / seconds;
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
      {"options", click(kMenuOptions)},
      {"", click(kBack)},
  };
  for (const auto& [name, spot] : {std::pair{"swap", kMenuSwap}, std::pair{"slide", kMenuSlide},
                                   std::pair{"copy_drawing", kMenuCopyDrawing}}) {
    steps.push_back({std::string(name) == "swap" ? "difficulty_selection" : "", click(spot)});
    steps.push_back({name, click(kEasy)});
    steps.push_back({"", escape});
  }
  steps.push_back({"copy_colours", click(kMenuCopyColours)});
  steps.push_back({"", escape});
  for (const auto& [size, spot] : {std::pair{"big", kBigCanvas}, std::pair{"small", kSmallCanvas}}) {
    steps.push_back({std::string(size) == "big" ? "canvas_selection" : "", click(kMenuPaint)});
    steps.push_back({std::string(size) + "_studio", click(spot)});
    // A painting of its own, so that the gallery has one to show.
    steps.push_back({"", [](const Game& game) {
                       game.Click(kStudioSave.x, kStudioSave.y);
                       std::this_thread::sleep_for(1s);
                       return true;
                     }});
    steps.push_back({std::string(size) + "_gallery", click(kStudioLoad)});
    steps.push_back({"", click(kExit)});
    steps.push_back({"", click(kExit)});
  }
  return steps;
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
