// A classroom on one server, as thin clients run one: N games (N = 1, 5, 10), each on an X
// server of its own, as each child's session has. For each N: the whole machine's CPU and the
// seats' own (games and their X servers) while every game rests on the menu, then in the big
// studio, the pointer still; the memory of every game (PSS from /proc/PID/smaps_rollup, so
// shared libraries and Mesa count once among them). Then, with the most seats, how many can
// move a strip of the slide puzzle at once while each still counts 76 frames a second or more
// (the game's own count, put in its title with SHOWFPS = 1).
// Usage: seats_bench [repetitions]. Prints "seats.<N>.<figure> <unit> v1 v2 ..." lines.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "PrivateXServer.h"
#include "ProcessCpu.h"
#include "StudioPlaces.h"
#include "XWindows.h"

namespace {

using namespace std::chrono_literals;
using tafutest::Point;

constexpr int32_t kSeatCounts[] = {1, 5, 10};
constexpr auto kSettle = 3s;
constexpr auto kSample = 10s;
constexpr int32_t kWantedFps = 76;
// The slide puzzle's right arrow of the top strip, held down: the strip keeps moving.
constexpr Point kSlideArrow = {684 + 34, 68 + 30};
constexpr Point kRest = {1, 1};

// Busy and total jiffies of the whole machine, from the first line of /proc/stat.
std::pair<int64_t, int64_t> MachineJiffies() {
  std::ifstream stat("/proc/stat");
  std::string cpu;
  stat >> cpu;
  int64_t total = 0;
  int64_t idle = 0;
  for (int field = 0; field < 8; ++field) {
    int64_t value = 0;
    stat >> value;
    total += value;
    if (field == 3 || field == 4) idle += value;  // idle and iowait
  }
  return {total - idle, total};
}

int64_t PssKilobytes(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  std::string line;
  while (std::getline(rollup, line))
    if (line.starts_with("Pss:")) return std::stoll(line.substr(4));
  return -1;
}

// One child's session: an X server of its own and the game on it.
struct Seat {
  std::unique_ptr<tafutest::PrivateXServer> server;
  std::unique_ptr<tafutest::GameLauncher> game;

