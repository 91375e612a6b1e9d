// What one menu-like frame costs the process in CPU time (all its threads, Mesa's software
// renderer included), with no frame limit, in an 800 x 600 window and full screen on the
// whole display, where the frame is scaled to fit between black bars.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <memory>

#include "MenuLikeFrame.h"
#include "window/KScreen.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kSettlingFrames = 20;

// range(0): 0 windowed, 1 full screen.
void BM_MenuFrameOnDisplay(benchmark::State& state) {
  const bool fullScreen = state.range(0) != 0;
  std::unique_ptr<KScreen> screen = CreateScreen(true, false);
  if (!screen || !screen->OpenWindow(kScreenWidth, kScreenHeight, -1, !fullScreen, "TAFU display bench")) {
    state.SkipWithError("no GL window");
    return;
  }
  screen->SetFrameRate(0);
  tafubench::MenuLikeFrame menu;
  if (!menu.Load()) {
    state.SkipWithError("the game's pictures are missing (build the game first)");
    return;
  }
  // Let the window reach its final size before timing.
  for (int i = 0; i < kSettlingFrames; ++i) screen->Flip(false, true);
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(screen->GetWindowHandle()), &width, &height);

  int32_t frame = 0;
  for (auto _ : state) menu.Draw(*screen, frame++);
  state.counters["window_width"] = width;
  state.counters["window_height"] = height;
}
BENCHMARK(BM_MenuFrameOnDisplay)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
