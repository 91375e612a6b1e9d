// What one menu-like frame costs the process in CPU time (all its threads, Mesa's software
// renderer included), with no frame limit, in an 800 x 600 window and full screen on the
// whole display, where the frame is scaled to fit between black bars.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "graphic/KGraphic.h"
#include "window/KScreen.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

struct Placed {
  const char* name;
  int32_t x;
  int32_t y;
};

constexpr std::array<Placed, 7> kButtons = {{
    {"swap", 624, 437}, {"slide", 605, 249}, {"draw", 136, 205},
    {"copy_draw", 507, 45}, {"copy_paint", 335, 350},
    {"options", 739, 5}, {"exit", 32, 446},
}};

std::unique_ptr<KGraphic> Load(const std::string& name) {
  std::unique_ptr<KGraphic> picture = CreateGraphic();
  if (!picture->LoadPicture(std::string(TAFU_RUNTIME_DIR) + "/img/" + name, true, true)) return nullptr;
  return picture;
}

// range(0): 0 windowed, 1 full screen.
void BM_MenuFrameOnDisplay(benchmark::State& state) {
  const bool fullScreen = state.range(0) != 0;
  std::unique_ptr<KScreen> screen = CreateScreen(true, false);
  if (!screen || !screen->OpenWindow(kScreenWidth, kScreenHeight, -1, !fullScreen, "TAFU display bench")) {
    state.SkipWithError("no GL window");
    return;
  }
  screen->SetFrameRate(0);
  std::unique_ptr<KGraphic> background = Load("bg/menu.png");
  std::unique_ptr<KGraphic> cursor = Load("ico/cursor.png");
  std::vector<std::unique_ptr<KGraphic>> buttons;
  for (const Placed& button : kButtons) buttons.push_back(Load(std::string("ico/") + button.name + ".png"));
  if (!background || !cursor) {
    state.SkipWithError("the game's pictures are missing (build the game first)");
    return;
  }
  // Let the window reach its final size before timing.
  for (int i = 0; i < 20; ++i) screen->Flip(false, true);
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(screen->GetWindowHandle()), &width, &height);

  int32_t frame = 0;
  for (auto _ : state) {
    screen->ResetView();
    background->Blit(0, 0, kScreenWidth, kScreenHeight, 0, 0, false, false);
    for (size_t i = 0; i < kButtons.size(); ++i) {
      if (!buttons[i]) continue;
      buttons[i]->BlitAlpha(0, 0, buttons[i]->GetWidth(), buttons[i]->GetHeight(), kButtons[i].x, kButtons[i].y,
                            false, false);
    }
    cursor->BlitAlpha(0, 0, cursor->GetWidth(), cursor->GetHeight(), 400 + frame % 40, 300, false, false);
    screen->Flip(false, true);
    ++frame;
  }
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
