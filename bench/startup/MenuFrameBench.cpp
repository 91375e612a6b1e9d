// What drawing one menu-like frame costs the process in CPU time (all its threads, Mesa's
// software renderer included), with no frame limit: the menu's background, its seven
// buttons and the cursor, from the game's own pictures. bench.sh sets 80 of these against
// the CPU the game uses while its menu idles at 80 frames a second.
#include <benchmark/benchmark.h>

#include <memory>

#include "MenuLikeFrame.h"
#include "graphic/KGraphic.h"
#include "window/KScreen.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

void BM_MenuLikeFrame(benchmark::State& state) {
  std::unique_ptr<KScreen> screen = CreateScreen(true, false);
  if (!screen || !screen->OpenWindow(kScreenWidth, kScreenHeight, -1, true, "TAFU menu frame bench")) {
    state.SkipWithError("no GL window");
    return;
  }
  KGraphicGL::SetScreenSize(kScreenWidth, kScreenHeight, -1);
  screen->SetFrameRate(0);
  screen->SetClearColor(1, 1, 1, 1);

  tafubench::MenuLikeFrame menu;
  if (!menu.Load()) {
    state.SkipWithError("the game's pictures are missing (build the game first)");
    return;
  }

  int32_t frame = 0;
  for (auto _ : state) menu.Draw(*screen, frame++);
}
BENCHMARK(BM_MenuLikeFrame)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
