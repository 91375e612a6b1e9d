// The game's web page in headless chromium, served as plain files: the time from asking for
// the page to its first menu frame (a fresh browser, and a reload with everything cached), and
// the CPU that the browser and all its processes use while the menu stands idle, its music
// playing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "Browser.h"
#include "GameLauncher.h"
#include "MenuPlaces.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kSite = TAFU_WEB_SITE;
// A point of open sky in the menu: blue once the menu is drawn.
constexpr int32_t kMenuSkyX = tafutest::kMenuSky.x;
constexpr int32_t kMenuSkyY = tafutest::kMenuSky.y;
constexpr auto kPageTimeout = 120s;
constexpr auto kSettleTime = 2s;
constexpr auto kIdleTime = 10s;

using tafutest::IsBluish;

// Polls the sky until the menu shows; the time from start, or a negative one when it never did.
double SecondsToMenu(tafutest::Browser& browser, Clock::time_point start) {
  while (Clock::now() - start < kPageTimeout && !browser.Broken()) {
    const tafutest::Screenshot sky = browser.CaptureArea(kMenuSkyX, kMenuSkyY, 1, 1);
    if (!sky.pixels.empty() && IsBluish(sky.pixels[0])) return std::chrono::duration<double>(Clock::now() - start).count();
  }
  return -1;
}

// utime + stime of each process, in clock ticks.
std::map<pid_t, int64_t> CpuTicks(const std::vector<pid_t>& processes) {
  std::map<pid_t, int64_t> ticks;
  for (const pid_t pid : processes) {
    const int64_t used = tafutest::ProcessCpuTicks(pid);
    if (used >= 0) ticks[pid] = used;
  }
  return ticks;
}

bool SiteMissing(benchmark::State& state) {
  if (std::filesystem::exists(std::filesystem::path(kSite) / "index.html")) return false;
  state.SkipWithError("no web site in build-web/site (./web.sh --build)");
  return true;
}

// reload 0: a fresh browser asks for the page; reload 1: the page is reloaded from the cache.
void BM_WebStartupToMenu(benchmark::State& state) {
  if (SiteMissing(state)) return;
  const bool reload = state.range(0) != 0;
  tafutest::StaticServer server(kSite);
  for (auto _ : state) {
    tafutest::Browser browser;
    if (reload && (!browser.Navigate(server.Url()) || SecondsToMenu(browser, Clock::now()) < 0)) {
      state.SkipWithError("the page shows no menu");
      break;
    }
    // The page's load event comes before the game's first frame: polling starts on the new page.
    const Clock::time_point start = Clock::now();
    const bool loaded = reload ? browser.Reload() : browser.Navigate(server.Url());
    const double seconds = loaded ? SecondsToMenu(browser, start) : -1;
    if (seconds < 0) {
      state.SkipWithError(("the page shows no menu: " + browser.Failure()).c_str());
      break;
    }
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_WebStartupToMenu)->ArgName("reload")->Arg(0)->Arg(1)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WebIdleCpuOnMenu(benchmark::State& state) {
  if (SiteMissing(state)) return;
  tafutest::StaticServer server(kSite);
  double corePercent = 0;
  for (auto _ : state) {
    tafutest::Browser browser;
    if (!browser.Navigate(server.Url()) || SecondsToMenu(browser, Clock::now()) < 0) {
      state.SkipWithError("the page shows no menu");
      break;
    }
    // A click on the open sky starts the menu's music, as the child's first click does.
    browser.Click(kMenuSkyX, kMenuSkyY);
    std::this_thread::sleep_for(kSettleTime);
    const std::map<pid_t, int64_t> before = CpuTicks(browser.Processes());
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(kIdleTime);
    const std::map<pid_t, int64_t> after = CpuTicks(browser.Processes());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    int64_t used = 0;
    for (const auto& [pid, ticks] : after) {
      const auto earlier = before.find(pid);
      used += ticks - (earlier == before.end() ? 0 : earlier->second);
    }
    corePercent = 100.0 * static_cast<double>(used) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
    state.SetIterationTime(seconds);
  }
  state.counters["core_percent"] = corePercent;
}
BENCHMARK(BM_WebIdleCpuOnMenu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