  // The launcher and xdotool talk to the display named by DISPLAY.
  void Select() const { setenv("DISPLAY", server->Display().c_str(), 1); }
  bool ClickAndSeeChange(Point at) const {
    Select();
    return game->ActAndSeeScreenChange([&] { return game->Click(at); });
  }
  // The fewest frames the game counted in a second, over the seconds that end within span
  // (the second under way when it starts is not counted).
  int32_t FewestFpsOver(std::chrono::milliseconds span) const {
    Select();
    const std::string first = tafutest::XWindowTitle(game->Window().id);
    std::set<std::string> titles;
    for (const auto until = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < until;) {
      if (const std::string title = tafutest::XWindowTitle(game->Window().id); title != first) titles.insert(title);
      std::this_thread::sleep_for(100ms);
    }
    int32_t fewest = 0;
    for (const std::string& title : titles)
      if (title.ends_with(" FPS")) fewest = fewest == 0 ? std::atoi(title.c_str()) : std::min(fewest, std::atoi(title.c_str()));
    return fewest;
  }
};

std::string SetupWithFpsInTitle() {
  std::ifstream in(std::string(TAFU_RUNTIME_DIR) + "/setup.ini");
  std::stringstream text;
  text << in.rdbuf();
  std::string setup = text.str();
  if (const size_t at = setup.find("SHOWFPS=0"); at != std::string::npos) setup.replace(at, 9, "SHOWFPS=1");
  return setup;
}

std::unique_ptr<Seat> OpenSeat() {
  auto seat = std::make_unique<Seat>();
  seat->server = std::make_unique<tafutest::PrivateXServer>(tafutest::XServerSettings{1024, 768, false});
  if (!seat->server->Failure().empty()) return nullptr;
  seat->Select();
  seat->game = std::make_unique<tafutest::GameLauncher>(std::vector<std::string>{"img", "snd", "game"});
  tafutest::WriteFile(seat->game->File("setup.ini"), SetupWithFpsInTitle());
  if (!seat->game->Start()) return nullptr;
  return seat;
}

// CPU over the sample, as shares of one core: the whole machine's and the seats' own.
std::pair<double, double> CorePercent(const std::vector<std::unique_ptr<Seat>>& seats) {
  for (const auto& seat : seats) {
    seat->Select();
    seat->game->MoveTo(kRest);
  }
  std::this_thread::sleep_for(kSettle);
  const auto seatSeconds = [&] {
    double seconds = 0;
    for (const auto& seat : seats)
      seconds += tafubench::ProcessCpuSeconds(seat->game->Pid()) + tafubench::ProcessCpuSeconds(seat->server->ServerPid());
    return seconds;
  };
  const auto [busyBefore, totalBefore] = MachineJiffies();
  const double seatsBefore = seatSeconds();
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(kSample);
  const auto [busyAfter, totalAfter] = MachineJiffies();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cores = static_cast<double>(sysconf(_SC_NPROCESSORS_ONLN));
  const double machine = 100.0 * cores * static_cast<double>(busyAfter - busyBefore) / static_cast<double>(totalAfter - totalBefore);
  const double own = 100.0 * (seatSeconds() - seatsBefore) / seconds;
  return {machine, own};
}

// Seats one after another start moving a strip, until one counts fewer than 76 frames.
int32_t SeatsAnimatingAtFullRate(const std::vector<std::unique_ptr<Seat>>& seats) {
  for (const auto& seat : seats)
    if (!seat->ClickAndSeeChange(tafutest::kSlide) || !seat->ClickAndSeeChange(tafutest::kEasyButton)) return -1;
  std::this_thread::sleep_for(kSettle);  // the round's fade-in
  int32_t animating = 0;
  for (const auto& seat : seats) {
    seat->Select();
    seat->game->MoveTo(kSlideArrow);
    tafutest::Xdotool("mousedown 1");
    const bool allFull = std::all_of(seats.begin(), seats.begin() + animating + 1,
                                     [](const auto& s) { return s->FewestFpsOver(2500ms) >= kWantedFps; });
    if (!allFull) break;
    ++animating;
  }
  for (const auto& seat : seats) {
    seat->Select();
    tafutest::Xdotool("mouseup 1");
  }
  return animating;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const char* display = std::getenv("DISPLAY");
  const std::string ownDisplay = display ? display : "";
  std::map<std::string, std::vector<double>> figures;
  std::vector<std::pair<std::string, std::string>> order;  // name, unit
  const auto add = [&](const std::string& name, const std::string& unit, double value) {
    if (!figures.contains(name)) order.emplace_back(name, unit);
    figures[name].push_back(value);
    std::fprintf(stderr, "seats_bench: %s %.2f %s\n", name.c_str(), value, unit.c_str());
  };
  for (int run = 0; run < repetitions; ++run) {
    for (const int32_t count : kSeatCounts) {
      std::vector<std::unique_ptr<Seat>> seats;
      for (int32_t i = 0; i < count; ++i) {
        seats.push_back(OpenSeat());
        if (!seats.back()) {
          std::fprintf(stderr, "seats_bench: seat %d did not start\n", i + 1);
          return 1;
        }
      }
      const std::string prefix = "seats." + std::to_string(count) + ".";
      const auto [machineMenu, ownMenu] = CorePercent(seats);
      add(prefix + "machine_menu", "%core", machineMenu);
      add(prefix + "seats_menu", "%core", ownMenu);
      int64_t pss = 0;
      for (const auto& seat : seats) pss += PssKilobytes(seat->game->Pid());
      add(prefix + "pss_games", "MB", static_cast<double>(pss) / 1024.0);
      for (const auto& seat : seats)
        if (!seat->ClickAndSeeChange(tafutest::kPaint) || !seat->ClickAndSeeChange(tafutest::kBig)) return 1;
      const auto [machineStudio, ownStudio] = CorePercent(seats);
      add(prefix + "machine_big_studio", "%core", machineStudio);
      add(prefix + "seats_big_studio", "%core", ownStudio);
      for (const auto& seat : seats)
        if (!seat->ClickAndSeeChange(tafutest::kStudioExit)) return 1;
      if (count == kSeatCounts[std::size(kSeatCounts) - 1])
        add(prefix + "animating_at_76fps", "seats", SeatsAnimatingAtFullRate(seats));
      // Seats close in the reverse order they opened, each giving back the display before it.
      while (!seats.empty()) {
        seats.back()->Select();
        seats.back()->game.reset();
        seats.pop_back();
      }
      setenv("DISPLAY", ownDisplay.c_str(), 1);
    }
  }
  std::printf("# %d seats at most, each game on an X server of its own, %lld s per figure\n",
              kSeatCounts[std::size(kSeatCounts) - 1],
              static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(kSample).count()));
  for (const auto& [name, unit] : order) {
    std::printf("%s %s", name.c_str(), unit.c_str());
    for (double value : figures[name]) std::printf(" %.2f", value);
    std::printf("\n");
  }
  return 0;
}
