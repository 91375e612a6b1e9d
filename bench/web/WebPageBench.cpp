// The game's web page in headless chromium, served as plain files: the time from asking for
// the page to its first menu frame (a fresh browser, and a reload with everything cached), and
// the CPU that the browser and all its processes use while the menu stands idle, its music
// playing, beside what the same browser takes for a page that does no more than play a tone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "Browser.h"
#include "GameLauncher.h"
#include "MenuPlaces.h"
#include "ProcessCpu.h"
#include "TestSupport.h"

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
    const int64_t used = tafubench::ProcessCpuTicks(pid);
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

// The share of a core every process of the browser used over kIdleTime, the page having been
// clicked on its sky (which starts the menu's music, as the child's first click does).
double IdleCorePercent(tafutest::Browser& browser) {
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
  return 100.0 * static_cast<double>(used) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
}

// Measures the idle page of a site in one iteration; the page must show the sky's blue where
// the menu does.
void MeasureIdle(benchmark::State& state, const std::string& site) {
  tafutest::StaticServer server(site);
  double corePercent = 0;
  for (auto _ : state) {
    tafutest::Browser browser;
    if (!browser.Navigate(server.Url()) || SecondsToMenu(browser, Clock::now()) < 0) {
      state.SkipWithError("the page shows nothing");
      break;
    }
    corePercent = IdleCorePercent(browser);
    state.SetIterationTime(std::chrono::duration<double>(kIdleTime).count());
  }
  state.counters["core_percent"] = corePercent;
}

void BM_WebIdleCpuOnMenu(benchmark::State& state) {
  if (!SiteMissing(state)) MeasureIdle(state, kSite);
}
BENCHMARK(BM_WebIdleCpuOnMenu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// What the browser itself takes for what the game's page asks of it at rest: a WebGL canvas
// drawn once, a tone played through a script processor of 1024 frames on a sound context
// asked for the same period (as the game feeds its sound), a timer every 40 ms, and a listener
// for game pads (which sets the browser polling them). No page of the game's kind can rest for
// less.
constexpr const char* kTonePage = R"(<!DOCTYPE html>
<html><body style="margin:0"><canvas id="canvas" width="800" height="600"></canvas><script>
  var gl = document.getElementById('canvas').getContext('webgl', { alpha: false });
  gl.clearColor(0.3, 0.6, 1, 1);
  gl.clear(gl.COLOR_BUFFER_BIT);
  var sound = new AudioContext({ latencyHint: 1024 / 44100 });
  var tone = sound.createScriptProcessor(1024, 0, 2);
  var phase = 0;
  tone.onaudioprocess = function (event) {
    var left = event.outputBuffer.getChannelData(0), right = event.outputBuffer.getChannelData(1);
    for (var i = 0; i < left.length; i++) { phase += 0.06; left[i] = right[i] = 0.1 * Math.sin(phase); }
  };
  tone.connect(sound.destination);
  document.addEventListener('mousedown', function () { sound.resume(); });
  window.addEventListener('gamepadconnected', function () {});
  setInterval(function () {}, 40);
</script></body></html>
)";

void BM_WebIdleCpuOfATone(benchmark::State& state) {
  const tafutest::TempFolder site;
  std::ofstream(site / "index.html") << kTonePage;
  MeasureIdle(state, site.Path().string());
}
BENCHMARK(BM_WebIdleCpuOfATone)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
